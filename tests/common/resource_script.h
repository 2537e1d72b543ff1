// Reads the string table of the installer's own resource script, so that tests
// compare against the one source of every text.
#pragma once

#include <map>
#include <string>

// Strings by id (UTF-8), read from a string table script under sourceDir
// (resources/strings.rc, or a translation's resources/lang/*.rc) and resources/resource_ids.h.
std::map<unsigned, std::string> ReadScriptStrings(const std::string& sourceDir,
                                                  const std::string& script = "resources/strings.rc");

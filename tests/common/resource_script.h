// Reads the string table of the installer's own resource script, so that tests
// compare against the one source of every text.
#pragma once

#include <map>
#include <string>

// Strings by id, read from resources/strings.rc and resources/resource_ids.h under sourceDir.
std::map<unsigned, std::string> ReadScriptStrings(const std::string& sourceDir);

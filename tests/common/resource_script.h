// Reads the string table of the installer's own resource script, so that tests
// compare against the one source of every text.
#pragma once

#include <map>
#include <string>

// Strings by id (UTF-8), read from a string table script under sourceDir
// (resources/strings.rc, screensaver/texts.rc) and the header of its ids.
std::map<unsigned, std::string> ReadScriptStrings(const std::string& sourceDir,
                                                  const std::string& script = "resources/strings.rc",
                                                  const std::string& idsHeader = "resources/resource_ids.h");

// A language's translations of those strings by id, from its catalogue
// (po/de.po), whose contexts are the ids' names.
std::map<unsigned, std::string> ReadCatalogueStrings(const std::string& sourceDir, const std::string& catalogue,
                                                     const std::string& idsHeader = "resources/resource_ids.h");

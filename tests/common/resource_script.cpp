#include "tests/common/resource_script.h"

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::map<std::string, unsigned> ReadIds(const std::string& header) {
    std::map<std::string, unsigned> ids;
    const std::regex define(R"(^#define\s+(\w+)\s+(\d+))");
    std::istringstream lines(ReadText(header));
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_search(line, match, define)) ids[match[1]] = static_cast<unsigned>(std::stoul(match[2]));
    }
    return ids;
}

// An id as the scripts write it: a name, or a name plus a number.
unsigned IdNumber(const std::map<std::string, unsigned>& ids, const std::string& expression) {
    std::smatch match;
    const std::regex sum(R"(^(\w+)(?:\s*\+\s*(\d+))?$)");
    if (!std::regex_match(expression, match, sum) || ids.count(match[1]) == 0)
        throw std::runtime_error("string id without a number: " + expression);
    return ids.at(match[1]) + (match[2].matched ? static_cast<unsigned>(std::stoul(match[2])) : 0);
}

std::string Unquoted(const std::string& text, const std::string& doubledQuote) {
    return std::regex_replace(text, std::regex(doubledQuote), "\"");
}

} // namespace

std::map<unsigned, std::string> ReadScriptStrings(const std::string& sourceDir, const std::string& script,
                                                  const std::string& idsHeader) {
    const auto ids = ReadIds(sourceDir + "/" + idsHeader);
    std::map<unsigned, std::string> strings;
    // `NAME "text"` or `NAME + 2 ID_CONTEXT(...) "text"`, a doubled quote standing for one.
    const std::regex entry(R"(^\s*(\w+(?:\s*\+\s*\d+)?)\s*,?\s*(?:ID_CONTEXT\([^)]*\)\s*)?\"((?:[^\"]|\"\")*)\"\s*\r?$)");
    std::istringstream lines(ReadText(sourceDir + "/" + script));
    bool inTable = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("STRINGTABLE", 0) == 0) inTable = true;
        if (line.rfind("END", 0) == 0) inTable = false;
        std::smatch match;
        if (!inTable || !std::regex_match(line, match, entry)) continue;
        strings[IdNumber(ids, match[1])] = Unquoted(match[2], "\"\"");
    }
    return strings;
}

std::map<unsigned, std::string> ReadCatalogueStrings(const std::string& sourceDir, const std::string& catalogue,
                                                     const std::string& idsHeader) {
    const auto ids = ReadIds(sourceDir + "/" + idsHeader);
    std::map<unsigned, std::string> strings;
    const std::regex context(R"(^msgctxt \"([^\"]*)\"\s*$)");
    const std::regex translation(R"(^msgstr \"((?:[^\"\\]|\\.)*)\"\s*$)");
    std::istringstream lines(ReadText(sourceDir + "/" + catalogue));
    std::string name;
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_match(line, match, context)) {
            name = match[1];
        } else if (std::regex_match(line, match, translation) && !name.empty()) {
            // Only the string table's entries: the menus' and dialogs' contexts name no string,
            // and a catalogue holds both programs' strings: only those of this header.
            if (name.rfind("IDS_", 0) == 0 && ids.count(name.substr(0, name.find(' '))) != 0) strings[IdNumber(ids, name)] = Unquoted(match[1], R"(\\\")");
            name.clear();
        }
    }
    return strings;
}

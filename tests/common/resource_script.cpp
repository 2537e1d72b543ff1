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

} // namespace

std::map<unsigned, std::string> ReadScriptStrings(const std::string& sourceDir, const std::string& script) {
    const auto ids = ReadIds(sourceDir + "/resources/resource_ids.h");
    std::map<unsigned, std::string> strings;
    // `NAME "text"`, a doubled quote standing for one.
    const std::regex entry(R"(^\s*(\w+)\s*,?\s*\"((?:[^\"]|\"\")*)\"\s*\r?$)");
    std::istringstream lines(ReadText(sourceDir + "/" + script));
    // Only inside a string table: a translation's script also holds menus and dialogs.
    bool inTable = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("STRINGTABLE", 0) == 0) inTable = true;
        if (line.rfind("END", 0) == 0) inTable = false;
        std::smatch match;
        if (!inTable || !std::regex_match(line, match, entry)) continue;
        auto id = ids.find(match[1]);
        if (id == ids.end()) throw std::runtime_error("string id without a number: " + std::string(match[1]));
        strings[id->second] = std::regex_replace(std::string(match[2]), std::regex("\"\""), "\"");
    }
    return strings;
}

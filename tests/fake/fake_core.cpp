// The fake world's state, its reset, the failure switch and the string table.
#include "tests/fake/fake_platform.h"

#include <cctype>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace fake {

World &world = *new World;

const HGDIOBJ DefaultGuiFont = reinterpret_cast<HGDIOBJ>(uintptr_t{0xF0A1});
const HGDIOBJ SystemFont = reinterpret_cast<HGDIOBJ>(uintptr_t{0xF0A2});
const HINSTANCE Instance = reinterpret_cast<HINSTANCE>(uintptr_t{0x400000});

std::string Key(const std::string &text) {
    std::string key = text;
    for (char &c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

Bytes ReadHostFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

namespace {

std::string ReadText(const std::string &path) {
    Bytes bytes = ReadHostFile(path);
    return std::string(bytes.begin(), bytes.end());
}

// The numeric ids of the resource header, by macro name.
std::map<std::string, UINT> ReadIds(const std::string &header) {
    std::map<std::string, UINT> ids;
    std::regex define(R"(^#define\s+(\w+)\s+(\d+))");
    std::istringstream lines(ReadText(header));
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_search(line, match, define)) ids[match[1]] = static_cast<UINT>(std::stoul(match[2]));
    }
    return ids;
}

// The STRINGTABLE entries of the real script: `NAME "text"`, with "" for a quote.
std::map<UINT, std::string> ReadStrings() {
    const std::string root = QUORVANE_SOURCE_DIR;
    const auto ids = ReadIds(root + "/resources/resource_ids.h");
    std::map<UINT, std::string> strings;
    std::regex entry(R"(^\s*(\w+)\s*,?\s*\"((?:[^\"]|\"\")*)\"\s*$)");
    std::istringstream lines(ReadText(root + "/resources/strings.rc"));
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (!std::regex_match(line, match, entry)) continue;
        auto id = ids.find(match[1]);
        if (id == ids.end()) throw std::runtime_error("string id without a number: " + std::string(match[1]));
        std::string text = std::regex_replace(std::string(match[2]), std::regex("\"\""), "\"");
        strings[id->second] = text;
    }
    return strings;
}

} // namespace

void Reset() {
    static const std::map<UINT, std::string> scriptStrings = ReadStrings();
    ResetKernel();
    ResetLz();
    world = World{};
    world.strings = scriptStrings;
}

bool Fails(const char *operation, const std::string &detail) {
    const int call = ++world.calls[operation];
    world.log.push_back(detail.empty() ? std::string(operation) : std::string(operation) + " " + detail);
    if (world.failing.count(operation) != 0) return true;
    auto nth = world.failOnCall.find(operation);
    return nth != world.failOnCall.end() && nth->second.count(call) != 0;
}

} // namespace fake

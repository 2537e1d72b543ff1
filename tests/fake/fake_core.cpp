// The fake world's state, its reset, the failure switch and the string table.
#include "tests/fake/fake_platform.h"

#include "tests/common/resource_script.h"

#include <cctype>
#include <fstream>
#include <stdexcept>

namespace fake {

World& world = *new World;

const HGDIOBJ DefaultGuiFont = reinterpret_cast<HGDIOBJ>(uintptr_t{0xF0A1});
const HGDIOBJ SystemFont = reinterpret_cast<HGDIOBJ>(uintptr_t{0xF0A2});
const HINSTANCE Instance = reinterpret_cast<HINSTANCE>(uintptr_t{0x400000});

std::string Key(const std::string& text) {
    std::string key = text;
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

Bytes ReadHostFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Reset() {
    static const std::map<unsigned, std::string> scriptStrings = ReadScriptStrings(QUORVANE_SOURCE_DIR);
    ResetKernel();
    ResetLz();
    world = World{};
    world.strings = scriptStrings;
}

bool Fails(const char* operation, const std::string& detail) {
    const int call = ++world.calls[operation];
    world.log.push_back(detail.empty() ? std::string(operation) : std::string(operation) + " " + detail);
    if (world.failing.count(operation) != 0) return true;
    auto nth = world.failOnCall.find(operation);
    return nth != world.failOnCall.end() && nth->second.count(call) != 0;
}

int ScriptedAnswer(UINT type) {
    if (!world.answers.empty()) {
        const int answer = world.answers.front();
        world.answers.pop_front();
        return answer;
    }
    return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
}

} // namespace fake

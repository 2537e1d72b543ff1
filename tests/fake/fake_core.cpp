// The fake world, its reset, its handle table and the failure switch.
#include "tests/fake/fake_platform.h"

#include "tests/common/resource_script.h"

#include <cctype>
#include <fstream>
#include <stdexcept>

namespace fake {

World& world = *new World;

const HGDIOBJ DefaultGuiFont = AsHandle<HGDIOBJ>(StockHandle(Stock::DefaultGuiFont));
const HGDIOBJ SystemFont = AsHandle<HGDIOBJ>(StockHandle(Stock::SystemFont));
const HINSTANCE Instance = AsHandle<HINSTANCE>(StockHandle(Stock::Instance));

uintptr_t HandleTable::Issue(Kind kind) {
    const uintptr_t handle = next_;
    next_ += HandleStep;
    kinds_[handle] = kind;
    return handle;
}

bool HandleTable::Holds(uintptr_t handle, Kind kind) const {
    auto found = kinds_.find(handle);
    return found != kinds_.end() && found->second == kind;
}

std::string Key(const std::string& text) {
    std::string key = text;
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

// In one read: the payloads are megabytes, and every test process loads them.
Bytes ReadHostFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) throw std::runtime_error("cannot read " + path);
    Bytes bytes(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        throw std::runtime_error("cannot read " + path);
    return bytes;
}

void Reset() {
    static const std::map<unsigned, std::string> scriptStrings = ReadScriptStrings(QUORVANE_SOURCE_DIR);
    world = World{};
    world.state.strings = scriptStrings;
}

bool Fails(const char* operation, const std::string& detail) {
    const int call = ++world.record.calls[operation];
    world.record.log.push_back(detail.empty() ? std::string(operation) : std::string(operation) + " " + detail);
    if (world.knobs.failing.count(operation) != 0) return true;
    auto nth = world.knobs.failOnCall.find(operation);
    return nth != world.knobs.failOnCall.end() && nth->second.count(call) != 0;
}

int ScriptedAnswer(UINT type) {
    if (!world.knobs.answers.empty()) {
        const int answer = world.knobs.answers.front();
        world.knobs.answers.pop_front();
        return answer;
    }
    return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
}

} // namespace fake

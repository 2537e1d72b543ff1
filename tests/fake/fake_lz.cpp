// LZ expansion: LZOpenFileA, LZCopy and LZClose over the fake file system,
// expanding SZDD data for real with libmspack.
#include "tests/fake/fake_platform.h"

#include <mspack.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

using namespace fake;

namespace fake {

bool ExpandSzdd(const Bytes& compressed, Bytes& expanded) {
    char inputName[] = "/tmp/quorvane-szdd-XXXXXX";
    char outputName[] = "/tmp/quorvane-plain-XXXXXX";
    const int input = mkstemp(inputName);
    const int output = mkstemp(outputName);
    if (input < 0 || output < 0) return false;
    const bool written = write(input, compressed.data(), compressed.size()) == ssize_t(compressed.size());
    close(input);
    close(output);

    bool expandedOk = false;
    msszdd_decompressor* decompressor = mspack_create_szdd_decompressor(nullptr);
    if (written && decompressor != nullptr) {
        msszddd_header* header = decompressor->open(decompressor, inputName);
        if (header != nullptr) {
            expandedOk = decompressor->extract(decompressor, header, outputName) == MSPACK_ERR_OK;
            decompressor->close(decompressor, header);
        }
        mspack_destroy_szdd_decompressor(decompressor);
    }
    if (expandedOk) expanded = ReadHostFile(outputName);
    unlink(inputName);
    unlink(outputName);
    return expandedOk;
}

} // namespace fake

namespace {

LzFile* Open(INT handle) {
    auto found = world.state.lzFiles.find(static_cast<uintptr_t>(handle));
    return handle >= 0 && found != world.state.lzFiles.end() && found->second.open ? &found->second : nullptr;
}

} // namespace

namespace platform {

INT LZOpenFileA(LPSTR fileName, LPOFSTRUCT openInfo, WORD style) {
    if (Fails("LZOpenFileA", Key(fileName) + (style == OF_CREATE ? " create" : " read"))) return LZERROR_BADINHANDLE;
    openInfo->cBytes = sizeof *openInfo;
    if (style == OF_READ) {
        if (!FileExists(fileName)) return LZERROR_BADINHANDLE;
    } else if (style == OF_CREATE) {
        auto existing = world.state.files.find(Key(fileName));
        if (existing != world.state.files.end() && (existing->second.directory || !existing->second.deletable))
            return LZERROR_BADOUTHANDLE;
        AddFile(fileName, {});
    } else {
        return LZERROR_BADVALUE;
    }
    const uintptr_t handle = world.state.handles.Issue(Kind::LzFile);
    world.state.lzFiles[handle] = {Key(fileName), style == OF_CREATE, true};
    return static_cast<INT>(handle);
}

LONG LZCopy(INT source, INT destination) {
    const bool failing = Fails("LZCopy");
    const LzFile* from = Open(source);
    const LzFile* to = Open(destination);
    if (from == nullptr || from->forWriting) return LZERROR_BADINHANDLE;
    if (to == nullptr || !to->forWriting) return LZERROR_BADOUTHANDLE;
    if (failing) return LZERROR_WRITE;

    const Bytes& input = world.state.files[from->path].bytes;
    static const uint8_t magic[8] = {0x53, 0x5A, 0x44, 0x44, 0x88, 0xF0, 0x27, 0x33};
    Bytes output;
    if (input.size() >= 14 && std::equal(magic, magic + 8, input.begin())) {
        if (!ExpandSzdd(input, output)) return LZERROR_READ;
    } else {
        output = input; // an uncompressed file is copied as it is
    }
    Bytes& target = world.state.files[to->path].bytes;
    if (world.knobs.partialExpansion >= 0) {
        target.assign(output.begin(), output.begin() + std::min<size_t>(output.size(), world.knobs.partialExpansion));
        return LZERROR_WRITE;
    }
    if (world.knobs.damageExpansion) world.knobs.damageExpansion(output);
    target = output;
    return static_cast<LONG>(output.size());
}

void LZClose(INT handle) {
    Fails("LZClose", std::to_string(handle));
    if (LzFile* open = Open(handle)) open->open = false;
}

} // namespace platform

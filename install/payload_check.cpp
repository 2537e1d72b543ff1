#include "install/payload_check.h"

#include "app/app_state.h"
#include "install/crc32.h"
#include "install/payload.h"

#include <cstdint>

const char PayloadCheckName[] = "programCRC";

namespace {

struct ProgramRecord {
    uint32_t crc;
    uint32_t length;
};

uint32_t LittleEndian32(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

// The record is a gzip trailer: CRC-32, then the length, each little-endian.
bool LoadProgramRecord(ProgramRecord& record) {
    const HRSRC found = platform::FindResourceA(app.instance, PayloadCheckName, PayloadType);
    if (found == nullptr || platform::SizeofResource(app.instance, found) != 8) return false;
    const HGLOBAL loaded = platform::LoadResource(app.instance, found);
    const auto* bytes = static_cast<const uint8_t*>(loaded != nullptr ? platform::LockResource(loaded) : nullptr);
    if (bytes == nullptr) return false;
    record.crc = LittleEndian32(bytes);
    record.length = LittleEndian32(bytes + 4);
    return true;
}

} // namespace

BOOL ExpandedFileMatchesPayload(const char* path) {
    ProgramRecord recorded;
    if (!LoadProgramRecord(recorded)) return FALSE;
    const HANDLE file = platform::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    uint8_t buffer[32768];
    uint32_t crc = Crc32Start;
    uint64_t length = 0;
    bool readable = true;
    // Stops as soon as the file is longer than the program: it differs whatever follows.
    while (length <= recorded.length) {
        DWORD got = 0;
        if (!platform::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            readable = false;
            break;
        }
        if (got == 0) break;
        crc = Crc32Update(crc, buffer, got);
        length += got;
    }
    platform::CloseHandle(file);
    return readable && length == recorded.length && crc == recorded.crc;
}

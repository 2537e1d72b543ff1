#include "install/payload_check.h"

#include "app/app_state.h"
#include "install/crc32.h"
#include "install/payload.h"

#include <cstdint>

const char PayloadCheckName[] = "programCRC";

namespace {

struct Fingerprint {
    uint32_t crc;
    uint32_t length;
};

struct PayloadRecord {
    Fingerprint program;    // what the payload expands to
    Fingerprint compressed; // the payload itself
};

uint32_t LittleEndian32(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

// Two gzip trailers, the program's then the payload's: CRC-32, then the
// length, each little-endian.
bool LoadPayloadRecord(PayloadRecord& record) {
    const HRSRC found = platform::FindResourceA(app.instance, PayloadCheckName, PayloadType);
    if (found == nullptr || platform::SizeofResource(app.instance, found) != 16) return false;
    const HGLOBAL loaded = platform::LoadResource(app.instance, found);
    const auto* bytes = static_cast<const uint8_t*>(loaded != nullptr ? platform::LockResource(loaded) : nullptr);
    if (bytes == nullptr) return false;
    record.program = {LittleEndian32(bytes), LittleEndian32(bytes + 4)};
    record.compressed = {LittleEndian32(bytes + 8), LittleEndian32(bytes + 12)};
    return true;
}

} // namespace

BOOL PayloadMatchesRecord(const void* payload, DWORD size) {
    PayloadRecord recorded;
    if (!LoadPayloadRecord(recorded)) return FALSE;
    return size == recorded.compressed.length && Crc32Update(Crc32Start, payload, size) == recorded.compressed.crc;
}

BOOL ExpandedFileMatchesPayload(const char* path) {
    PayloadRecord recorded;
    if (!LoadPayloadRecord(recorded)) return FALSE;
    const HANDLE file = platform::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    uint8_t buffer[32768];
    uint32_t crc = Crc32Start;
    uint64_t length = 0;
    bool readable = true;
    // Stops as soon as the file is longer than the program: it differs whatever follows.
    while (length <= recorded.program.length) {
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
    return readable && length == recorded.program.length && crc == recorded.program.crc;
}

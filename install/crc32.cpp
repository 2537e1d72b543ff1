#include "install/crc32.h"

namespace {

struct Crc32Table {
    uint32_t entries[256];
    constexpr Crc32Table() : entries() {
        for (uint32_t byte = 0; byte < 256; ++byte) {
            uint32_t value = byte;
            for (int bit = 0; bit < 8; ++bit) value = (value & 1) != 0 ? 0xEDB88320u ^ (value >> 1) : value >> 1;
            entries[byte] = value;
        }
    }
};

constexpr Crc32Table table;

} // namespace

uint32_t Crc32Update(uint32_t crc, const void* data, size_t size) {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table.entries[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

// CRC-32 as zip, gzip and PNG compute it (reflected polynomial 0xEDB88320).
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t Crc32Start = 0;

// The CRC of everything seen so far followed by size bytes at data; start from Crc32Start.
uint32_t Crc32Update(uint32_t crc, const void* data, size_t size);

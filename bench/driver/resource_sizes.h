// What an installer exe carries, read from its resources as data: the payload
// and the banner are subtracted from its size to give its own overhead.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// The bytes of the installer's payload (program, DATA) and of its banner
// (installBMP, RT_BITMAP); empty when the exe has none.
std::vector<uint8_t> ReadPayload(const std::string& exePath);
std::vector<uint8_t> ReadBanner(const std::string& exePath);

} // namespace bench

// What a built program carries, read from its resources with the program
// loaded as a data file, as the driver cannot ask the running program.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace driver {

// The bytes of one resource; empty when the program or the resource is not there.
std::vector<uint8_t> ReadResource(const std::string& exePath, const char* name, LPCSTR type);
// The installer's compressed screen saver and its banner bitmap (no file header).
std::vector<uint8_t> ReadPayload(const std::string& exePath);
std::vector<uint8_t> ReadBanner(const std::string& exePath);
// The bytes of every icon image the program carries, at every size.
uint32_t IconImageBytes(const std::string& exePath);

} // namespace driver

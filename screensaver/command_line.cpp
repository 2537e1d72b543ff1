#include "screensaver/command_line.h"

#include <cstdint>

#include "screensaver/text_scan.h"

namespace {

char LowerCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// A window handle in decimal, or null when there is none, it is not a whole
// number, or it does not fit the 32 bits a handle carries on the command line.
HWND ParseWindowHandle(const char* text) {
    text = SkipSpaces(text);
    if (*text == ':') text = SkipSpaces(text + 1);
    std::uint32_t value = 0;
    const char* digits = text;
    while (*text >= '0' && *text <= '9') {
        const std::uint32_t digit = static_cast<std::uint32_t>(*text - '0');
        if (value > (0xFFFFFFFFu - digit) / 10u) return nullptr;
        value = value * 10u + digit;
        ++text;
    }
    if (text == digits || !(*text == '\0' || IsSpace(*text))) return nullptr;
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
}

} // namespace

LaunchRequest ParseCommandLine(const char* commandLine) {
    const LaunchRequest configure = {LaunchMode::Configure, nullptr};
    if (commandLine == nullptr) return configure;
    const char* text = SkipSpaces(commandLine);
    if (*text != '/' && *text != '-') return configure;
    const char option = LowerCase(text[1]);
    const char* rest = text + 2;
    // "/save" is not "/s": the letter must stand alone.
    if (option == '\0' || !(*rest == '\0' || *rest == ':' || IsSpace(*rest) || (*rest >= '0' && *rest <= '9')))
        return configure;

    switch (option) {
    case 's': return {LaunchMode::FullScreen, nullptr};
    case 'a': return {LaunchMode::ChangePassword, nullptr};
    case 'c': return {LaunchMode::Configure, ParseWindowHandle(rest)};
    case 'p': {
        const HWND parent = ParseWindowHandle(rest);
        return {parent != nullptr ? LaunchMode::Preview : LaunchMode::Nothing, parent};
    }
    default: return configure;
    }
}

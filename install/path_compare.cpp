#include "install/path_compare.h"

#include <cstddef>

namespace {

unsigned char FoldAsciiLetter(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

} // namespace

bool SamePath(const char* first, const char* second) {
    bool afterNonAscii = false;
    for (size_t at = 0;; ++at) {
        const auto a = static_cast<unsigned char>(first[at]);
        const auto b = static_cast<unsigned char>(second[at]);
        if (afterNonAscii ? a != b : FoldAsciiLetter(a) != FoldAsciiLetter(b)) return false;
        if (a == '\0') return true;
        afterNonAscii = a >= 0x80;
    }
}

#include "text/text_language.h"

#include <cstring>

namespace {

struct Translation {
    WORD primaryLanguage;
    WORD subLanguage; // SUBLANG_NEUTRAL: every variant of the language
    LANGID resources;
    UINT codePage;
};

// One translation per language, the first row that serves the user's language
// wins: Portugal has its own Portuguese, and Brazilian serves every other
// Portuguese reader; each Chinese serves only the regions that write it.
const Translation translations[] = {
    {LANG_GERMAN, SUBLANG_NEUTRAL, MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL), 1252},
    {LANG_FRENCH, SUBLANG_NEUTRAL, MAKELANGID(LANG_FRENCH, SUBLANG_NEUTRAL), 1252},
    {LANG_SPANISH, SUBLANG_NEUTRAL, MAKELANGID(LANG_SPANISH, SUBLANG_NEUTRAL), 1252},
    {LANG_ITALIAN, SUBLANG_NEUTRAL, MAKELANGID(LANG_ITALIAN, SUBLANG_NEUTRAL), 1252},
    {LANG_PORTUGUESE, SUBLANG_PORTUGUESE, MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE), 1252},
    {LANG_PORTUGUESE, SUBLANG_NEUTRAL, MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN), 1252},
    {LANG_DUTCH, SUBLANG_NEUTRAL, MAKELANGID(LANG_DUTCH, SUBLANG_NEUTRAL), 1252},
    {LANG_POLISH, SUBLANG_NEUTRAL, MAKELANGID(LANG_POLISH, SUBLANG_NEUTRAL), 1250},
    {LANG_RUSSIAN, SUBLANG_NEUTRAL, MAKELANGID(LANG_RUSSIAN, SUBLANG_NEUTRAL), 1251},
    {LANG_JAPANESE, SUBLANG_NEUTRAL, MAKELANGID(LANG_JAPANESE, SUBLANG_NEUTRAL), 932},
    {LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED, MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), 936},
    {LANG_CHINESE, SUBLANG_CHINESE_SINGAPORE, MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), 936},
    {LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL, MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), 950},
    {LANG_CHINESE, SUBLANG_CHINESE_HONGKONG, MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), 950},
    {LANG_CHINESE, SUBLANG_CHINESE_MACAU, MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), 950},
    {LANG_KOREAN, SUBLANG_NEUTRAL, MAKELANGID(LANG_KOREAN, SUBLANG_NEUTRAL), 949},
    {LANG_TURKISH, SUBLANG_NEUTRAL, MAKELANGID(LANG_TURKISH, SUBLANG_NEUTRAL), 1254},
    {LANG_CZECH, SUBLANG_NEUTRAL, MAKELANGID(LANG_CZECH, SUBLANG_NEUTRAL), 1250},
    {LANG_UKRAINIAN, SUBLANG_NEUTRAL, MAKELANGID(LANG_UKRAINIAN, SUBLANG_NEUTRAL), 1251},
};

bool Serves(const Translation& translation, LANGID language) {
    return PRIMARYLANGID(language) == translation.primaryLanguage &&
           (translation.subLanguage == SUBLANG_NEUTRAL || SUBLANGID(language) == translation.subLanguage);
}

} // namespace

LANGID ChooseTextLanguage(LANGID userInterfaceLanguage, UINT ansiCodePage) {
    for (const Translation& translation : translations)
        if (Serves(translation, userInterfaceLanguage))
            // Otherwise the ANSI calls would show question marks.
            return ansiCodePage == translation.codePage || ansiCodePage == CP_UTF8 ? translation.resources
                                                                                   : LANG_NEUTRAL;
    return LANG_NEUTRAL;
}

bool IsTranslated(LANGID userInterfaceLanguage) {
    return ChooseTextLanguage(userInterfaceLanguage, CP_UTF8) != LANG_NEUTRAL;
}

UINT CodePageOfTranslation(LANGID resourceLanguage) {
    for (const Translation& translation : translations)
        if (translation.resources == resourceLanguage) return translation.codePage;
    return 0;
}

bool FindInStringBlock(const void* block, size_t blockBytes, UINT id, const WCHAR** text, int* length) {
    const auto* bytes = static_cast<const unsigned char*>(block);
    size_t offset = 0;
    for (UINT index = 0;; ++index) {
        WORD count;
        if (block == nullptr || blockBytes - offset < sizeof count) return false;
        std::memcpy(&count, bytes + offset, sizeof count);
        offset += sizeof count;
        if ((blockBytes - offset) / sizeof(WCHAR) < count) return false;
        if (index == id % 16) {
            *text = reinterpret_cast<const WCHAR*>(bytes + offset);
            *length = count;
            return true;
        }
        offset += count * sizeof(WCHAR);
    }
}

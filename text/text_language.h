// Which translation both programs show, and reading one text out of a string
// table block. No Windows calls: the programs ask Windows for the inputs.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// The language whose resources to show for this user interface language on a
// system with this ANSI code page; LANG_NEUTRAL (0) for the language-neutral
// (English) ones. The programs use the ANSI interfaces, so a translation shows
// only where its text has a place in the ANSI code page: the one it was written
// for, or UTF-8, which has a place for every text.
LANGID ChooseTextLanguage(LANGID userInterfaceLanguage, UINT ansiCodePage);

// Whether there is a translation for this user interface language, whatever the code page.
bool IsTranslated(LANGID userInterfaceLanguage);

// The ANSI code page a translation's texts are written for; 0 for none.
UINT CodePageOfTranslation(LANGID resourceLanguage);

// Text id's place in its string table block (resource number id / 16 + 1):
// sixteen texts, each a length and that many UTF-16 units. False when the
// block ends before it.
bool FindInStringBlock(const void* block, size_t blockBytes, UINT id, const WCHAR** text, int* length);

// Text in the ANSI code page into buffer, ended by a zero: as many of its
// characters as fit, fewer rather than a double-byte character split. convert
// is WideCharToMultiByte as the caller reaches Windows. The bytes written; a
// buffer of 1 byte gets only the zero, one of 0 bytes nothing.
template <typename Convert>
int ConvertFittingText(const WCHAR* text, int length, LPSTR buffer, int bufferSize, Convert convert) {
    // Asked for 0 bytes, WideCharToMultiByte writes nothing and answers the size it would need.
    if (bufferSize < 2) {
        if (bufferSize == 1) buffer[0] = '\0';
        return 0;
    }
    int written = 0;
    for (int count = length; count > 0 && written == 0; --count)
        written = convert(CP_ACP, 0, text, count, buffer, bufferSize - 1, nullptr, nullptr);
    buffer[written] = '\0';
    return written;
}

// Text id out of a translation's string table block (null when there is none),
// or, when the block lacks it or it is empty, what loadUntranslated gives: the
// language-neutral text, loaded as the caller reaches Windows.
template <typename Convert, typename LoadUntranslated>
int TranslatedOrUntranslatedText(const void* block, size_t blockBytes, UINT id, LPSTR buffer, int bufferSize,
                                 Convert convert, LoadUntranslated loadUntranslated) {
    const WCHAR* text = nullptr;
    int length = 0;
    if (bufferSize <= 0 || !FindInStringBlock(block, blockBytes, id, &text, &length) || length == 0)
        return loadUntranslated();
    return ConvertFittingText(text, length, buffer, bufferSize, convert);
}

#include "screensaver/translated_resources.h"

#include "text/text_language.h"

namespace {

LANGID SelectTextLanguage() {
    const LANGID userInterface = GetUserDefaultUILanguage();
    const LANGID language = ChooseTextLanguage(userInterface, GetACP());
    // Windows may itself prefer the user's language to the language-neutral
    // resources, and the code page cannot show it: ask for English by name.
    if (language == LANG_NEUTRAL && IsTranslated(userInterface))
        SetThreadUILanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    return language;
}

const void* LockTranslated(HINSTANCE instance, LPCSTR name, LPCSTR type, DWORD* size) {
    static const LANGID language = SelectTextLanguage();
    if (language == LANG_NEUTRAL) return nullptr;
    const HRSRC found = FindResourceExA(instance, type, name, language);
    const HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data != nullptr && size != nullptr) *size = SizeofResource(instance, found);
    return data;
}

} // namespace

int LoadTranslatedString(HINSTANCE instance, UINT id, LPSTR buffer, int bufferSize) {
    DWORD blockBytes = 0;
    const void* block = LockTranslated(instance, MAKEINTRESOURCEA(id / 16 + 1), RT_STRING, &blockBytes);
    return TranslatedOrUntranslatedText(block, blockBytes, id, buffer, bufferSize, WideCharToMultiByte,
                                        [&] { return LoadStringA(instance, id, buffer, bufferSize); });
}

LPCDLGTEMPLATEA FindTranslatedDialog(HINSTANCE instance, LPCSTR name) {
    return static_cast<LPCDLGTEMPLATEA>(LockTranslated(instance, name, RT_DIALOG, nullptr));
}

#include "app/translated_resources.h"

#include "app/app_state.h"
#include "text/text_language.h"

namespace {

const void* LockTranslated(HINSTANCE instance, LPCSTR name, LPCSTR type, DWORD* size) {
    if (app.textLanguage == LANG_NEUTRAL) return nullptr;
    const HRSRC found = platform::FindResourceExA(instance, type, name, app.textLanguage);
    const HGLOBAL loaded = found != nullptr ? platform::LoadResource(instance, found) : nullptr;
    const void* data = loaded != nullptr ? platform::LockResource(loaded) : nullptr;
    if (data != nullptr && size != nullptr) *size = platform::SizeofResource(instance, found);
    return data;
}

} // namespace

void SelectTextLanguage() {
    const LANGID userInterface = platform::GetUserDefaultUILanguage();
    app.textLanguage = ChooseTextLanguage(userInterface, platform::GetACP());
    // Windows may itself prefer the user's language to the language-neutral
    // resources, and the code page cannot show it: ask for English by name.
    if (app.textLanguage == LANG_NEUTRAL && IsTranslated(userInterface))
        platform::SetThreadUILanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
}

int LoadTranslatedString(HINSTANCE instance, UINT id, LPSTR buffer, int bufferSize) {
    DWORD blockBytes = 0;
    const void* block = LockTranslated(instance, MAKEINTRESOURCEA(id / 16 + 1), RT_STRING, &blockBytes);
    return TranslatedOrUntranslatedText(block, blockBytes, id, buffer, bufferSize, platform::WideCharToMultiByte,
                                        [&] { return platform::LoadStringA(instance, id, buffer, bufferSize); });
}

HMENU LoadTranslatedMenu(HINSTANCE instance, LPCSTR name) {
    const void* menuTemplate = LockTranslated(instance, name, RT_MENU, nullptr);
    return menuTemplate != nullptr ? platform::LoadMenuIndirectA(menuTemplate) : nullptr;
}

LPCDLGTEMPLATEA FindTranslatedDialog(HINSTANCE instance, LPCSTR name) {
    return static_cast<LPCDLGTEMPLATEA>(LockTranslated(instance, name, RT_DIALOG, nullptr));
}

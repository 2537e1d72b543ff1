#include "app/messages.h"

#include "app/translated_resources.h"

int ShowMessage(HINSTANCE instance, UINT textId, UINT captionId, UINT type) {
    char text[MessageTextSize] = "";
    char caption[MessageCaptionSize] = "";
    LoadTranslatedString(instance, textId, text, MessageTextSize);
    LoadTranslatedString(instance, captionId, caption, MessageCaptionSize);
    // No owner: the main window stays usable while a box is open.
    return platform::MessageBoxA(nullptr, text, caption, type);
}

void ShowFailure(HINSTANCE instance, const Failure& failure) {
    if (failure.textId != 0) ShowMessage(instance, failure.textId, failure.captionId, MB_OK | MB_ICONEXCLAMATION);
}

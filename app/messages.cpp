#include "app/messages.h"

int ShowMessage(HINSTANCE instance, UINT textId, UINT captionId, UINT type) {
    char text[MessageTextSize] = "";
    char caption[MessageCaptionSize] = "";
    platform::LoadStringA(instance, textId, text, MessageTextSize);
    platform::LoadStringA(instance, captionId, caption, MessageCaptionSize);
    // No owner: the main window stays usable while a box is open.
    return platform::MessageBoxA(nullptr, text, caption, type);
}

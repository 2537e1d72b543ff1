// The one way the installer reports to the user: a message box of two string ids.
#pragma once

#include "platform/platform.h"

constexpr int MessageTextSize = 600;
constexpr int MessageCaptionSize = 200;

// Shows string textId under string captionId with no owner window and returns
// the button the user pressed.
int ShowMessage(HINSTANCE instance, UINT textId, UINT captionId, UINT type);

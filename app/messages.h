// The one way the installer reports to the user: a message box of two string ids.
#pragma once

#include "platform/platform.h"

constexpr int MessageTextSize = 600;
constexpr int MessageCaptionSize = 200;

// Shows string textId under string captionId with no owner window and returns
// the button the user pressed.
int ShowMessage(HINSTANCE instance, UINT textId, UINT captionId, UINT type);

// A failure as the user will be told it, kept until whatever it left half done
// has been undone; a textId of 0 is no failure.
struct Failure {
    UINT textId;
    UINT captionId;
};
constexpr Failure NoFailure = {0, 0};
// Shows a failure with the exclamation icon; nothing for NoFailure.
void ShowFailure(HINSTANCE instance, const Failure& failure);

#include "screensaver/settings_dialog.h"

#include "screensaver/prefs_file.h"
#include "screensaver/screensaver_ids.h"
#include "screensaver/translated_resources.h"

namespace {

// One drop-down list per numeric setting; item i is the value minimum + i.
struct Choice {
    int control;
    SettingId setting;
    UINT firstString;
};

const Choice choices[] = {
    {IDC_SPEED, SettingSpeed, IDS_SPEED_FIRST},
    {IDC_STARS, SettingStars, IDS_STARS_FIRST},
    {IDC_MONITORS, SettingMonitors, IDS_MONITORS_FIRST},
};

HINSTANCE dialogInstance;
HICON iconForDpi; // the icon this dialog loaded for its monitor's DPI, if any

// Per-monitor aware, the dialog is laid out for the DPI of its monitor and
// again when it moves to another, but its icon control keeps the image first
// loaded, at the system's DPI: load the icon's own image for the dialog's DPI.
void ShowIconForDpi(HWND dialog, UINT dpi) {
    if (dpi == 0) return;
    const int size = MulDiv(32, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    HICON icon = static_cast<HICON>(LoadImageA(dialogInstance, MAKEINTRESOURCEA(IDI_SAVER), IMAGE_ICON, size, size,
                                               LR_DEFAULTCOLOR));
    if (icon == nullptr) return;
    SendDlgItemMessageA(dialog, IDC_SAVER_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    if (iconForDpi != nullptr) DestroyIcon(iconForDpi);
    iconForDpi = icon;
}

// 0 before Windows 10 1607, which has no GetDpiForWindow and rescales no
// dialog per monitor either: the icon then stays as the dialog loads it.
UINT DpiOfWindow(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    return getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
}

void FillChoice(HWND dialog, const Choice& choice, int value) {
    const SettingSpec& spec = settingSpecs[choice.setting];
    const HWND list = GetDlgItem(dialog, choice.control);
    for (int option = spec.minimum; option <= spec.maximum; ++option) {
        char text[ChoiceTextSize];
        if (LoadTranslatedString(dialogInstance, choice.firstString + (option - spec.minimum), text, sizeof text) <= 0)
            wsprintfA(text, "%d", option);
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(ClampSetting(choice.setting, value) - spec.minimum), 0);
}

int ReadChoice(HWND dialog, const Choice& choice) {
    const LRESULT index = SendDlgItemMessageA(dialog, choice.control, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return settingSpecs[choice.setting].fallback;
    return ClampSetting(choice.setting, settingSpecs[choice.setting].minimum + static_cast<int>(index));
}

void ShowSettings(HWND dialog) {
    const SaverSettings settings = LoadSettings();
    for (const Choice& choice : choices) FillChoice(dialog, choice, settings.values[choice.setting]);
    CheckDlgButton(dialog, IDC_NORTHERN_LIGHTS, settings.values[SettingAurora] ? BST_CHECKED : BST_UNCHECKED);
}

void StoreSettings(HWND dialog) {
    SaverSettings settings = DefaultSettings();
    for (const Choice& choice : choices) settings.values[choice.setting] = ReadChoice(dialog, choice);
    settings.values[SettingAurora] = IsDlgButtonChecked(dialog, IDC_NORTHERN_LIGHTS) == BST_CHECKED ? 1 : 0;
    // A failed write leaves the old settings in use; there is nothing better to offer.
    SaveSettings(settings);
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wordParam, LPARAM /*longParam*/) {
    switch (message) {
    case WM_INITDIALOG:
        ShowIconForDpi(dialog, DpiOfWindow(dialog));
        ShowSettings(dialog);
        return TRUE;
    case WM_DPICHANGED:
        ShowIconForDpi(dialog, LOWORD(wordParam));
        return FALSE; // the dialog manager still rescales the dialog
    case WM_DESTROY:
        if (iconForDpi != nullptr) DestroyIcon(iconForDpi);
        iconForDpi = nullptr;
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wordParam)) {
        case IDOK:
            StoreSettings(dialog);
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

int RunSettingsDialog(HINSTANCE instance, HWND owner) {
    dialogInstance = instance;
    if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
    const LPCDLGTEMPLATEA translated = FindTranslatedDialog(instance, MAKEINTRESOURCEA(DLG_SETTINGS));
    const INT_PTR result =
        translated != nullptr ? DialogBoxIndirectParamA(instance, translated, owner, SettingsDialogProc, 0)
                              : DialogBoxParamA(instance, MAKEINTRESOURCEA(DLG_SETTINGS), owner, SettingsDialogProc, 0);
    return result == -1 ? 1 : 0;
}

// The real programs in other languages: what the user sees under a German,
// Russian or Japanese locale, English where the ANSI code page cannot show the
// user's language, and every translation complete and fitting its place.
#include "text/text_language.h"
#include "tests/common/resource_script.h"
#include "tests/wine/driver.h"

#include "app/app_state.h"
#include "app/messages.h"
#include "resource_ids.h"
#include "screensaver/screensaver_ids.h"
#include "screensaver/settings_dialog.h"
#include "ui/layout.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace driver;

namespace {

std::string Utf8(const std::wstring& text) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string converted(size_t(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), &converted[0], bytes, nullptr, nullptr);
    return converted;
}

// What the window shows, as Unicode: a question mark for a letter the code page
// lacked would show here.
std::string ShownText(HWND window) {
    wchar_t text[2048] = L"";
    GetWindowTextW(window, text, 2048);
    return Utf8(text);
}

std::string SourceDir() {
    std::string sourceDir = SourceFile("");
    sourceDir.pop_back();
    return sourceDir;
}

// The translation's texts by id, from its catalogue in the source folder.
std::string Translated(const std::string& script, unsigned id) {
    static std::map<std::string, std::map<unsigned, std::string>> scripts;
    if (scripts.count(script) == 0) scripts[script] = ReadCatalogueStrings(SourceDir(), "po/" + script + ".po");
    const auto& texts = scripts[script];
    const auto found = texts.find(id);
    return found != texts.end() ? found->second : "(no string " + std::to_string(id) + " in " + script + ")";
}

void ExpectTranslatedBox(const Program& program, const std::string& script, unsigned textId, unsigned captionId,
                         int answer, DWORD milliseconds = 10000) {
    HWND box = WaitForMessageBox(program, milliseconds);
    if (box == nullptr) return Fail(__FILE__, __LINE__, "no message box for text " + std::to_string(textId));
    wchar_t text[2048] = L"";
    GetDlgItemTextW(box, 0xFFFF, text, 2048);
    CHECK_EQ(Translated(script, captionId), ShownText(box));
    CHECK_EQ(Translated(script, textId), Utf8(text));
    Answer(box, answer);
    if (!WaitUntilGone(box)) Fail(__FILE__, __LINE__, "message box stayed after the answer");
}

HWND WaitForProgressWindow(const StartedInstaller& installer) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(5))
        for (HWND window : TopLevelWindows(installer.Id(), "#32770"))
            if (GetWindow(window, GW_OWNER) == installer.window) return window;
    return nullptr;
}

constexpr int BannerWidth = 325;

struct Speaker {
    const char* script;
    LANGID userInterface;
    const char* progressCaption; // the progress dialog's texts, from the same script
    const char* progressText;
};

// Window, buttons, About box, progress window, success box and replace question.
void InstallerSpeaks(const Speaker& speaker) {
    // Without the locale on this machine Wine falls back to English: say so, not pass.
    REQUIRE(GetUserDefaultUILanguage() == speaker.userInterface);
    const std::string script = speaker.script;
    const CleanDirectories clean;
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    CHECK_EQ(Translated(script, IDS_WINDOW_TITLE), ShownText(installer.window));
    const std::pair<int, unsigned> buttons[] = {
        {BtnInstall, IDS_INSTALL_BUTTON}, {BtnUninstall, IDS_UNINSTALL_BUTTON}, {BtnExit, IDS_EXIT_BUTTON}};
    for (const auto& [command, textId] : buttons)
        CHECK_EQ(Translated(script, textId), ShownText(GetDlgItem(installer.window, command)));
    // Buttons sized from longer or shorter texts still leave the whole banner and stay on the screen.
    RECT client = {}, frame = {};
    GetClientRect(installer.window, &client);
    GetWindowRect(installer.window, &frame);
    Note("window " + std::to_string(frame.right - frame.left) + " wide, client " + std::to_string(client.right));
    CHECK(client.right >= BannerWidth);
    CHECK(frame.left >= 0 && frame.right <= GetSystemMetrics(SM_CXSCREEN));

    PostCommand(installer.window, CmdAbout);
    ExpectTranslatedBox(installer, script, IDS_ABOUT_TEXT, IDS_INSTALLER_CAPTION, IDOK);

    PostCommand(installer.window, CmdInstall);
    HWND progress = WaitForProgressWindow(installer);
    REQUIRE(progress != nullptr);
    CHECK_EQ(std::string(speaker.progressCaption), ShownText(progress));
    CHECK_EQ(std::string(speaker.progressText), ShownText(GetDlgItem(progress, IDC_PROGRESS_TEXT)));
    ExpectTranslatedBox(installer, script, IDS_INSTALL_SUCCESS, IDS_INSTALL_FINISHED_CAPTION, IDOK, 20000);
    PostCommand(installer.window, CmdInstall);
    ExpectTranslatedBox(installer, script, IDS_REPLACE_QUESTION, IDS_INSTALLER_CAPTION, IDNO);
    ExitInstaller(installer);
}

} // namespace

WINE_CASE_IN_LOCALE(InstallerSpeaksGerman, "LANG=de_DE.UTF-8") {
    InstallerSpeaks({"de", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), "Installation", "Wird installiert..."});
}

WINE_CASE_IN_LOCALE(InstallerSpeaksRussian, "LANG=ru_RU.UTF-8") {
    InstallerSpeaks({"ru", MAKELANGID(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA), "Установка", "Установка заставки..."});
}

WINE_CASE_IN_LOCALE(InstallerSpeaksJapanese, "LANG=ja_JP.UTF-8") {
    InstallerSpeaks(
        {"ja", MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), "インストール中", "インストールしています..."});
}

// A Japanese user interface on a Western code page: Japanese would be question marks.
WINE_CASE_IN_LOCALE(JapaneseUserOnAWesternCodePageSeesEnglish, "LANG=de_DE.UTF-8;LC_MESSAGES=ja_JP.UTF-8") {
    REQUIRE(GetUserDefaultUILanguage() == MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN));
    REQUIRE(GetACP() == 1252);
    StartedInstaller installer;
    REQUIRE(installer.window != nullptr);
    CHECK_EQ(ScriptString(IDS_WINDOW_TITLE), WindowText(installer.window));
    CHECK_EQ(ScriptString(IDS_INSTALL_BUTTON), WindowText(GetDlgItem(installer.window, BtnInstall)));
    PostCommand(installer.window, CmdAbout);
    ExpectBox(installer, IDS_ABOUT_TEXT, IDS_INSTALLER_CAPTION, IDOK);
    ExitInstaller(installer);
}

WINE_CASE_IN_LOCALE(SaverSettingsSpeakGerman, "LANG=de_DE.UTF-8") {
    REQUIRE(GetUserDefaultUILanguage() == MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN));
    Program saver(BuildFile("screensaver\\Quorvane.scr"), "/c");
    HWND dialog = WaitForWindow(saver.Id(), "#32770");
    REQUIRE(dialog != nullptr);
    CHECK_EQ(std::string("Quorvane-Einstellungen"), ShownText(dialog));
    CHECK_EQ(std::string("&Nordlicht anzeigen"), ShownText(GetDlgItem(dialog, IDC_NORTHERN_LIGHTS)));
    CHECK_EQ(std::string("Abbrechen"), ShownText(GetDlgItem(dialog, IDCANCEL)));
    wchar_t slowest[64] = L"";
    SendMessageW(GetDlgItem(dialog, IDC_SPEED), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(slowest));
    CHECK_EQ(std::string("Sehr langsam"), Utf8(slowest));
    Answer(dialog, IDCANCEL);
    CHECK_EQ(DWORD{0}, saver.WaitForExit(5000));
}

namespace {

// Every translation: the Unix locale its users run in (Wine takes the user's
// language and the ANSI code page from it), its catalogue, and the language of
// the resources it shows. Adding a language is one row.
struct TranslationLocale {
    const char* locale;
    const char* catalogue;
    LANGID resources;
};
const TranslationLocale translationLocales[] = {
    {"de_DE.UTF-8", "de", MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL)},
    {"fr_FR.UTF-8", "fr", MAKELANGID(LANG_FRENCH, SUBLANG_NEUTRAL)},
    {"es_ES.UTF-8", "es", MAKELANGID(LANG_SPANISH, SUBLANG_NEUTRAL)},
    {"it_IT.UTF-8", "it", MAKELANGID(LANG_ITALIAN, SUBLANG_NEUTRAL)},
    {"pt_BR.UTF-8", "pt_BR", MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN)},
    {"pt_PT.UTF-8", "pt_PT", MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE)},
    {"nl_NL.UTF-8", "nl", MAKELANGID(LANG_DUTCH, SUBLANG_NEUTRAL)},
    {"pl_PL.UTF-8", "pl", MAKELANGID(LANG_POLISH, SUBLANG_NEUTRAL)},
    {"cs_CZ.UTF-8", "cs", MAKELANGID(LANG_CZECH, SUBLANG_NEUTRAL)},
    {"ru_RU.UTF-8", "ru", MAKELANGID(LANG_RUSSIAN, SUBLANG_NEUTRAL)},
    {"uk_UA.UTF-8", "uk", MAKELANGID(LANG_UKRAINIAN, SUBLANG_NEUTRAL)},
    {"tr_TR.UTF-8", "tr", MAKELANGID(LANG_TURKISH, SUBLANG_NEUTRAL)},
    {"ja_JP.UTF-8", "ja", MAKELANGID(LANG_JAPANESE, SUBLANG_NEUTRAL)},
    {"zh_CN.UTF-8", "zh_CN", MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)},
    {"zh_TW.UTF-8", "zh_TW", MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL)},
    {"ko_KR.UTF-8", "ko", MAKELANGID(LANG_KOREAN, SUBLANG_NEUTRAL)},
};

std::string Hex(LANGID language) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", language);
    return text;
}

// The resource in exactly this language: Wine falls back to the language-neutral one.
const void* ResourceIn(HMODULE module, LPCSTR type, LPCSTR name, LANGID language, DWORD* size = nullptr) {
    HRSRC found = FindResourceExA(module, type, name, language);
    if (found == nullptr || found == FindResourceExA(module, type, name, LANG_NEUTRAL)) return nullptr;
    if (size != nullptr) *size = SizeofResource(module, found);
    return LockResource(LoadResource(module, found));
}

// The buffer the installer loads each text into, terminator included.
int InstallerBuffer(unsigned id) {
    switch (id) {
    case IDS_WINDOW_TITLE: return sizeof ApplicationState::title;
    case IDS_INSTALL_BUTTON:
    case IDS_UNINSTALL_BUTTON:
    case IDS_EXIT_BUTTON: return sizeof ButtonSpec::Text;
    case IDS_INSTALLER_CAPTION:
    case IDS_UNINSTALLER_CAPTION:
    case IDS_INSTALL_FINISHED_CAPTION:
    case IDS_UNINSTALL_FINISHED_CAPTION:
    case IDS_RESOURCE_ERROR_CAPTION:
    case IDS_INSTALL_ERROR_CAPTION:
    case IDS_NOT_INSTALLED_CAPTION: return MessageCaptionSize;
    default: return MessageTextSize;
    }
}

// The screen saver's choices (and its name, loaded into a buffer as large).
int SaverBuffer(unsigned) { return ChoiceTextSize; }

// A letter the code page lacks would be a question mark on the user's screen.
void CheckWritable(const std::string& where, const WCHAR* text, int length, UINT codePage) {
    BOOL lossy = FALSE;
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text, length, nullptr, 0, nullptr, &lossy);
    if (lossy) Fail(__FILE__, __LINE__, where + ": a letter code page " + std::to_string(codePage) + " lacks");
}

// Every text of the English table in this language, written in its code page
// (and in UTF-8), and short enough for its buffer.
void CheckStrings(HMODULE module, const std::string& program, LANGID language,
                  const std::map<unsigned, std::string>& english, int (*bufferFor)(unsigned)) {
    const UINT codePage = CodePageOfTranslation(language);
    CHECK(codePage != 0);
    for (const auto& [id, text] : english) {
        const std::string where = program + " language " + Hex(language) + " text " + std::to_string(id);
        DWORD bytes = 0;
        const void* block = ResourceIn(module, RT_STRING, MAKEINTRESOURCEA(id / 16 + 1), language, &bytes);
        const WCHAR* translated = nullptr;
        int length = 0;
        if (!FindInStringBlock(block, bytes, id, &translated, &length) || length == 0) {
            Fail(__FILE__, __LINE__, where + ": missing");
            continue;
        }
        CheckWritable(where, translated, length, codePage);
        for (const UINT target : {codePage, UINT(CP_UTF8)}) {
            const int written = WideCharToMultiByte(target, 0, translated, length, nullptr, 0, nullptr, nullptr);
            if (written >= bufferFor(id))
                Fail(__FILE__, __LINE__,
                     where + ": " + std::to_string(written) + " bytes in code page " + std::to_string(target) +
                         ", the buffer holds " + std::to_string(bufferFor(id) - 1));
        }
    }
}

void CheckMenuWritable(HMENU menu, const std::string& where, UINT codePage) {
    for (int item = 0; item < GetMenuItemCount(menu); ++item) {
        wchar_t text[256] = L"";
        const int length = GetMenuStringW(menu, UINT(item), text, 256, MF_BYPOSITION);
        CheckWritable(where + " item " + std::to_string(item), text, length, codePage);
        if (HMENU popup = GetSubMenu(menu, item)) CheckMenuWritable(popup, where + " pop-up " + std::to_string(item), codePage);
    }
}

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

BOOL CALLBACK CheckControlWritable(HWND control, LPARAM codePage) {
    // An icon's "text" is its resource id, no text at all.
    if (ClassOf(control) == "Static" && (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) > SS_RIGHT) return TRUE;
    wchar_t text[1024] = L"";
    const int length = GetWindowTextW(control, text, 1024);
    CheckWritable("control " + std::to_string(GetDlgCtrlID(control)), text, length, UINT(codePage));
    return TRUE;
}

void CheckDialogWritable(HMODULE module, LPCSTR name, LANGID language, const std::string& where) {
    const void* dialogTemplate = ResourceIn(module, RT_DIALOG, name, language);
    if (dialogTemplate == nullptr) return Fail(__FILE__, __LINE__, where + ": no dialog");
    HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), static_cast<LPCDLGTEMPLATEW>(dialogTemplate),
                                             nullptr, QuietDialog, 0);
    if (dialog == nullptr) return Fail(__FILE__, __LINE__, where + ": dialog not created");
    wchar_t caption[256] = L"";
    const int length = GetWindowTextW(dialog, caption, 256);
    CheckWritable(where + " caption", caption, length, CodePageOfTranslation(language));
    EnumChildWindows(dialog, CheckControlWritable, LPARAM(CodePageOfTranslation(language)));
    DestroyWindow(dialog);
}

} // namespace

// Every text of either program's English scripts, in every translation, whole
// in its buffer and in the language's code page; menus and dialogs too.
WINE_CASE(EveryTranslationIsCompleteAndFitsItsBuffers) {
    auto installerTexts = ReadScriptStrings(SourceDir());
    for (unsigned id : {IDS_TEMP_NAME, IDS_SCR_NAME, IDS_PREFS_NAME}) installerTexts.erase(id); // never translated
    const auto saverTexts = ReadScriptStrings(SourceDir(), "screensaver/texts.rc", "screensaver/screensaver_ids.h");
    REQUIRE(installerTexts.count(IDS_ABOUT_TEXT) == 1 && saverTexts.count(IDS_MONITORS_FIRST + 2) == 1);

    HMODULE installer = LoadLibraryExA(Installer().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HMODULE saver = LoadLibraryExA(BuildFile("screensaver\\Quorvane.scr").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(installer != nullptr && saver != nullptr);
    for (const TranslationLocale& row : translationLocales) {
        const LANGID language = row.resources;
        const std::string where = "language " + Hex(language);
        CheckStrings(installer, "installer", language, installerTexts, InstallerBuffer);
        CheckStrings(saver, "saver", language, saverTexts, SaverBuffer);
        const void* menuTemplate = ResourceIn(installer, RT_MENU, "Menu_1", language);
        CHECK(menuTemplate != nullptr);
        if (HMENU menu = menuTemplate != nullptr ? LoadMenuIndirectW(menuTemplate) : nullptr) {
            CheckMenuWritable(menu, where + " menu", CodePageOfTranslation(language));
            DestroyMenu(menu);
        }
        CheckDialogWritable(installer, "Installing", language, where + " progress");
        CheckDialogWritable(saver, MAKEINTRESOURCEA(DLG_SETTINGS), language, where + " settings");
        // The file names and the payload are never translated.
        for (unsigned id : {IDS_TEMP_NAME, IDS_SCR_NAME, IDS_PREFS_NAME})
            CHECK(ResourceIn(installer, RT_STRING, MAKEINTRESOURCEA(id / 16 + 1), language) == nullptr);
        CHECK(ResourceIn(installer, "DATA", "program", language) == nullptr);
    }
    FreeLibrary(saver);
    FreeLibrary(installer);
}

namespace {

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return text;
}

// Pixels text takes in font: one line, or word-wrapped within width.
SIZE Extent(HFONT font, const std::wstring& text, int width, bool wrap) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    RECT needed = {0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return SIZE{needed.right, needed.bottom};
}

void CheckFits(const std::string& where, const std::wstring& text, SIZE needed, int width, int height) {
    if (needed.cx <= width && needed.cy <= height) return;
    Fail(__FILE__, __LINE__,
         where + " \"" + Utf8(text) + "\" needs " + std::to_string(needed.cx) + "x" + std::to_string(needed.cy) +
             ", has " + std::to_string(width) + "x" + std::to_string(height));
}

// A caption wider than its title bar is cut with an ellipsis.
void CheckCaptionFits(const std::string& where, HWND window) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
    RECT frame = {};
    GetWindowRect(window, &frame);
    // The icon, the close button and the frames.
    const int room = frame.right - frame.left - 2 * GetSystemMetrics(SM_CXSIZE) - 4 * GetSystemMetrics(SM_CXFRAME);
    CheckFits(where + " caption", TextOf(window), Extent(font, TextOf(window), room, false), room, INT_MAX);
    DeleteObject(font);
}

struct ControlSearch {
    std::vector<HWND> found;
};

BOOL CALLBACK CollectControl(HWND child, LPARAM search) {
    reinterpret_cast<ControlSearch*>(search)->found.push_back(child);
    return TRUE;
}

// Every label, check box and button of the translated dialog shows its whole text,
// and every choice fits its drop-down list.
void CheckDialogFits(HMODULE module, LPCSTR name, LANGID language, const std::string& where,
                     const std::vector<std::pair<int, std::vector<unsigned>>>& choices = {}) {
    const void* dialogTemplate = ResourceIn(module, RT_DIALOG, name, language);
    if (dialogTemplate == nullptr) return Fail(__FILE__, __LINE__, where + ": no dialog");
    HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), static_cast<LPCDLGTEMPLATEW>(dialogTemplate),
                                             nullptr, QuietDialog, 0);
    if (dialog == nullptr) return Fail(__FILE__, __LINE__, where + ": dialog not created");
    CheckCaptionFits(where, dialog);
    ControlSearch search;
    EnumChildWindows(dialog, CollectControl, reinterpret_cast<LPARAM>(&search));
    for (HWND control : search.found) {
        const std::wstring text = TextOf(control);
        const std::string kind = ClassOf(control);
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        if (text.empty() || (kind == "Static" && (style & SS_TYPEMASK) > SS_RIGHT)) continue;
        RECT client = {};
        GetClientRect(control, &client);
        const HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        const UINT type = style & BS_TYPEMASK;
        const bool checkBox = kind == "Button" && type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON;
        // A check box's text starts right of its box; a push button keeps its edges.
        const int width = client.right - (checkBox ? 16 : kind == "Button" ? 4 : 0);
        const bool wrap = kind == "Static";
        CheckFits(where + " control " + std::to_string(GetDlgCtrlID(control)), text, Extent(font, text, width, wrap),
                  width, client.bottom);
    }
    for (const auto& [control, ids] : choices) {
        HWND list = GetDlgItem(dialog, control);
        RECT client = {};
        GetClientRect(list, &client);
        const HFONT font = reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0));
        const int width = client.right - GetSystemMetrics(SM_CXVSCROLL) - 4;
        for (unsigned id : ids) {
            DWORD bytes = 0;
            const void* block = ResourceIn(module, RT_STRING, MAKEINTRESOURCEA(id / 16 + 1), language, &bytes);
            const WCHAR* text = nullptr;
            int length = 0;
            if (!FindInStringBlock(block, bytes, id, &text, &length)) continue; // reported by the buffer check
            const std::wstring choice(text, size_t(length));
            CheckFits(where + " choice " + std::to_string(id), choice, Extent(font, choice, width, false), width,
                      INT_MAX);
        }
    }
    DestroyWindow(dialog);
}

// Wine takes a program's language and code page from the Unix locale it starts
// in, and a Windows program's children keep their parent's: a program is started
// in another locale through the Unix environment (seen under Wine 8).
void StartInLocale(const std::string& locale, const std::string& program, const std::string& arguments,
                   const std::string& settings = "") {
    std::string command = "/usr/bin/env LC_ALL= LANG=" + locale + " " + settings + " /usr/bin/wine \"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return Fail(__FILE__, __LINE__, "cannot start " + command);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
}

HWND WaitForInstallerWindow(DWORD milliseconds) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < milliseconds; Sleep(50)) {
        HWND window = FindWindowA("ProgramInstaller", nullptr);
        if (window != nullptr && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

// As the row's users see it: the installer's window shows the translation,
// leaves the whole banner, stays on the screen and has room for its title; the
// progress window and the screen saver's settings show every text and choice whole.
void TranslationFits(const TranslationLocale& row, HMODULE installer, HMODULE saver) {
    const std::string where = std::string(row.catalogue) + " (" + Hex(row.resources) + ")";
    StartInLocale(row.locale, Installer(), "");
    if (HWND window = WaitForInstallerWindow(60000)) {
        CHECK_EQ(Translated(row.catalogue, IDS_WINDOW_TITLE), ShownText(window));
        RECT client = {}, frame = {};
        GetClientRect(window, &client);
        GetWindowRect(window, &frame);
        Note(where + ": window " + std::to_string(frame.right - frame.left) + " wide");
        CHECK(client.right >= BannerWidth);
        CHECK(frame.left >= 0 && frame.right <= GetSystemMetrics(SM_CXSCREEN));
        CheckCaptionFits(where + " main window", window);
        PostMessageA(window, WM_CLOSE, 0, 0);
        if (!WaitUntilGone(window, 30000)) Fail(__FILE__, __LINE__, where + ": the installer stayed open");
    } else {
        Fail(__FILE__, __LINE__, where + ": no installer window");
    }
    CheckDialogFits(installer, "Installing", row.resources, where + " progress");
    const std::vector<unsigned> speeds = {IDS_SPEED_FIRST, IDS_SPEED_FIRST + 1, IDS_SPEED_FIRST + 2,
                                          IDS_SPEED_FIRST + 3, IDS_SPEED_FIRST + 4};
    const std::vector<unsigned> stars = {IDS_STARS_FIRST, IDS_STARS_FIRST + 1, IDS_STARS_FIRST + 2};
    const std::vector<unsigned> monitors = {IDS_MONITORS_FIRST, IDS_MONITORS_FIRST + 1, IDS_MONITORS_FIRST + 2};
    CheckDialogFits(saver, MAKEINTRESOURCEA(DLG_SETTINGS), row.resources, where + " settings",
                    {{IDC_SPEED, speeds}, {IDC_STARS, stars}, {IDC_MONITORS, monitors}});
}

const char FitCodePageSetting[] = "QUORVANE_FIT_CODE_PAGE";

std::string FitResultFile(UINT codePage) { return BuildFile("fits-" + std::to_string(codePage) + ".result"); }

// One driver in a locale of the code page measures every language of it: text
// is measured in the fonts its users get, and languages that share a code page
// share them.
void FitsInThisCodePage(UINT codePage) {
    struct Result {
        UINT codePage;
        ~Result() {
            const std::string count = std::to_string(FailureCount());
            HANDLE file = CreateFileA(FitResultFile(codePage).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            WriteFile(file, count.data(), DWORD(count.size()), &written, nullptr);
            CloseHandle(file);
        }
    } result{codePage};
    // Without the locale on this machine Wine falls back to another code page: say so, not pass.
    REQUIRE(GetACP() == codePage);
    HMODULE installer = LoadLibraryExA(Installer().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HMODULE saver = LoadLibraryExA(BuildFile("screensaver\\Quorvane.scr").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(installer != nullptr && saver != nullptr);
    for (const TranslationLocale& row : translationLocales)
        if (CodePageOfTranslation(row.resources) == codePage) TranslationFits(row, installer, saver);
    FreeLibrary(saver);
    FreeLibrary(installer);
}

} // namespace

// Every translation in the table fits, each measured under a locale of its own
// code page: one driver for each code page, one installer for each language.
WINE_CASE(EveryTranslationFits) {
    char setting[16] = "";
    if (GetEnvironmentVariableA(FitCodePageSetting, setting, sizeof setting) > 0)
        return FitsInThisCodePage(UINT(std::strtoul(setting, nullptr, 10)));
    char driverPath[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, driverPath, MAX_PATH);
    std::set<UINT> measured;
    for (const TranslationLocale& row : translationLocales) {
        const UINT codePage = CodePageOfTranslation(row.resources);
        if (!measured.insert(codePage).second) continue;
        const std::string resultFile = FitResultFile(codePage);
        DeleteFileA(resultFile.c_str());
        Note("code page " + std::to_string(codePage) + " under " + row.locale);
        std::string buildDir = BuildFile("");
        buildDir.pop_back();
        StartInLocale(row.locale, driverPath, "EveryTranslationFits \"" + buildDir + "\" \"" + SourceDir() + "\"",
                      std::string(FitCodePageSetting) + "=" + std::to_string(codePage));
        DWORD start = GetTickCount();
        while (GetFileAttributesA(resultFile.c_str()) == INVALID_FILE_ATTRIBUTES && GetTickCount() - start < 300000)
            Sleep(200);
        Sleep(200); // the count is written just after the file appears
        char count[16] = "";
        DWORD read = 0;
        HANDLE file = CreateFileA(resultFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            ReadFile(file, count, sizeof count - 1, &read, nullptr);
            CloseHandle(file);
        }
        if (read == 0) Fail(__FILE__, __LINE__, "code page " + std::to_string(codePage) + ": no result");
        else if (std::strtoul(count, nullptr, 10) != 0)
            Fail(__FILE__, __LINE__, "code page " + std::to_string(codePage) + ": " + count + " failure(s) above");
    }
}

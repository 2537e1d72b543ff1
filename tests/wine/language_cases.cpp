// The real programs in other languages: what the user sees under a German,
// Russian or Japanese locale, English where the ANSI code page cannot show the
// user's language, and every translation complete and fitting its place.
#include "text/text_language.h"
#include "tests/common/resource_script.h"
#include "tests/wine/driver.h"

#include "resource_ids.h"
#include "screensaver/screensaver_ids.h"

#include <climits>
#include <cstdio>
#include <map>
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

// The translation's texts by id, from its script in the source folder.
std::string Translated(const std::string& script, unsigned id) {
    static std::map<std::string, std::map<unsigned, std::string>> scripts;
    if (scripts.count(script) == 0) {
        std::string sourceDir = SourceFile("");
        sourceDir.pop_back();
        scripts[script] = ReadScriptStrings(sourceDir, "resources/lang/" + script + ".rc");
    }
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

const LANGID translationLanguages[] = {
    MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_FRENCH, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_SPANISH, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_ITALIAN, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN),
    MAKELANGID(LANG_DUTCH, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_POLISH, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_RUSSIAN, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_JAPANESE, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED),
    MAKELANGID(LANG_KOREAN, SUBLANG_NEUTRAL),
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

// The buffer each text is loaded into, terminator included.
int BufferFor(unsigned id) {
    switch (id) {
    case IDS_WINDOW_TITLE: return 150;
    case IDS_INSTALL_BUTTON:
    case IDS_UNINSTALL_BUTTON:
    case IDS_EXIT_BUTTON: return 50;
    case IDS_INSTALLER_CAPTION:
    case IDS_UNINSTALLER_CAPTION:
    case IDS_INSTALL_FINISHED_CAPTION:
    case IDS_UNINSTALL_FINISHED_CAPTION:
    case IDS_RESOURCE_ERROR_CAPTION:
    case IDS_INSTALL_ERROR_CAPTION:
    case IDS_NOT_INSTALLED_CAPTION: return 200;
    default: return 600;
    }
}

// Every text of the neutral table in this language, written in its code page
// (and in UTF-8), and short enough for its buffer.
void CheckStrings(HMODULE module, const std::string& program, LANGID language, const std::vector<unsigned>& ids,
                  int (*bufferFor)(unsigned)) {
    const UINT codePage = CodePageOfTranslation(language);
    CHECK(codePage != 0);
    for (unsigned id : ids) {
        const std::string where = program + " language " + Hex(language) + " text " + std::to_string(id);
        DWORD bytes = 0;
        const void* block = ResourceIn(module, RT_STRING, MAKEINTRESOURCEA(id / 16 + 1), language, &bytes);
        const WCHAR* text = nullptr;
        int length = 0;
        if (!FindInStringBlock(block, bytes, id, &text, &length) || length == 0) {
            Fail(__FILE__, __LINE__, where + ": missing");
            continue;
        }
        for (const UINT target : {codePage, UINT(CP_UTF8)}) {
            BOOL lossy = FALSE;
            const int written = WideCharToMultiByte(target, target == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS, text, length,
                                                    nullptr, 0, nullptr, target == CP_UTF8 ? nullptr : &lossy);
            if (lossy) Fail(__FILE__, __LINE__, where + ": a letter code page " + std::to_string(target) + " lacks");
            if (written >= bufferFor(id))
                Fail(__FILE__, __LINE__,
                     where + ": " + std::to_string(written) + " bytes in code page " + std::to_string(target) +
                         ", the buffer holds " + std::to_string(bufferFor(id) - 1));
        }
    }
}

} // namespace

WINE_CASE(EveryTranslationIsCompleteAndFitsItsBuffers) {
    std::vector<unsigned> installerIds;
    std::string sourceDir = SourceFile("");
    sourceDir.pop_back();
    for (const auto& [id, text] : ReadScriptStrings(sourceDir))
        if (id < IDS_TEMP_NAME || id > IDS_PREFS_NAME) installerIds.push_back(id); // file names stay neutral
    const std::vector<unsigned> saverIds = {IDS_SAVER_NAME,      IDS_SPEED_FIRST,     IDS_SPEED_FIRST + 1,
                                            IDS_SPEED_FIRST + 2, IDS_SPEED_FIRST + 3, IDS_SPEED_FIRST + 4,
                                            IDS_STARS_FIRST,     IDS_STARS_FIRST + 1, IDS_STARS_FIRST + 2};

    HMODULE installer = LoadLibraryExA(Installer().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HMODULE saver = LoadLibraryExA(BuildFile("screensaver\\Quorvane.scr").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(installer != nullptr && saver != nullptr);
    for (LANGID language : translationLanguages) {
        CheckStrings(installer, "installer", language, installerIds, BufferFor);
        CheckStrings(saver, "saver", language, saverIds, [](unsigned) { return 64; });
        CHECK(ResourceIn(installer, RT_MENU, "Menu_1", language) != nullptr);
        CHECK(ResourceIn(installer, RT_DIALOG, "Installing", language) != nullptr);
        CHECK(ResourceIn(saver, RT_DIALOG, MAKEINTRESOURCEA(DLG_SETTINGS), language) != nullptr);
        // The file names and the payload are never translated.
        for (unsigned id : {IDS_TEMP_NAME, IDS_SCR_NAME, IDS_PREFS_NAME})
            CHECK(ResourceIn(installer, RT_STRING, MAKEINTRESOURCEA(id / 16 + 1), language) == nullptr);
        CHECK(ResourceIn(installer, "DATA", "program", language) == nullptr);
    }
    FreeLibrary(saver);
    FreeLibrary(installer);
}

namespace {

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

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

// Under the translation's own locale, as its users see it: the installer's window
// leaves the whole banner and stays on the screen, its title, the progress window
// and the screen saver's settings show their whole texts.
void TranslationFits(LANGID language) {
    REQUIRE(ChooseTextLanguage(GetUserDefaultUILanguage(), GetACP()) == language);
    const std::string where = "language " + Hex(language);
    {
        StartedInstaller installer;
        REQUIRE(installer.window != nullptr);
        RECT client = {}, frame = {};
        GetClientRect(installer.window, &client);
        GetWindowRect(installer.window, &frame);
        Note(where + ": window " + std::to_string(frame.right - frame.left) + " wide");
        CHECK(client.right >= BannerWidth);
        CHECK(frame.left >= 0 && frame.right <= GetSystemMetrics(SM_CXSCREEN));
        CheckCaptionFits(where + " main window", installer.window);
        ExitInstaller(installer);
    }
    HMODULE installer = LoadLibraryExA(Installer().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HMODULE saver = LoadLibraryExA(BuildFile("screensaver\\Quorvane.scr").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(installer != nullptr && saver != nullptr);
    CheckDialogFits(installer, "Installing", language, where + " progress");
    const std::vector<unsigned> speeds = {IDS_SPEED_FIRST, IDS_SPEED_FIRST + 1, IDS_SPEED_FIRST + 2,
                                          IDS_SPEED_FIRST + 3, IDS_SPEED_FIRST + 4};
    const std::vector<unsigned> stars = {IDS_STARS_FIRST, IDS_STARS_FIRST + 1, IDS_STARS_FIRST + 2};
    const std::vector<unsigned> monitors = {IDS_MONITORS_FIRST, IDS_MONITORS_FIRST + 1, IDS_MONITORS_FIRST + 2};
    CheckDialogFits(saver, MAKEINTRESOURCEA(DLG_SETTINGS), language, where + " settings",
                    {{IDC_SPEED, speeds}, {IDC_STARS, stars}, {IDC_MONITORS, monitors}});
    FreeLibrary(saver);
    FreeLibrary(installer);
}

} // namespace

WINE_CASE_IN_LOCALE(GermanFits, "LANG=de_DE.UTF-8") { TranslationFits(MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL)); }
WINE_CASE_IN_LOCALE(FrenchFits, "LANG=fr_FR.UTF-8") { TranslationFits(MAKELANGID(LANG_FRENCH, SUBLANG_NEUTRAL)); }
WINE_CASE_IN_LOCALE(SpanishFits, "LANG=es_ES.UTF-8") { TranslationFits(MAKELANGID(LANG_SPANISH, SUBLANG_NEUTRAL)); }
WINE_CASE_IN_LOCALE(ItalianFits, "LANG=it_IT.UTF-8") { TranslationFits(MAKELANGID(LANG_ITALIAN, SUBLANG_NEUTRAL)); }
WINE_CASE_IN_LOCALE(BrazilianPortugueseFits, "LANG=pt_BR.UTF-8") {
    TranslationFits(MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN));
}
WINE_CASE_IN_LOCALE(DutchFits, "LANG=nl_NL.UTF-8") { TranslationFits(MAKELANGID(LANG_DUTCH, SUBLANG_NEUTRAL)); }
WINE_CASE_IN_LOCALE(PolishFits, "LANG=pl_PL.UTF-8") { TranslationFits(MAKELANGID(LANG_POLISH, SUBLANG_NEUTRAL)); }
WINE_CASE_IN_LOCALE(RussianFits, "LANG=ru_RU.UTF-8") { TranslationFits(MAKELANGID(LANG_RUSSIAN, SUBLANG_NEUTRAL)); }
WINE_CASE_IN_LOCALE(JapaneseFits, "LANG=ja_JP.UTF-8") { TranslationFits(MAKELANGID(LANG_JAPANESE, SUBLANG_NEUTRAL)); }
WINE_CASE_IN_LOCALE(SimplifiedChineseFits, "LANG=zh_CN.UTF-8") {
    TranslationFits(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
}
WINE_CASE_IN_LOCALE(KoreanFits, "LANG=ko_KR.UTF-8") { TranslationFits(MAKELANGID(LANG_KOREAN, SUBLANG_NEUTRAL)); }

// A scripted simulation of the Windows operations the installer relies on,
// and the record of what the installer did with them.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace fake {

using Bytes = std::vector<uint8_t>;

struct MessageBoxRecord {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

struct WindowRecord {
    HWND handle = nullptr;
    std::string className;
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    HWND parent = nullptr;
    INT_PTR id = 0; // the menu argument of a child: its control id
    HGDIOBJ font = nullptr;
    WNDPROC windowProc = nullptr;
    DLGPROC dialogProc = nullptr;
    std::string dialogTemplate;
    bool alive = true;
    bool shown = false;
    int showCommand = -1;
    int moveRepaint = -1; // the repaint flag of the last MoveWindow; -1 before any
};

struct FileRecord {
    Bytes bytes;
    bool directory = false;
    bool deletable = true; // false: in use, read-only or beyond our rights
};

struct StretchRecord {
    int destX, destY, destWidth, destHeight, srcX, srcY, srcWidth, srcHeight;
    const void* bits;
    const BITMAPINFO* info;
    UINT usage;
    DWORD rop;
    HPALETTE palette; // the palette selected in the context when drawing
    uint32_t pixelChecksum;
};

struct PaletteRecord {
    std::vector<PALETTEENTRY> entries;
    WORD version;
    bool deleted = false;
};

// Handles that exist before the program runs; the table's own start after them.
enum class Stock : uintptr_t {
    Instance = 1,
    KernelModule,
    DefaultGuiFont,
    SystemFont,
    AppIcon,
    Arrow,
    ScreenDC,
    WindowDC,
    PaintDC,
    Count
};
constexpr uintptr_t HandleStep = 4; // as Windows numbers them: never INVALID_HANDLE_VALUE, never an int error code
constexpr uintptr_t StockHandle(Stock stock) { return HandleStep * static_cast<uintptr_t>(stock); }

// Every handle the fake hands out comes from this one table, in one sequence for
// all kinds, so that a handle of one kind passed where another is due finds nothing.
enum class Kind { Window, File, GlobalBlock, FoundResource, LoadedResource, Palette, LzFile, Module, Menu };

class HandleTable {
  public:
    uintptr_t Issue(Kind kind);
    bool Holds(uintptr_t handle, Kind kind) const;

  private:
    uintptr_t next_ = StockHandle(Stock::Count);
    std::map<uintptr_t, Kind> kinds_;
};

using ResourceName = std::pair<std::string, std::string>; // name and type, "#12" for a number

// A resource's bytes or a global block in an allocation of exactly its size, so
// that ASan sees any read past its end.
struct Block {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size = 0;
    int locks = 0;
};

struct OpenedFile {
    std::string path;
    bool open;
    bool forReading = false;
    size_t position = 0;        // where the next read starts
    bool forDeleting = false;   // opened with DELETE access only
    bool deleteOnClose = false; // its disposition set: gone when closed
};

struct LzFile {
    std::string path;
    bool forWriting;
    bool open;
};

// What a test scripts: failures, answers, the machine's settings and hooks into its calls.
struct Knobs {
    // Operations named here fail; failOnCall fails only the given calls (1-based) of one.
    std::set<std::string> failing;
    std::map<std::string, std::set<int>> failOnCall;
    // Answers to message boxes, front first; onMessageBox, when set, answers instead.
    std::deque<int> answers;
    std::function<int(const MessageBoxRecord&)> onMessageBox;
    std::function<void(HWND)> onTopLevelCreated; // after its WM_CREATE, before CreateWindowExA returns
    std::function<void()> onSleep;               // runs during the pause: what another program does meanwhile

    std::set<std::string> dialogTemplates = {"INSTALLING"};
    LANGID userInterfaceLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    UINT ansiCodePage = 1252;
    std::string systemDirectory = "C:\\WINDOWS\\SYSTEM";
    std::string windowsDirectory = "C:\\WINDOWS";
    bool wow64 = false; // what IsWow64Process answers: a 32-bit program on 64-bit Windows
    // The user's local application data, as SHGetFolderPathA gives it; empty: it fails.
    std::string localAppData = "C:\\Users\\Ann\\AppData\\Local";
    // What GetFinalPathNameByHandleA reports for a file opened by this name
    // (upper case): a junction on the way. Unlisted: \\?\ and the name itself.
    std::map<std::string, std::string> finalPaths;
    DWORD shortWriteBy = 0;     // WriteFile reports success but writes this many bytes fewer
    LONG partialExpansion = -1; // LZCopy writes this many bytes and then fails
    std::function<void(Bytes&)> damageExpansion; // changes what LZCopy writes, which still reports success

    int screenWidth = 1024, screenHeight = 768;
    std::map<int, int> metrics = {{SM_CXFRAME, 4}, {SM_CYFRAME, 4},      {SM_CYCAPTION, 19},
                                  {SM_CYMENU, 19}, {SM_CXFIXEDFRAME, 3}, {SM_CYFIXEDFRAME, 3}};
    std::function<SIZE(HGDIOBJ font, const std::string& text)> measure; // default: per-character widths
    RECT clientOverride = {-1, -1, -1, -1};
};

// What the simulated machine holds.
struct State {
    HandleTable handles;

    // The module: strings of the real resource script by id, resources added with AddResource.
    std::map<unsigned, std::string> strings;
    std::map<ResourceName, Block> resources;
    std::map<uintptr_t, ResourceName> foundResources, loadedResources;
    std::map<uintptr_t, Block> globalBlocks; // still allocated

    // File system, by upper-case full path, and what is open in it.
    std::map<std::string, FileRecord> files;
    std::map<uintptr_t, OpenedFile> openFiles;
    std::map<uintptr_t, LzFile> lzFiles;

    // Files MoveFileExA was asked to delete at the next start of Windows.
    std::vector<std::string> deleteAtRestart;

    // system.ini and other profiles: "FILE|SECTION|KEY" upper case -> value.
    std::map<std::string, std::string> profile;
    bool screenSaverActive = false;

    // Windows and the message queue.
    std::map<std::string, WNDCLASSA> classes; // by upper-case name
    std::vector<WindowRecord> windows;
    std::deque<MSG> queue;
    bool quitPosted = false;
    int quitCode = 0;

    // Graphics.
    std::map<uintptr_t, PaletteRecord> palettes;
    std::map<HDC, HGDIOBJ> selectedFont;
    std::map<HDC, HPALETTE> selectedPalette;
    int openPaints = 0;
    int openDCs = 0;
};

// What the program did.
struct Record {
    std::map<std::string, int> calls;
    // Every operation in order, with its main argument: "DeleteFileA C:\WINDOWS\QUORVANE.SCR".
    std::vector<std::string> log;
    std::vector<MessageBoxRecord> boxes;
    std::vector<std::pair<HWND, UINT>> defaultProcessed;
    bool queueRanDry = false; // GetMessageA found nothing: a test forgot its quit
    bool peekRemoved = false; // a PeekMessageA took a message off the queue
    int resourcesFreed = 0;
    std::vector<std::string> settingsCalls; // "17 1 0 1": action, param, data null?, flags
    std::vector<DWORD> sleeps;
    std::vector<std::string> measured; // texts measured, in order
    std::vector<StretchRecord> drawings;
    int realized = 0;
    int releasedWithFontSelected = 0; // device contexts given back without their own font
};

struct World {
    Knobs knobs;
    State state;
    Record record;
};

extern World& world; // never destroyed: the banner is released at process exit, after every test

// Fresh world: strings from the resource script, the standard directories, no files.
void Reset();

// Counts and logs a call; true when the test made this call fail.
bool Fails(const char* operation, const std::string& detail = "");

// The next scripted answer, or No to a question and OK to anything else.
int ScriptedAnswer(UINT type);

// Scripting helpers.
void PostMessage(HWND window, UINT message, WPARAM wordParam, LPARAM longParam);
void AddResource(LPCSTR name, LPCSTR type, const Bytes& bytes);
void AddTranslatedResource(LPCSTR name, LPCSTR type, WORD language, const Bytes& bytes);
void AddFile(const std::string& path, const Bytes& bytes = Bytes{'x'});
void AddDirectory(const std::string& path);
bool FileExists(const std::string& path);
const Bytes* FileBytes(const std::string& path);
std::string Key(const std::string& text); // upper case, as Windows compares names
Bytes ReadHostFile(const std::string& path);
// Expands an SZDD file with libmspack; false when it is not one.
bool ExpandSzdd(const Bytes& compressed, Bytes& expanded);

// Windows by handle, and the live ones of a class.
WindowRecord* Window(HWND handle);
std::vector<WindowRecord*> WindowsOfClass(const std::string& className);
std::vector<WindowRecord*> ChildrenOf(HWND parent);

// Stock objects the fake hands out.
extern const HGDIOBJ DefaultGuiFont;
extern const HGDIOBJ SystemFont;
extern const HINSTANCE Instance;

template <class Handle> Handle AsHandle(uintptr_t value) { return reinterpret_cast<Handle>(value); }
template <class Handle> uintptr_t ValueOf(Handle handle) { return reinterpret_cast<uintptr_t>(handle); }

} // namespace fake

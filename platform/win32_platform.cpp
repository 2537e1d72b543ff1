// Production backend: each operation is the Win32 call of the same name.
#include "platform/platform.h"

namespace platform {

ATOM RegisterClassA(const WNDCLASSA* windowClass) { return ::RegisterClassA(windowClass); }
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    return ::CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, parent, menu, instance, param);
}
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wordParam, LPARAM longParam) {
    return ::DefWindowProcA(window, message, wordParam, longParam);
}
BOOL ShowWindow(HWND window, int showCommand) { return ::ShowWindow(window, showCommand); }
BOOL UpdateWindow(HWND window) { return ::UpdateWindow(window); }
BOOL GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax) {
    return ::GetMessageA(message, window, filterMin, filterMax);
}
BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    return ::PeekMessageA(message, window, filterMin, filterMax, remove);
}
BOOL TranslateMessage(const MSG* message) { return ::TranslateMessage(message); }
LRESULT DispatchMessageA(const MSG* message) { return ::DispatchMessageA(message); }
void PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }
HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC dialogProc, LPARAM initParam) {
    return ::CreateDialogParamA(instance, templateName, parent, dialogProc, initParam);
}
HWND CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialogTemplate, HWND parent, DLGPROC dialogProc,
                                LPARAM initParam) {
    return ::CreateDialogIndirectParamA(instance, dialogTemplate, parent, dialogProc, initParam);
}
HMENU LoadMenuIndirectA(const void* menuTemplate) { return ::LoadMenuIndirectA(menuTemplate); }
BOOL DestroyWindow(HWND window) { return ::DestroyWindow(window); }
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    return ::MessageBoxA(owner, text, caption, type);
}
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferSize) {
    return ::LoadStringA(instance, id, buffer, bufferSize);
}
HICON LoadIconA(HINSTANCE instance, LPCSTR name) { return ::LoadIconA(instance, name); }
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) { return ::LoadCursorA(instance, name); }
int GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }
LRESULT SendMessageA(HWND window, UINT message, WPARAM wordParam, LPARAM longParam) {
    return ::SendMessageA(window, message, wordParam, longParam);
}
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    return ::MoveWindow(window, x, y, width, height, repaint);
}
BOOL GetClientRect(HWND window, LPRECT rect) { return ::GetClientRect(window, rect); }
HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) { return ::BeginPaint(window, paint); }
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) { return ::EndPaint(window, paint); }
HDC GetDC(HWND window) { return ::GetDC(window); }
int ReleaseDC(HWND window, HDC dc) { return ::ReleaseDC(window, dc); }
BOOL SystemParametersInfoA(UINT action, UINT param, PVOID data, UINT flags) {
    return ::SystemParametersInfoA(action, param, data, flags);
}

int GetDeviceCaps(HDC dc, int index) { return ::GetDeviceCaps(dc, index); }
HGDIOBJ GetStockObject(int object) { return ::GetStockObject(object); }
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) { return ::SelectObject(dc, object); }
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size) {
    return ::GetTextExtentPoint32A(dc, text, length, size);
}
HPALETTE CreatePalette(const LOGPALETTE* palette) { return ::CreatePalette(palette); }
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground) {
    return ::SelectPalette(dc, palette, forceBackground);
}
UINT RealizePalette(HDC dc) { return ::RealizePalette(dc); }
BOOL DeleteObject(HGDIOBJ object) { return ::DeleteObject(object); }
int StretchDIBits(HDC dc, int destX, int destY, int destWidth, int destHeight, int srcX, int srcY, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    return ::StretchDIBits(dc, destX, destY, destWidth, destHeight, srcX, srcY, srcWidth, srcHeight, bits, info, usage,
                           rop);
}

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) { return ::FindResourceA(module, name, type); }
HRSRC FindResourceExA(HMODULE module, LPCSTR type, LPCSTR name, WORD language) {
    return ::FindResourceExA(module, type, name, language);
}
DWORD SizeofResource(HMODULE module, HRSRC resource) { return ::SizeofResource(module, resource); }
HGLOBAL LoadResource(HMODULE module, HRSRC resource) { return ::LoadResource(module, resource); }
LPVOID LockResource(HGLOBAL resourceData) { return ::LockResource(resourceData); }
BOOL FreeResource(HGLOBAL resourceData) { return ::FreeResource(resourceData); }
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) { return ::GlobalAlloc(flags, bytes); }
LPVOID GlobalLock(HGLOBAL memory) { return ::GlobalLock(memory); }
BOOL GlobalUnlock(HGLOBAL memory) { return ::GlobalUnlock(memory); }
HGLOBAL GlobalFree(HGLOBAL memory) { return ::GlobalFree(memory); }

LANGID GetUserDefaultUILanguage() { return ::GetUserDefaultUILanguage(); }
LANGID SetThreadUILanguage(LANGID language) { return ::SetThreadUILanguage(language); }
UINT GetACP() { return ::GetACP(); }
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR text, int length, LPSTR buffer, int bufferSize,
                        LPCSTR defaultChar, LPBOOL usedDefaultChar) {
    return ::WideCharToMultiByte(codePage, flags, text, length, buffer, bufferSize, defaultChar, usedDefaultChar);
}

HMODULE GetModuleHandleA(LPCSTR moduleName) { return ::GetModuleHandleA(moduleName); }
FARPROC GetProcAddress(HMODULE module, LPCSTR procName) { return ::GetProcAddress(module, procName); }
BOOL SetDllDirectoryA(LPCSTR path) { return ::SetDllDirectoryA(path); }
HMODULE LoadLibraryExA(LPCSTR fileName, HANDLE reserved, DWORD flags) {
    return ::LoadLibraryExA(fileName, reserved, flags);
}
HANDLE GetCurrentProcess() { return ::GetCurrentProcess(); }

UINT GetSystemDirectoryA(LPSTR buffer, UINT size) { return ::GetSystemDirectoryA(buffer, size); }
UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) { return ::GetWindowsDirectoryA(buffer, size); }
DWORD SearchPathA(LPCSTR path, LPCSTR fileName, LPCSTR extension, DWORD bufferLength, LPSTR buffer, LPSTR* filePart) {
    return ::SearchPathA(path, fileName, extension, bufferLength, buffer, filePart);
}
HANDLE CreateFileA(LPCSTR fileName, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                   DWORD flags, HANDLE templateFile) {
    return ::CreateFileA(fileName, access, shareMode, security, disposition, flags, templateFile);
}
BOOL WriteFile(HANDLE file, LPCVOID data, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED overlapped) {
    return ::WriteFile(file, data, bytesToWrite, bytesWritten, overlapped);
}
BOOL ReadFile(HANDLE file, LPVOID data, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped) {
    return ::ReadFile(file, data, bytesToRead, bytesRead, overlapped);
}
BOOL CloseHandle(HANDLE handle) { return ::CloseHandle(handle); }
BOOL DeleteFileA(LPCSTR fileName) { return ::DeleteFileA(fileName); }
BOOL MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags) {
    return ::MoveFileExA(existingName, newName, flags);
}
DWORD GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD size) {
    return ::GetShortPathNameA(longPath, shortPath, size);
}
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
    return ::WritePrivateProfileStringA(section, key, value, fileName);
}
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                               LPCSTR fileName) {
    return ::GetPrivateProfileStringA(section, key, defaultValue, buffer, size, fileName);
}
void Sleep(DWORD milliseconds) { ::Sleep(milliseconds); }

} // namespace platform

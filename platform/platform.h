// Every call the installer makes into Windows, one line each.
// The production backend forwards each to the Win32 call of the same name;
// the host tests link a scripted fake instead.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <lzexpand.h>

namespace platform {

// Window manager: classes, windows, message loop.
ATOM RegisterClassA(const WNDCLASSA* windowClass);
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wordParam, LPARAM longParam);
BOOL ShowWindow(HWND window, int showCommand);
BOOL UpdateWindow(HWND window);
BOOL GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax);
BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageA(const MSG* message);
void PostQuitMessage(int exitCode);
HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC dialogProc, LPARAM initParam);
HWND CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialogTemplate, HWND parent, DLGPROC dialogProc,
                                LPARAM initParam);
HMENU LoadMenuIndirectA(const void* menuTemplate);
BOOL DestroyWindow(HWND window);
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferSize);
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
int GetSystemMetrics(int index);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wordParam, LPARAM longParam);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL GetClientRect(HWND window, LPRECT rect);
HDC BeginPaint(HWND window, LPPAINTSTRUCT paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
BOOL SystemParametersInfoA(UINT action, UINT param, PVOID data, UINT flags);

// Graphics device interface.
int GetDeviceCaps(HDC dc, int index);
HGDIOBJ GetStockObject(int object);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size);
HPALETTE CreatePalette(const LOGPALETTE* palette);
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
UINT RealizePalette(HDC dc);
BOOL DeleteObject(HGDIOBJ object);
int StretchDIBits(HDC dc, int destX, int destY, int destWidth, int destHeight, int srcX, int srcY, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);

// Kernel: resources and global memory.
HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
HRSRC FindResourceExA(HMODULE module, LPCSTR type, LPCSTR name, WORD language);
DWORD SizeofResource(HMODULE module, HRSRC resource);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL resourceData);
BOOL FreeResource(HGLOBAL resourceData);
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
LPVOID GlobalLock(HGLOBAL memory);
BOOL GlobalUnlock(HGLOBAL memory);
HGLOBAL GlobalFree(HGLOBAL memory);

// Kernel: languages and code pages.
LANGID GetUserDefaultUILanguage();
LANGID SetThreadUILanguage(LANGID language);
UINT GetACP();
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR text, int length, LPSTR buffer, int bufferSize,
                        LPCSTR defaultChar, LPBOOL usedDefaultChar);

// Kernel: modules and the DLL search order.
HMODULE GetModuleHandleA(LPCSTR moduleName);
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
BOOL SetDllDirectoryA(LPCSTR path);
HMODULE LoadLibraryExA(LPCSTR fileName, HANDLE reserved, DWORD flags);
HANDLE GetCurrentProcess();

// Kernel: directories, files, profiles, time.
UINT GetSystemDirectoryA(LPSTR buffer, UINT size);
UINT GetWindowsDirectoryA(LPSTR buffer, UINT size);
DWORD SearchPathA(LPCSTR path, LPCSTR fileName, LPCSTR extension, DWORD bufferLength, LPSTR buffer, LPSTR* filePart);
HANDLE CreateFileA(LPCSTR fileName, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                   DWORD flags, HANDLE templateFile);
BOOL WriteFile(HANDLE file, LPCVOID data, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED overlapped);
BOOL ReadFile(HANDLE file, LPVOID data, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped);
BOOL CloseHandle(HANDLE handle);
BOOL DeleteFileA(LPCSTR fileName);
BOOL MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags);
DWORD GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD size);
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                               LPCSTR fileName);
void Sleep(DWORD milliseconds);

// Windows Vista's kernel and the shell: bound at run time, they fail where the
// system lacks them.
HRESULT SHGetFolderPathA(HWND owner, int folder, HANDLE token, DWORD flags, LPSTR path);
DWORD GetFinalPathNameByHandleA(HANDLE file, LPSTR path, DWORD size, DWORD flags);
BOOL SetFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS infoClass, LPVOID info, DWORD size);

// LZ expansion library.
INT LZOpenFileA(LPSTR fileName, LPOFSTRUCT openInfo, WORD style);
LONG LZCopy(INT source, INT destination);
void LZClose(INT handle);

} // namespace platform

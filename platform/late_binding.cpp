// Calls the installer makes only where the system has them: the kernel's since
// Windows Vista (a static import would keep the installer from starting on XP)
// and the shell's (its DLL is loaded by full path, like LZ32). Each is looked
// up on first use and fails as the system would without it.
#include "platform/system_dll.h"

namespace platform {
namespace {

using SHGetFolderPathAFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
using GetFinalPathNameByHandleAFunction = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
using SetFileInformationByHandleFunction = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);

template <typename Function> Function FromKernel(const char* name) {
    return FindFunction<Function>(::GetModuleHandleA("kernel32.dll"), name);
}

} // namespace

HRESULT SHGetFolderPathA(HWND owner, int folder, HANDLE token, DWORD flags, LPSTR path) {
    static const auto bound = FindFunction<SHGetFolderPathAFunction>(LoadSystemDll("shell32.dll"), "SHGetFolderPathA");
    return bound != nullptr ? bound(owner, folder, token, flags, path) : E_NOTIMPL;
}

DWORD GetFinalPathNameByHandleA(HANDLE file, LPSTR path, DWORD size, DWORD flags) {
    static const auto bound = FromKernel<GetFinalPathNameByHandleAFunction>("GetFinalPathNameByHandleA");
    if (bound != nullptr) return bound(file, path, size, flags);
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return 0;
}

BOOL SetFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS infoClass, LPVOID info, DWORD size) {
    static const auto bound = FromKernel<SetFileInformationByHandleFunction>("SetFileInformationByHandle");
    if (bound != nullptr) return bound(file, infoClass, info, size);
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}

} // namespace platform

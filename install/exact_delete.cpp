#include "install/exact_delete.h"

#include "install/locations.h"
#include "install/path_compare.h"

namespace {

// GetFinalPathNameByHandleA names a file on a drive as \\?\C:\...
const char FinalPathPrefix[] = "\\\\?\\";

bool IsPath(const char* finalPath, const char* path) {
    for (const char* prefix = FinalPathPrefix; *prefix != '\0'; ++prefix, ++finalPath)
        if (*finalPath != *prefix) return false;
    return SamePath(finalPath, path);
}

} // namespace

void DeleteExactly(const char* path) {
    // A link at the name itself is opened as the link, not followed.
    const HANDLE file = platform::CreateFileA(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                              nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    // Every junction and link on the way resolved: the path the handle really has.
    char finalPath[PathSize + sizeof FinalPathPrefix];
    const DWORD length =
        platform::GetFinalPathNameByHandleA(file, finalPath, sizeof finalPath, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length > 0 && length < sizeof finalPath && IsPath(finalPath, path)) {
        // Through the handle checked, not by name again: nothing can be swapped in between.
        FILE_DISPOSITION_INFO disposition = {TRUE};
        platform::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
    }
    platform::CloseHandle(file);
}

#include "install/payload.h"

#include "app/app_state.h"
#include "install/locations.h"
#include "resources/resource_ids.h"

const char PayloadName[] = "program";
const char PayloadType[] = "DATA";

Failure LoadPayload(Payload& payload, LPCSTR name, LPCSTR type) {
    HRSRC found = platform::FindResourceA(app.instance, name, type);
    payload.size = found != nullptr ? platform::SizeofResource(app.instance, found) : 0;
    HGLOBAL loaded = found != nullptr ? platform::LoadResource(app.instance, found) : nullptr;
    if (loaded == nullptr) return {IDS_PAYLOAD_NOT_LOADED, IDS_RESOURCE_ERROR_CAPTION};
    payload.bytes = platform::LockResource(loaded);
    if (payload.bytes == nullptr) return {IDS_PAYLOAD_NOT_LOCKED, IDS_RESOURCE_ERROR_CAPTION};
    return NoFailure;
}

Failure ExtractPayload(const char* tempPath, const Payload& payload) {
    HANDLE file =
        platform::CreateFileA(tempPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {IDS_TEMP_NOT_CREATED, IDS_INSTALL_ERROR_CAPTION};
    DWORD written = 0;
    // A write that stops short (a full disk) leaves a truncated payload.
    const bool whole =
        platform::WriteFile(file, payload.bytes, payload.size, &written, nullptr) && written == payload.size;
    platform::CloseHandle(file);
    if (!whole) return {IDS_TEMP_NOT_WRITTEN, IDS_INSTALL_ERROR_CAPTION};
    return NoFailure;
}

LONG ExpandPayload(const char* sourcePath, const char* targetPath) {
    // LZOpenFileA takes writable names.
    char source[PathSize];
    char target[PathSize];
    ComposePath(source, sourcePath, "");
    ComposePath(target, targetPath, "");

    OFSTRUCT openInfo = {};
    // A failed open is not tested here: its error code makes LZCopy fail.
    const INT sourceFile = platform::LZOpenFileA(source, &openInfo, OF_READ);
    const INT targetFile = platform::LZOpenFileA(target, &openInfo, OF_CREATE);
    const LONG result = platform::LZCopy(sourceFile, targetFile);
    // A negative handle is an error code, not a file to close.
    if (sourceFile >= 0) platform::LZClose(sourceFile);
    if (targetFile >= 0) platform::LZClose(targetFile);
    return result;
}

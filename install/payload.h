// The compressed screen saver carried in the resources.
#pragma once

#include "app/messages.h"

extern const char PayloadName[]; // "program"
extern const char PayloadType[]; // "DATA"

struct Payload {
    const void* bytes;
    DWORD size;
};

// Finds and locks the resource name of type; what failed, if anything.
Failure LoadPayload(Payload& payload, LPCSTR name, LPCSTR type);
// Writes the whole payload to tempPath; what failed, if anything. A file it
// could not write whole stays for the caller to remove.
Failure ExtractPayload(const char* tempPath, const Payload& payload);
// Expands the SZDD file sourcePath into targetPath: bytes written, or 0 or less on failure.
LONG ExpandPayload(const char* sourcePath, const char* targetPath);

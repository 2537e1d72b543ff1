// The compressed screen saver carried in the resources.
#pragma once

#include "platform/platform.h"

extern const char PayloadName[]; // "program"
extern const char PayloadType[]; // "DATA"

// Writes the whole resource to tempPath; reports its own failures.
BOOL ExtractPayload(const char* tempPath, LPCSTR name, LPCSTR type);
// Expands the SZDD file sourcePath into targetPath: bytes written, or 0 or less on failure.
LONG ExpandPayload(const char* sourcePath, const char* targetPath);

// SZDD carries no checksum: the build records the CRC-32 and length of the
// program it compressed and of the compressed payload itself, and the installer
// compares the payload with them before it changes anything, and the expanded
// file after.
#pragma once

#include "platform/platform.h"

extern const char PayloadCheckName[]; // "programCRC", of the payload's type

// True when size bytes at payload are exactly the compressed file the build
// made. A missing record or a difference is false: a damaged installer.
BOOL PayloadMatchesRecord(const void* payload, DWORD size);
// True when the file at path is exactly the program the build compressed. A
// missing record, a file that cannot be read back or a difference is false.
BOOL ExpandedFileMatchesPayload(const char* path);

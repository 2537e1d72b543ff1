// SZDD carries no checksum: the build records the CRC-32 and length of the
// program it compressed, and the installer compares the expanded file with them.
#pragma once

#include "platform/platform.h"

extern const char PayloadCheckName[]; // "programCRC", of the payload's type

// True when the file at path is exactly the program the build compressed. A
// missing record, a file that cannot be read back or a difference is false.
BOOL ExpandedFileMatchesPayload(const char* path);

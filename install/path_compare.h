// File names and paths compared the way the file system compares them, the same
// in every locale. A locale's own rules must not decide whether a setting names
// our file: under Turkish, I and i are two different letters.
#pragma once

// True when both name the same file in the same spelling apart from the case of
// ASCII letters. Our names are ASCII and so are Windows' directories; any other
// byte is compared exactly, as is the byte after it, which may be the second byte
// of a double-byte character (Japanese, Chinese, Korean code pages) whose value
// looks like a letter.
bool SamePath(const char* first, const char* second);

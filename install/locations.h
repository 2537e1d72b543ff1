// The two directories and three file names the installer works with.
#pragma once

#include "platform/platform.h"

constexpr int DirectorySize = 100;
constexpr int PathSize = 300;

struct InstallLocations {
    char SystemDir[DirectorySize];  // ends in a backslash, or empty when unknown
    char WindowsDir[DirectorySize]; // ends in a backslash, or empty when unknown
    // On 64-bit Windows this 32-bit program's System directory is really
    // SysWOW64, while the Screen Saver settings list the real System32, which it
    // reaches as <Windows>\Sysnative\. Empty elsewhere.
    char NativeSystemDir[DirectorySize];
    // <the user's local application data>\VirtualStore\: where Windows keeps
    // what a program without rights wrote into the Windows directory. Always on
    // a drive (C:\...); empty where there is none.
    char VirtualStoreDir[PathSize];
};

struct InstallNames {
    char TempName[20];
    char ScrName[100];
    char PrefsName[100];
};

extern InstallLocations locations;
extern InstallNames names;

void LoadInstallSettings();
// directory followed directly by name, in a PathSize buffer.
void ComposePath(char (&path)[PathSize], const char* directory, const char* name);
// Where Windows keeps a program's writes to directory + name when it has no
// rights there: VirtualStoreDir followed by directory without its drive. False
// when there is no such place.
bool ComposeVirtualStorePath(char (&path)[PathSize], const char* directory, const char* name);
// Non-zero exactly when name exists in directory itself.
DWORD IsPresentIn(const char* directory, const char* name);

// The two directories and three file names the installer works with.
#pragma once

#include "platform/platform.h"

constexpr int DirectorySize = 100;
constexpr int PathSize = 300;

struct InstallLocations {
    char SystemDir[DirectorySize];  // ends in a backslash, or empty when unknown
    char WindowsDir[DirectorySize]; // ends in a backslash, or empty when unknown
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
// Non-zero exactly when name exists in directory itself.
DWORD IsPresentIn(const char* directory, const char* name);

// Blanks in the short texts the saver reads: its command line and the values
// of its preferences file.
#pragma once

inline bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

inline const char* SkipSpaces(const char* text) {
    while (IsSpace(*text)) ++text;
    return text;
}

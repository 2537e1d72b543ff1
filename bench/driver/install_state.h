// The machine state an install changes, reset before every run and checked
// after it, so that every run does the whole job and runs stay comparable.
#pragma once

#include <string>

namespace bench {

// No installed screen saver, no [boot] SCRNSAVE.EXE in system.ini, screen saving off.
void ResetInstallState();
// Empty when the Windows directory holds exactly the bytes of expectedScr as
// Quorvane.scr, system.ini names it and screen saving is on; else what is wrong.
std::string CheckInstalled(const std::string& expectedScr);
// Empty when path holds exactly the bytes of expectedScr.
std::string CheckSameBytes(const std::string& path, const std::string& expectedScr);

} // namespace bench

// Checks that the benchmark's own checks catch a run that did not do the job,
// so that no figure of a failed install reaches the report.
#pragma once

#include "driver/install_runs.h"

namespace bench {

// Runs every check; prints each failure and returns how many there were.
// paths.ourInstaller is an installer without its payload here; shortPauseInstaller
// is bench/checks/short_pause_installer.exe.
int RunSelfCheck(const BenchPaths& paths, const std::string& shortPauseInstaller, const std::string& scratchFolder);

} // namespace bench

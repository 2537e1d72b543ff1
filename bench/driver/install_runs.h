// One timed run of each program the benchmark compares. Each run starts from
// ResetInstallState, checks that the job was really done, and appends its
// figures; on failure it returns what went wrong instead.
#pragma once

#include <string>
#include <vector>

namespace bench {

struct BenchPaths {
    std::string ourInstaller;
    std::string nsisInstaller;
    std::string bareWindow;
    std::string lzFloor;
    std::string payload; // the SZDD bytes our installer carries
    std::string screenSaver;
};

struct Figure {
    std::string subject; // ours, nsis, bare, floor
    std::string metric;  // for example startup_ms
    double value;
};
using Figures = std::vector<Figure>;

// The pause the installer holds its progress window for; the benchmark
// subtracts it only after seeing the progress window last at least as long.
constexpr double InstallPauseMilliseconds = 2000.0;
// How late the driver may see a window come or go and still trust the lifetime.
constexpr double PollLatenessMilliseconds = 30.0;

std::string RunOurInstaller(const BenchPaths& paths, Figures& figures);
std::string RunNsisInstaller(const BenchPaths& paths, Figures& figures);
std::string RunBareWindow(const BenchPaths& paths, Figures& figures);
std::string RunLzFloor(const BenchPaths& paths, Figures& figures);

} // namespace bench

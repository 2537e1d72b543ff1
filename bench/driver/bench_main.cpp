// The benchmark's driver, run under Wine in the benchmark's prefix:
//   bench_driver.exe sizes <installer.exe>
//       prints payload_bytes=<program DATA> banner_bytes=<installBMP BITMAP>
//       icon_bytes=<every RT_ICON image>
//   bench_driver.exe extract-payload <installer.exe> <file>
//       writes the payload's bytes to file; exits 1 when the exe carries none
//   bench_driver.exe measure <iterations> <warm-up iterations> <ours.exe> <nsis.exe>
//                    <bare_window.exe> <lz_floor.exe> <payload file> <Quorvane.scr>
//       runs ours and NSIS alternately, then both floors, and prints one line
//       per figure: <iteration> TAB <subject> TAB <metric> TAB <value>
//   bench_driver.exe check <installer without payload> <short_pause_installer.exe> <lz_floor.exe>
//                    <payload file> <Quorvane.scr> <scratch folder>
//       checks that the benchmark's checks catch a run that did not do the job
#include "driver/install_runs.h"
#include "driver/install_state.h"
#include "driver/self_check.h"
#include "tests/wine/driver.h"
#include "tests/wine/module_resources.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using namespace bench;

int PrintSizes(const std::string& installer) {
    const auto payload = driver::ReadPayload(installer);
    const auto banner = driver::ReadBanner(installer);
    std::printf("payload_bytes=%u banner_bytes=%u icon_bytes=%u\n", unsigned(payload.size()),
                unsigned(banner.size()), unsigned(driver::IconImageBytes(installer)));
    return 0;
}

int ExtractPayload(const std::string& installer, const std::string& file) {
    const auto payload = driver::ReadPayload(installer);
    if (payload.empty()) return 1;
    return driver::WriteBytes(file, payload) ? 0 : 2;
}

using Run = std::string (*)(const BenchPaths&, Figures&);

int Measure(int iterations, int warmups, const BenchPaths& paths) {
    struct Subject {
        const char* name;
        Run run;
    };
    const Subject ours{"ours", RunOurInstaller}, nsis{"nsis", RunNsisInstaller};
    const Subject floors[] = {{"bare", RunBareWindow}, {"floor", RunLzFloor}};
    // Wine starts its desktop process for the first program that needs it: not inside a timed start-up.
    GetDesktopWindow();
    for (int iteration = 1 - warmups; iteration <= iterations; ++iteration) {
        // Alternate which installer goes first, so neither always follows the other.
        const Subject order[] = {iteration % 2 ? ours : nsis, iteration % 2 ? nsis : ours, floors[0], floors[1]};
        for (const Subject& subject : order) {
            Figures figures;
            const std::string error = subject.run(paths, figures);
            if (!error.empty()) {
                std::fprintf(stderr, "bench_driver: %s run %d: %s\n", subject.name, iteration, error.c_str());
                return 1;
            }
            if (iteration < 1) continue;
            for (const Figure& figure : figures)
                std::printf("%d\t%s\t%s\t%.3f\n", iteration, figure.subject.c_str(), figure.metric.c_str(),
                            figure.value);
            std::fflush(stdout);
        }
    }
    ResetInstallState();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "sizes") == 0) return PrintSizes(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "extract-payload") == 0) return ExtractPayload(argv[2], argv[3]);
    if (argc == 10 && std::strcmp(argv[1], "measure") == 0) {
        const BenchPaths paths{argv[4], argv[5], argv[6], argv[7], argv[8], argv[9]};
        return Measure(std::atoi(argv[2]), std::atoi(argv[3]), paths);
    }
    if (argc == 8 && std::strcmp(argv[1], "check") == 0) {
        BenchPaths paths;
        paths.ourInstaller = argv[2];
        paths.lzFloor = argv[4];
        paths.payload = argv[5];
        paths.screenSaver = argv[6];
        const int failures = RunSelfCheck(paths, argv[3], argv[7]);
        std::printf("bench_driver check: %d failure(s)\n", failures);
        return failures == 0 ? 0 : 1;
    }
    std::fprintf(stderr, "usage: see the head of bench/driver/bench_main.cpp\n");
    return 2;
}

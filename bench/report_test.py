"""The report's arithmetic and parsing: a wrong median, overhead or verdict
would put a false figure in docs/benchmarks.md."""
import argparse
import os
import subprocess
import tempfile
import unittest

import report

MAKENSIS_LOG = """MakeNSIS v3.08-3+deb12u1 - Copyright 1999-2021 Contributors
File: "Quorvane.scr" [compress] 21088/40448 bytes
File: "System.dll"->"$PLUGINSDIR\\System.dll" [compress] 14489/29696 bytes
Processed 1 file, writing output (x86-unicode):
Using zlib compression.

EXE header size:               91136 / 92672 bytes
Total size:                   127808 / 167882 bytes (76.1%)
"""

LOADDLL = """0100:trace:loaddll:build_module Loaded L"Z:\\\\bench\\\\bench_driver.exe" at 00400000: native
0108:trace:loaddll:build_module Loaded L"Z:\\\\build\\\\QuorvaneSetup.exe" at 00400000: native
0108:trace:loaddll:build_module Loaded L"C:\\\\windows\\\\system32\\\\kernel32.dll" at 7B600000: builtin
0108:fixme:imm:ImeSetActiveContext (0x12345, 1): stub
0108:trace:loaddll:build_module Loaded L"C:\\\\windows\\\\system32\\\\user32.dll" at 7B700000: builtin
0110:trace:loaddll:build_module Loaded L"Z:\\\\build\\\\QuorvaneSetup.exe" at 00400000: native
0110:trace:loaddll:build_module Loaded L"C:\\\\windows\\\\system32\\\\kernel32.dll" at 7B600000: builtin
"""


def figures(**medians):
    """A complete set of figures, each run twice around the given median (default 10)."""
    names = {
        "ours": ["startup_ms", "install_ms", "progress_ms", "to_progress_ms", "to_box_ms", "peak_ws_kib"],
        "nsis": ["startup_ms", "install_ms", "window_to_exit_ms", "peak_ws_kib"],
        "bare": ["startup_ms", "dialog_ms", "dialog_paint_ms", "box_ms", "peak_ws_kib", "peak_ws_windows_kib"],
        "floor": ["load_ms", "write_ms", "expand_ms", "work_ms"],
    }
    lines = []
    for subject, metrics in names.items():
        for metric in metrics:
            median = medians.get(f"{subject}_{metric}", 10.0)
            lines += [f"1\t{subject}\t{metric}\t{median - 1}\r\n", f"2\t{subject}\t{metric}\t{median + 1}\r\n"]
    return report.read_figures(lines)


SIZES = {"ours_exe": 82432, "payload_bytes": 24653, "banner_bytes": 27144, "icon_bytes": 766, "nsis_exe": 127808,
         "nsis_scr_compressed": 21088, "nsis_icon_bytes": 1000, "bare_exe": 16384}


class ReadingTest(unittest.TestCase):
    def test_figures_group_by_subject_and_metric_and_skip_other_lines(self):
        read = report.read_figures(["1\tours\tstartup_ms\t100.5\r\n", "bench_driver: noise\n",
                                    "2\tours\tstartup_ms\t90.000\n", "1\tnsis\tstartup_ms\t200\n"])
        self.assertEqual({("ours", "startup_ms"): [100.5, 90.0], ("nsis", "startup_ms"): [200.0]}, dict(read))

    def test_sizes_line(self):
        self.assertEqual({"payload_bytes": 24653, "banner_bytes": 27144},
                         report.parse_sizes("payload_bytes=24653 banner_bytes=27144\n"))

    def test_makensis_log_gives_version_compressor_target_and_compressed_screen_saver(self):
        self.assertEqual({"version": "3.08-3+deb12u1", "compressor": "zlib", "target": "x86-unicode",
                          "scr_compressed_bytes": 21088}, report.parse_makensis(MAKENSIS_LOG))

    def test_loaddll_lists_the_first_process_of_each_exe_without_the_exe(self):
        loaded = report.parse_loaddll(LOADDLL)
        self.assertEqual(["kernel32.dll", "user32.dll"], loaded["QuorvaneSetup.exe"])
        self.assertEqual([], loaded["bench_driver.exe"])


class FiguresTest(unittest.TestCase):
    def test_median_and_spread(self):
        summary = report.Summary(figures(ours_startup_ms=50.0), SIZES)
        self.assertEqual(50.0, summary.median("ours", "startup_ms"))
        self.assertEqual((49.0, 51.0), summary.spread("ours", "startup_ms"))
        with self.assertRaises(KeyError):
            summary.median("ours", "no_such_ms")

    def test_overheads_subtract_payload_banner_and_icon_from_ours_and_the_compressed_file_and_icon_from_nsis(self):
        self.assertEqual((82432 - 24653 - 27144 - 766, 127808 - 21088 - 1000), report.overheads(SIZES))

    def test_install_floor_is_the_two_windows_and_the_file_work_and_the_paint_only_when_seen(self):
        seen = figures(bare_dialog_ms=8.0, bare_dialog_paint_ms=4.0, bare_box_ms=20.0, floor_work_ms=2.0)
        self.assertEqual(34.0, report.install_floor(report.Summary(seen, SIZES)))
        del seen[("bare", "dialog_paint_ms")]
        self.assertEqual(30.0, report.install_floor(report.Summary(seen, SIZES)))

    def test_verdicts_at_and_just_past_each_goal(self):
        floors = dict(bare_startup_ms=100.0, bare_dialog_ms=10.0, bare_dialog_paint_ms=0.0, bare_box_ms=10.0,
                      floor_work_ms=5.0, bare_peak_ws_windows_kib=1000.0)
        at = figures(ours_startup_ms=110.0, ours_install_ms=30.0, ours_peak_ws_kib=1050.0, **floors)
        past = figures(ours_startup_ms=110.5, ours_install_ms=30.5, ours_peak_ws_kib=1051.0, **floors)
        overhead = 24653 + 27144 + 766
        for label, table, exe, met in (("at", at, 40 * 1024 + overhead, True), ("past", past, 40 * 1024 + 1 + overhead,
                                                                              False)):
            judged = report.verdicts(report.Summary(table, dict(SIZES, ours_exe=exe)))
            self.assertEqual(["startup", "install", "overhead", "working_set"], [v.figure.key for v in judged])
            self.assertEqual([met] * 4, [v.met for v in judged], label)

    def test_readings_name_the_floor_or_the_size(self):
        judged = report.verdicts(report.Summary(figures(ours_startup_ms=104.0, bare_startup_ms=100.0), SIZES))
        self.assertEqual(("1.04 x its floor", "at most 1.1 x"), report.reading(judged[0]))
        self.assertEqual(("29.2 KiB", "at most 40.0 KiB"), report.reading(judged[2]))


class ChartTest(unittest.TestCase):
    def test_chart_is_a_png_with_a_row_for_each_figure(self):
        summary = report.Summary(figures(nsis_startup_ms=300.0, ours_startup_ms=150.0), SIZES)
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "chart.png")
            report.draw_chart(summary, path)
            size = subprocess.run(["identify", "-format", "%wx%h", path], capture_output=True, text=True).stdout
            self.assertEqual("800x420", size)  # five rows of three bars


class MarkdownTest(unittest.TestCase):
    INFO = {"date": "2026-01-01 00:00 UTC", "cores": 2, "cpu": "CPU", "memory": "1 GiB", "kernel": "6",
            "wine": "wine-8.0"}
    ARGS = argparse.Namespace(runs=2, warmups=1, load=["0.1", "0.2"], chart_link="chart.png", ours="ours.exe",
                              nsis="nsis.exe", bare="bare.exe")

    def write(self, table, loaded=None, imports=None):
        return report.markdown(report.Summary(table, SIZES), self.INFO, report.parse_makensis(MAKENSIS_LOG),
                               loaded or {}, imports or {}, self.ARGS)

    def test_goals_table_gives_each_verdict_against_its_floor(self):
        text = self.write(figures(ours_startup_ms=120.0, bare_startup_ms=100.0, ours_peak_ws_kib=1000.0,
                                  bare_peak_ws_windows_kib=1000.0))
        self.assertIn("| start-up to first visible window | 1.20 x its floor | at most 1.1 x | bare window | "
                      "**missed** |", text)
        self.assertIn("| peak working set | 1.00 x its floor | at most 1.05 x | bare window after a dialog and a box "
                      "| met |", text)
        self.assertIn("| installer's own overhead | 29.2 KiB | 103.2 KiB | 0.28 |", text)

    def test_phases_show_only_when_the_driver_saw_them_with_the_pause_subtracted(self):
        self.assertNotIn("compressed copy created", self.write(figures()))
        seen = figures(ours_progress_ms=2012.0)
        seen[("ours", "to_compressed_ms")] = [8.0]
        text = self.write(seen)
        self.assertIn("| ours: \"Installing\" window's lifetime, less the pause | 12.0 ms | 11.0 ms - 13.0 ms |", text)
        self.assertIn("| ours: of which window shown to compressed copy created | 8.0 ms | 8.0 ms - 8.0 ms |", text)

    def test_start_up_table_counts_the_dlls_of_each_program(self):
        loaded = {"ours.exe": ["kernel32.dll", "user32.dll"], "NSIS.EXE": ["kernel32.dll", "User32.dll", "shell32.dll"],
                  "bare.exe": ["kernel32.dll"]}
        imports = {"ours.exe": ["KERNEL32.dll", "USER32.dll"], "nsis.exe": ["SHELL32.dll"], "bare.exe": []}
        text = self.write(figures(), loaded, imports)
        self.assertIn("| ours | KERNEL32.dll, USER32.dll | 2 |", text)
        self.assertIn("| NSIS | SHELL32.dll | 3 |", text)


if __name__ == "__main__":
    unittest.main()

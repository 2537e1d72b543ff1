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


SIZES = {"ours_exe": 82432, "payload_bytes": 24653, "banner_bytes": 27144, "nsis_exe": 127808,
         "nsis_scr_compressed": 21088, "bare_exe": 16384}


class ReadingTest(unittest.TestCase):
    def test_figures_group_by_subject_and_metric_and_skip_other_lines(self):
        read = report.read_figures(["1\tours\tstartup_ms\t100.5\r\n", "bench_driver: noise\n",
                                    "2\tours\tstartup_ms\t90.000\n", "1\tnsis\tstartup_ms\t200\n"])
        self.assertEqual({("ours", "startup_ms"): [100.5, 90.0], ("nsis", "startup_ms"): [200.0]}, dict(read))

    def test_sizes_line(self):
        self.assertEqual({"payload_bytes": 24653, "banner_bytes": 27144},
                         report.parse_sizes("payload_bytes=24653 banner_bytes=27144\n"))

    def test_makensis_log_gives_compressor_header_and_compressed_screen_saver(self):
        parsed = report.parse_makensis(MAKENSIS_LOG)
        self.assertEqual("3.08-3+deb12u1", parsed["version"])
        self.assertEqual("zlib", parsed["compressor"])
        self.assertEqual("x86-unicode", parsed["target"])
        self.assertEqual(91136, parsed["header_bytes"])
        self.assertEqual(21088, parsed["scr_compressed_bytes"])
        self.assertEqual(40448, parsed["scr_bytes"])
        self.assertEqual(14489, parsed["plugin_compressed_bytes"])
        self.assertFalse(parsed["solid"])

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

    def test_overheads_subtract_payload_and_banner_from_ours_and_the_compressed_file_from_nsis(self):
        self.assertEqual((82432 - 24653 - 27144, 127808 - 21088), report.overheads(SIZES))

    def test_verdicts_at_and_just_past_each_goal(self):
        at_goals = figures(ours_startup_ms=100.0, nsis_startup_ms=200.0, ours_install_ms=20.0, floor_work_ms=10.0,
                           nsis_install_ms=20.0, ours_peak_ws_kib=700.0, nsis_peak_ws_kib=1000.0)
        goals = report.verdicts(report.Summary(at_goals, dict(SIZES, ours_exe=40960 + 24653 + 27144)))
        self.assertTrue(all(met for met, _ in goals.values()), goals)

        past_goals = figures(ours_startup_ms=100.5, nsis_startup_ms=200.0, ours_install_ms=20.5, floor_work_ms=10.0,
                             nsis_install_ms=20.0, ours_peak_ws_kib=701.0, nsis_peak_ws_kib=1000.0)
        goals = report.verdicts(report.Summary(past_goals, dict(SIZES, ours_exe=40961 + 24653 + 27144)))
        self.assertFalse(any(met for met, _ in goals.values()), goals)

    def test_more_or_less(self):
        self.assertEqual("2.5 ms more", report.more_or_less(2.5, report.ms))
        self.assertEqual("1.0 ms less", report.more_or_less(-1.0, report.ms))


class ChartTest(unittest.TestCase):
    def test_chart_is_a_png_with_a_row_for_each_figure(self):
        summary = report.Summary(figures(nsis_startup_ms=300.0, ours_startup_ms=150.0), SIZES)
        self.assertEqual(5, len(report.chart_bars(summary)))
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "chart.png")
            report.draw_chart(summary, path)
            with open(path, "rb") as png:
                self.assertEqual(b"\x89PNG", png.read(4))
            size = subprocess.run(["identify", "-format", "%wx%h", path], capture_output=True, text=True).stdout
            self.assertEqual("800x410", size)

    def test_install_work_carries_both_goals(self):
        summary = report.Summary(figures(nsis_install_ms=400.0, floor_work_ms=10.0), SIZES)
        install = report.chart_bars(summary)[1]
        self.assertEqual([1.0, 0.05], install[4])


class MarkdownTest(unittest.TestCase):
    INFO = {"date": "2026-01-01 00:00 UTC", "cores": 2, "cpu": "CPU", "memory": "1 GiB", "kernel": "6",
            "wine": "wine-8.0"}
    ARGS = argparse.Namespace(runs=2, warmups=1, load=["0.1", "0.2"], chart_link="chart.png", ours="ours.exe",
                              nsis="nsis.exe", bare="bare.exe")

    def write(self, **medians):
        return report.markdown(report.Summary(figures(**medians), SIZES), self.INFO,
                               report.parse_makensis(MAKENSIS_LOG), {}, {}, self.ARGS)

    def test_platform_floor_is_named_when_even_a_bare_window_misses_the_goal(self):
        text = self.write(ours_startup_ms=210.0, bare_startup_ms=200.0, nsis_startup_ms=250.0,
                          ours_peak_ws_kib=900.0, bare_peak_ws_kib=800.0, nsis_peak_ws_kib=1000.0)
        self.assertIn("Start-up: **missed**", text)
        self.assertIn("no program meets that goal on this platform", text)
        self.assertIn("ours takes 10.0 ms more than the bare window", text)
        self.assertIn("A bare window is already above 0.7 x NSIS's", text)

    def test_the_gap_is_ours_when_a_bare_window_meets_the_goal(self):
        text = self.write(ours_startup_ms=200.0, bare_startup_ms=50.0, nsis_startup_ms=250.0,
                          ours_peak_ws_kib=900.0, bare_peak_ws_kib=500.0, nsis_peak_ws_kib=1000.0)
        self.assertIn("A bare window meets the goal here, so the gap is ours.", text)
        self.assertIn("A bare window is within the goal here, so the excess is ours.", text)

    def test_file_phases_show_only_when_the_driver_saw_them(self):
        without = self.write()
        self.assertNotIn("compressed copy created", without)
        self.assertIn("Beyond the pause our progress window lasts -1990.0 ms; the floor", without)

        seen = figures(ours_progress_ms=2012.0)
        for metric, value in (("to_compressed_ms", 8.0), ("to_expanded_ms", 1.5), ("expanding_ms", 0.5),
                              ("pause_overrun_ms", 2.0)):
            seen[("ours", metric)] = [value]
        text = report.markdown(report.Summary(seen, SIZES), self.INFO, report.parse_makensis(MAKENSIS_LOG), {}, {},
                               self.ARGS)
        self.assertIn("| ours: \"Installing\" window's lifetime, less the pause | 12.0 ms | 11.0 ms - 13.0 ms |", text)
        self.assertIn("window shown to compressed copy created (first paint, resource found) | 8.0 ms |", text)
        self.assertIn("lasts 12.0 ms: 8.0 ms from its showing", text)
        self.assertIn("2.0 ms of Sleep's overrun and closing the window, and what is left, about 2.0 ms, writing", text)

    def test_start_up_table_counts_dlls_and_names_what_only_nsis_loads(self):
        loaded = {"ours.exe": ["kernel32.dll", "user32.dll"], "NSIS.EXE": ["kernel32.dll", "User32.dll", "shell32.dll"],
                  "bare.exe": ["kernel32.dll", "user32.dll"]}
        imports = {"ours.exe": ["KERNEL32.dll", "USER32.dll"], "nsis.exe": ["SHELL32.dll"], "bare.exe": []}
        text = report.markdown(report.Summary(figures(), SIZES), self.INFO, report.parse_makensis(MAKENSIS_LOG),
                               loaded, imports, self.ARGS)
        self.assertIn("| ours | KERNEL32.dll, USER32.dll | 2 |", text)
        self.assertIn("| NSIS | SHELL32.dll | 3 |", text)
        self.assertIn("NSIS loads, beyond what a bare window loads: shell32.dll.", text)

    def test_a_bare_window_slower_than_ours_and_no_timed_paint(self):
        unpainted = figures(ours_startup_ms=100.0, bare_startup_ms=120.0, bare_dialog_ms=8.0, bare_box_ms=20.0,
                            floor_work_ms=2.0)
        del unpainted[("bare", "dialog_paint_ms")]
        text = report.markdown(report.Summary(unpainted, SIZES), self.INFO, report.parse_makensis(MAKENSIS_LOG), {},
                               {}, self.ARGS)
        self.assertIn("ours takes 20.0 ms less than the bare window: the difference is within the runs' spread", text)
        self.assertNotIn("that dialog's first paint", text)
        self.assertIn("its least for an install that shows them is 30.0 ms", text)

    def test_met_goals_carry_no_excuse(self):
        text = self.write(ours_startup_ms=50.0, nsis_startup_ms=250.0, ours_install_ms=15.0, floor_work_ms=10.0,
                          nsis_install_ms=100.0, ours_peak_ws_kib=500.0, nsis_peak_ws_kib=1000.0)
        self.assertNotIn("**missed**", text)
        self.assertNotIn("most of any start-up is the platform's", text)
        self.assertNotIn("the goal's floor does not count them", text)
        self.assertNotIn("mostly Wine's own libraries", text)
        self.assertIn("| installer's own overhead | 29.9 KiB | 104.2 KiB | 0.29 |", text)


if __name__ == "__main__":
    unittest.main()

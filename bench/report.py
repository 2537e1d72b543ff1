#!/usr/bin/env python3
"""Turns one bench/run's figures into docs/benchmarks.md and its chart.

The driver's figures come as lines <iteration> TAB <subject> TAB <metric> TAB
<value>; sizes are read from the files; the chart is drawn with ImageMagick.
"""
import argparse
import datetime
import os
import platform
import re
import statistics
import subprocess
from collections import defaultdict

BANNER_BYTES = 27144  # fixed by the banner's format
OVERHEAD_GOAL_BYTES = 40 * 1024
STARTUP_GOAL = 0.5  # of NSIS's
INSTALL_FLOOR_GOAL = 2.0  # times the LZ floor
WORKING_SET_GOAL = 0.7  # of NSIS's
PAUSE_MS = 2000.0
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"


# ---- reading ---------------------------------------------------------------

def read_figures(lines):
    """{(subject, metric): [values]} from the driver's lines, in run order."""
    figures = defaultdict(list)
    for line in lines:
        fields = line.strip().split("\t")
        if len(fields) != 4:
            continue
        _, subject, metric, value = fields
        figures[(subject, metric)].append(float(value))
    return figures


def parse_sizes(text):
    """payload_bytes=N banner_bytes=N as a dict of ints."""
    return {key: int(value) for key, value in re.findall(r"(\w+)=(\d+)", text)}


def parse_makensis(log):
    """What makensis said about the build: compressor, target, header, the screen saver's compressed size."""
    found = {}
    patterns = {
        "version": r"MakeNSIS v(\S+)",
        "compressor": r"Using (\w+) compression",
        "target": r"writing output \(([\w-]+)\)",
        "header_bytes": r"EXE header size:\s+(\d+) /",
        "scr_compressed_bytes": r'File: "Quorvane\.scr".*\[compress\] (\d+)/\d+ bytes',
        "scr_bytes": r'File: "Quorvane\.scr".*\[compress\] \d+/(\d+) bytes',
        "plugin_compressed_bytes": r'File: "System\.dll".*\[compress\] (\d+)/\d+ bytes',
    }
    for key, pattern in patterns.items():
        match = re.search(pattern, log)
        if match:
            value = match.group(1)
            found[key] = int(value) if value.isdigit() else value
    found["solid"] = bool(re.search(r"SetCompressor: /SOLID", log))
    return found


def parse_loaddll(text):
    """{exe base name: [DLL base names]} from WINEDEBUG=+loaddll output, first process of each exe."""
    by_process = defaultdict(list)
    for pid, path in re.findall(r'^(\w+):trace:loaddll:\w+ Loaded L"([^"]+)"', text, re.M):
        by_process[pid].append(path.replace("\\\\", "\\").split("\\")[-1])
    loaded = {}
    for modules in by_process.values():
        exe = modules[0]
        if exe.lower().endswith(".exe") and exe not in loaded:
            loaded[exe] = modules[1:]
    return loaded


def imports(objdump, exe):
    output = subprocess.run([objdump, "-p", exe], capture_output=True, text=True, check=True).stdout
    return re.findall(r"DLL Name: (\S+)", output)


# ---- figures ---------------------------------------------------------------

class Summary:
    """Medians and ranges of every figure, and the sizes."""

    def __init__(self, figures, sizes):
        self.figures = figures
        self.sizes = sizes

    def median(self, subject, metric):
        values = self.figures.get((subject, metric))
        if not values:
            raise KeyError(f"no figure {subject} {metric}")
        return statistics.median(values)

    def spread(self, subject, metric):
        values = self.figures[(subject, metric)]
        return min(values), max(values)

    def runs(self, subject, metric):
        return len(self.figures.get((subject, metric), []))


def overheads(sizes):
    """The installers' own weight: ours less payload and banner, NSIS's less the compressed screen saver."""
    ours = sizes["ours_exe"] - sizes["payload_bytes"] - sizes["banner_bytes"]
    nsis = sizes["nsis_exe"] - sizes["nsis_scr_compressed"]
    return ours, nsis


def verdicts(summary):
    """{goal: (met, sentence)} for the issue's four goals."""
    startup = summary.median("ours", "startup_ms")
    nsis_startup = summary.median("nsis", "startup_ms")
    install = summary.median("ours", "install_ms")
    nsis_install = summary.median("nsis", "install_ms")
    floor = summary.median("floor", "work_ms")
    ours_ws = summary.median("ours", "peak_ws_kib")
    nsis_ws = summary.median("nsis", "peak_ws_kib")
    ours_overhead, _ = overheads(summary.sizes)
    return {
        "startup": (startup <= STARTUP_GOAL * nsis_startup,
                    f"start-up {startup / nsis_startup:.2f} x NSIS's (goal at most {STARTUP_GOAL})"),
        "install_floor": (install <= INSTALL_FLOOR_GOAL * floor,
                          f"install work {install / floor:.1f} x its floor (goal at most {INSTALL_FLOOR_GOAL:g})"),
        "install_nsis": (install <= nsis_install,
                         f"install work {install / nsis_install:.2f} x NSIS's (goal at most 1)"),
        "overhead": (ours_overhead <= OVERHEAD_GOAL_BYTES,
                     f"overhead {ours_overhead / 1024:.1f} KiB (goal at most 40 KiB)"),
        "working_set": (ours_ws <= WORKING_SET_GOAL * nsis_ws,
                        f"peak working set {ours_ws / nsis_ws:.2f} x NSIS's (goal at most {WORKING_SET_GOAL})"),
    }


# ---- writing ---------------------------------------------------------------

def kib(size):
    return f"{size / 1024:.1f} KiB"


def ms(value):
    return f"{value:.1f} ms"


def mib(kibibytes):
    return f"{kibibytes / 1024:.1f} MiB"


def more_or_less(difference, unit):
    """'12.0 ms more' or '3.0 ms less'."""
    return f"{unit(abs(difference))} {'more' if difference >= 0 else 'less'}"


def machine():
    model = "unknown"
    with open("/proc/cpuinfo") as cpuinfo:
        for line in cpuinfo:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo") as meminfo:
        memory_kib = int(re.search(r"MemTotal:\s+(\d+)", meminfo.read()).group(1))
    wine = subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip()
    return {
        "cores": len(os.sched_getaffinity(0)),
        "cpu": model,
        "memory": f"{memory_kib / 1024 / 1024:.1f} GiB",
        "kernel": platform.release(),
        "wine": wine,
        "date": datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC"),
    }


def chart_bars(summary):
    """(label, NSIS, ours, floor, goals as fractions of NSIS, unit formatter, floor's name)."""
    sizes = summary.sizes
    ours_overhead, nsis_overhead = overheads(sizes)
    nsis_install, floor = summary.median("nsis", "install_ms"), summary.median("floor", "work_ms")
    return [
        ("Start-up", summary.median("nsis", "startup_ms"), summary.median("ours", "startup_ms"),
         summary.median("bare", "startup_ms"), [STARTUP_GOAL], ms, "bare window"),
        ("Install work", nsis_install, summary.median("ours", "install_ms"), floor,
         [1.0, INSTALL_FLOOR_GOAL * floor / nsis_install], ms, "LZ floor"),
        ("Exe size", sizes["nsis_exe"], sizes["ours_exe"], sizes["bare_exe"], [], kib, "bare window"),
        ("Own overhead", nsis_overhead, ours_overhead, sizes["bare_exe"], [OVERHEAD_GOAL_BYTES / nsis_overhead], kib,
         "bare window"),
        ("Peak working set", summary.median("nsis", "peak_ws_kib"), summary.median("ours", "peak_ws_kib"),
         summary.median("bare", "peak_ws_kib"), [WORKING_SET_GOAL], mib, "bare window"),
    ]


def draw_chart(summary, path):
    """Bars relative to NSIS (= 100 %) for each figure, with the goal as a red mark."""
    width, left, right, top, row, bar = 800, 130, 210, 50, 70, 16
    bars = chart_bars(summary)
    height = top + row * len(bars) + 10
    ratios = [value / nsis for _, nsis, ours, floor, *_ in bars for value in (ours, floor)]
    axis = min(2.0, max([1.0] + ratios))  # the ratio at the right end of the plot
    plot = width - left - right
    colours = (("NSIS", "#8c8c8c"), ("ours", "#2f6fb2"), ("floor", "#5aa55a"))
    draw = []

    def text(x, y, words, size=12):
        escaped = words.replace("'", "\\'")
        # On white, so that a goal mark behind it does not strike it through.
        draw.extend(["-fill", "black", "-undercolor", "white", "-pointsize", str(size),
                     "-draw", f"text {x:.0f},{y:.0f} '{escaped}'", "-undercolor", "none"])

    def rectangle(colour, x0, y0, x1, y1):
        draw.extend(["-fill", colour, "-draw", f"rectangle {x0:.0f},{y0:.0f} {x1:.0f},{y1:.0f}"])

    text(10, 22, "Medians relative to NSIS (= 100 %); red marks: the goals", 13)
    for index, (name, colour) in enumerate(colours):
        x = width - 250 + index * 80
        rectangle(colour, x, 11, x + 12, 23)
        text(x + 16, 22, name)
    for index, (label, nsis, ours, floor, goals, unit, floor_name) in enumerate(bars):
        y = top + index * row
        text(10, y + 31, label, 13)
        for mark in goals:
            # Behind the bars, with a notch above them.
            x = left + min(mark, axis) / axis * plot
            rectangle("#d02020", x - 1, y - 4, x + 1, y + 3 * (bar + 2))
            draw.extend(["-fill", "#d02020", "-draw", f"polygon {x - 5:.0f},{y - 9} {x + 5:.0f},{y - 9} {x:.0f},{y - 2}"])
        for position, (value, (_, colour)) in enumerate(zip((nsis, ours, floor), colours)):
            length = max(1.0, min(value / nsis, axis) / axis * plot)
            y0 = y + position * (bar + 2)
            rectangle(colour, left, y0, left + length, y0 + bar)
            note = f"  {floor_name}" if position == 2 else ""
            text(left + length + 6, y0 + 13, f"{unit(value)}  ({value / nsis * 100:.0f} %){note}", 11)
    subprocess.run(["convert", "-size", f"{width}x{height}", "xc:white", "-font", FONT, *draw, path], check=True)


def markdown(summary, info, nsis_build, loaded, import_lists, args):
    s = summary
    sizes = s.sizes
    ours_overhead, nsis_overhead = overheads(sizes)
    goals = verdicts(s)
    mark = lambda key: "met" if goals[key][0] else "**missed**"
    ratio = lambda a, b: f"{a / b:.2f}"
    startup = s.median("ours", "startup_ms"), s.median("nsis", "startup_ms"), s.median("bare", "startup_ms")
    install = s.median("ours", "install_ms"), s.median("nsis", "install_ms"), s.median("floor", "work_ms")
    ws = s.median("ours", "peak_ws_kib"), s.median("nsis", "peak_ws_kib"), s.median("bare", "peak_ws_kib")
    ws_windows = s.median("bare", "peak_ws_windows_kib")
    # A run whose paint was over before the driver saw the dialog has no paint figure.
    paint = s.median("bare", "dialog_paint_ms") if s.runs("bare", "dialog_paint_ms") else 0.0
    dialog = s.median("bare", "dialog_ms") + paint
    box = s.median("bare", "box_ms")
    in_progress = s.median("ours", "progress_ms") - PAUSE_MS
    platform_install = dialog + box + install[2]

    def spread(subject, metric, unit=ms):
        low, high = s.spread(subject, metric)
        return f"{unit(low)} - {unit(high)}"

    lines = [
        "# Benchmarks: our installer against an NSIS installer of the same screen saver",
        "",
        f"Measured by `bench/run` on {info['date']}: {args.runs} timed runs of each program after "
        f"{args.warmups} warm-up, ours and NSIS alternating (which of the two goes first alternates too), "
        "each followed by the two floors, all under Wine and Xvfb in the benchmark's own 32-bit prefix "
        "with a persistent wineserver. Figures are medians.",
        "",
        "## Machine",
        "",
        f"- {info['cores']} cores (`nproc`), {info['cpu']}, {info['memory']} memory, Linux {info['kernel']}",
        f"- {info['wine']}, Xvfb 1024x768x24, MakeNSIS {nsis_build.get('version', '?')}",
        f"- load average (1, 5, 15 min) {args.load[0]} before the timed runs, {args.load[1]} after: "
        "other work on the machine adds noise to the times, less so to sizes and working sets",
        "",
        "## Results",
        "",
        "| figure | ours | NSIS | ours / NSIS | floor | goal | |",
        "|---|---:|---:|---:|---:|---|---|",
        f"| start-up to first visible window | {ms(startup[0])} | {ms(startup[1])} | {ratio(startup[0], startup[1])} "
        f"| {ms(startup[2])} bare window | at most 0.5 x NSIS | {mark('startup')} |",
        f"| install work | {ms(install[0])} | {ms(install[1])} | {ratio(install[0], install[1])} "
        f"| {ms(install[2])} write + LZ32 expand | at most 2 x floor; at most NSIS | "
        f"{mark('install_floor')} ({install[0] / install[2]:.1f} x); {mark('install_nsis')} |",
        f"| exe size | {kib(sizes['ours_exe'])} | {kib(sizes['nsis_exe'])} | "
        f"{ratio(sizes['ours_exe'], sizes['nsis_exe'])} | {kib(sizes['bare_exe'])} bare window | | |",
        f"| installer's own overhead | {kib(ours_overhead)} | {kib(nsis_overhead)} | "
        f"{ratio(ours_overhead, nsis_overhead)} | {kib(sizes['bare_exe'])} bare window | at most 40 KiB | "
        f"{mark('overhead')} |",
        f"| peak working set | {mib(ws[0])} | {mib(ws[1])} | {ratio(ws[0], ws[1])} | {mib(ws[2])} bare window "
        f"({mib(ws_windows)} after a dialog and a box) | at most 0.7 x NSIS | {mark('working_set')} |",
        "",
        f"![Medians relative to NSIS]({args.chart_link})",
        "",
        "What each figure is:",
        "",
        "- **Start-up**: from just before `CreateProcess` to the first visible top-level window of the process "
        "(the driver polls `EnumWindows` every millisecond and times with `QueryPerformanceCounter`).",
        "- **Install work**, ours: from posting the Install command to the visible \"Install Finished\" "
        f"box, less the installer's fixed {PAUSE_MS:,.0f} ms pause. The pause is subtracted only because the driver saw "
        "the \"Installing\" window last at least that long in every run (its lifetime is in the phases below). "
        "NSIS: from process start to process end: its install-files page starts by itself and closes itself, "
        "so that includes its start-up.",
        f"- **Sizes**: ours {sizes['ours_exe']} bytes, carrying a {sizes['payload_bytes']}-byte SZDD payload "
        f"and the {sizes['banner_bytes']}-byte banner: {ours_overhead} bytes of its own. NSIS "
        f"{sizes['nsis_exe']} bytes, carrying the screen saver compressed to {sizes['nsis_scr_compressed']} "
        f"bytes: {nsis_overhead} bytes of its own, which hold its {nsis_build.get('header_bytes', '?')}-byte "
        f"exe header (stub and resources), the compiled script and its System plug-in "
        f"({nsis_build.get('plugin_compressed_bytes', '?')} bytes compressed, needed for the "
        "`SystemParametersInfo` call). NSIS was built with makensis's defaults: "
        f"{nsis_build.get('compressor', '?')} compression, {'solid' if nsis_build.get('solid') else 'not solid'}, "
        f"{nsis_build.get('target', '?')}, CRC check on (`bench/nsis/quorvane.nsi`).",
        "- **Peak working set**: the largest `PeakWorkingSetSize` that `GetProcessMemoryInfo` gave on the "
        "child's handle, read every millisecond until just before it ended. Under Wine this is the peak "
        "resident size of the Unix process, Wine's own libraries included.",
        "- **Floors**: `bench/floors/lz_floor.cpp` binds LZ32 by its System-directory path as ours does, writes "
        "the payload's bytes (taken from our exe's resource) to a file and expands it once, timed inside; "
        "`bench/floors/bare_window.cpp` is one captioned window and a message loop, built with the installer's "
        "flags, which on command also shows a dialog from a template like our progress window's and a message "
        "box like our success box, timed from the command as ours are.",
        "",
    ]

    def phase(label, subject, metric, offset=0.0):
        if not s.runs(subject, metric):
            return []
        low, high = s.spread(subject, metric)
        return [f"| {label} | {ms(s.median(subject, metric) - offset)} | {ms(low - offset)} - {ms(high - offset)} |"]

    lines += [
        "## Phases",
        "",
        "Times between two things the driver saw from outside, so each is good to about a millisecond, its "
        "polling interval.",
        "",
        "| phase | median | range |",
        "|---|---:|---:|",
        *phase("ours: Install posted to \"Installing\" window shown", "ours", "to_progress_ms"),
        *phase("ours: \"Installing\" window's lifetime, less the pause", "ours", "progress_ms", PAUSE_MS),
        *phase("ours: of which window shown to compressed copy created (first paint, resource found)",
               "ours", "to_compressed_ms"),
        *phase("ours: of which compressed copy created to screen saver created (written, LZ32 bound, opened)",
               "ours", "to_expanded_ms"),
        *phase("ours: of which screen saver created to complete (expanded)", "ours", "expanding_ms"),
        *phase("ours: of which complete to window gone, less the pause (Sleep's overrun, window destroyed)",
               "ours", "pause_overrun_ms"),
        *phase("ours: \"Installing\" window gone to success box shown", "ours", "to_box_ms"),
        *phase("ours: install work", "ours", "install_ms"),
        *phase("floor: LZ32 bound", "floor", "load_ms"),
        *phase("floor: payload written", "floor", "write_ms"),
        *phase("floor: expanded", "floor", "expand_ms"),
        *phase("bare window: dialog like the progress window, command to shown", "bare", "dialog_ms"),
        *phase("bare window: that dialog's first paint", "bare", "dialog_paint_ms"),
        *phase("bare window: message box like the success box, command to shown", "bare", "box_ms"),
        *phase("NSIS: start to first window", "nsis", "startup_ms"),
        *phase("NSIS: first window to end", "nsis", "window_to_exit_ms"),
        f"| start-up: ours / bare / NSIS | {ms(startup[0])} / {ms(startup[2])} / {ms(startup[1])} | "
        f"{spread('ours', 'startup_ms')} / {spread('bare', 'startup_ms')} / {spread('nsis', 'startup_ms')} |",
        "",
    ]
    if loaded or import_lists:
        lines += ["## What start-up loads", "", "| program | imports | DLLs Wine loads, whole run |", "|---|---|---:|"]
        for label, exe in (("ours", args.ours), ("NSIS", args.nsis), ("bare window", args.bare)):
            name = os.path.basename(exe)
            modules = next((mods for key, mods in loaded.items() if key.lower() == name.lower()), None)
            count = "" if modules is None else str(len(modules))
            lines.append(f"| {label} | {', '.join(import_lists.get(exe, []))} | {count} |")
        nsis_modules = next((mods for key, mods in loaded.items() if key.lower() == os.path.basename(args.nsis).lower()), [])
        bare_modules = next((mods for key, mods in loaded.items() if key.lower() == os.path.basename(args.bare).lower()), [])
        extra = [m for m in nsis_modules if m.lower() not in {b.lower() for b in bare_modules}]
        if extra:
            lines += ["", f"NSIS loads, beyond what a bare window loads: {', '.join(extra)}."]
        lines.append("")

    lines += ["## Goals", ""]
    bare_meets_startup = startup[2] <= STARTUP_GOAL * startup[1]
    startup_line = (f"- Start-up: {mark('startup')}, {goals['startup'][1]}. A bare window starts in "
                    f"{ms(startup[2])}, {startup[2] / startup[1]:.2f} x NSIS's; ours takes "
                    f"{more_or_less(startup[0] - startup[2], ms)} than the bare window")
    startup_line += (", for what it makes before it is shown that a bare window does not: its menu bar, three "
                     "buttons sized from their texts, its icon and its banner." if startup[0] > startup[2] else
                     ": the difference is within the runs' spread (see the phases).")
    if not goals["startup"][0]:
        startup_line += (" Under Wine most of any start-up is the platform's: creating the Unix process, loading "
                         "Wine's own DLLs and connecting to the X server come before the program's first line. ")
        startup_line += ("A bare window meets the goal here, so the gap is ours." if bare_meets_startup else
                         "Half of NSIS's is less than a bare window costs here, so no program meets that goal on "
                         "this platform; what is ours is the difference to the bare window.")
    lines.append(startup_line)
    install_line = (f"- Install work against its floor: {mark('install_floor')}, {goals['install_floor'][1]}. "
                    f"Beyond the pause our progress window lasts {ms(in_progress)}")
    if s.runs("ours", "to_compressed_ms"):
        left_over = in_progress - s.median("ours", "to_compressed_ms") - s.median("ours", "pause_overrun_ms")
        install_line += (f": {ms(s.median('ours', 'to_compressed_ms'))} from its showing to the compressed copy's "
                         f"creation (its first paint, {ms(paint)} in a bare window), "
                         f"{ms(s.median('ours', 'pause_overrun_ms'))} of Sleep's overrun and closing the window, "
                         f"and what is left, about {ms(max(0.0, left_over))}, writing, binding LZ32 and expanding "
                         "(too short for the driver's polling to split)")
    install_line += (f"; the floor does the file work in {ms(install[2])}. The rest is the two windows an install "
                     f"shows: from a bare window the platform alone takes {ms(dialog)} to show and paint such a "
                     f"dialog and {ms(box)} to show such a message box, so its least for an install that shows "
                     f"them is {ms(platform_install)}, and ours is {install[0] / platform_install:.2f} x that.")
    if not goals["install_floor"][0]:
        install_line += (" The progress window and the success box belong to the install as designed; the goal's "
                         "floor does not count them, and their cost is the platform's window creation.")
    lines.append(install_line)
    lines.append(f"- Install work against NSIS: {mark('install_nsis')}, {goals['install_nsis'][1]}; from "
                 f"its first window to its end alone NSIS takes {ms(s.median('nsis', 'window_to_exit_ms'))}.")
    lines.append(f"- Overhead: {mark('overhead')}, {goals['overhead'][1]}; the bare window program alone is "
                 f"{kib(sizes['bare_exe'])}, NSIS's own overhead {kib(nsis_overhead)}.")
    ws_line = (f"- Peak working set: {mark('working_set')}, {goals['working_set'][1]}. A bare window peaks at "
               f"{mib(ws[2])}, {ws[2] / ws[1]:.2f} x NSIS's, and at {mib(ws_windows)} ({ws_windows / ws[1]:.2f} x) "
               f"once it has shown a dialog and a message box; ours is {ws[0] / ws_windows:.2f} x that.")
    if not goals["working_set"][0]:
        ws_line += (" Under Wine the working set is mostly Wine's own libraries, mapped into every process. ")
        ws_line += ("A bare window is within the goal here, so the excess is ours."
                    if ws[2] <= WORKING_SET_GOAL * ws[1] else
                    "A bare window is already above 0.7 x NSIS's, so no program meets that goal on this "
                    f"platform. Ours needs {more_or_less(ws[0] - ws_windows, mib)} than the bare window that "
                    "showed the same windows.")
    lines.append(ws_line)
    lines += ["", "Run it again with `bench/run` (`--runs N` for more runs; `--quick` for one run of each, "
              "reported under `build/bench` only).", ""]
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--results", required=True)
    parser.add_argument("--sizes", required=True, help="the driver's sizes line")
    parser.add_argument("--ours", required=True)
    parser.add_argument("--nsis", required=True)
    parser.add_argument("--bare", required=True)
    parser.add_argument("--makensis-log", required=True)
    parser.add_argument("--loaddll")
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    parser.add_argument("--load", nargs=2, default=["?", "?"])
    parser.add_argument("--runs", type=int, required=True)
    parser.add_argument("--warmups", type=int, required=True)
    parser.add_argument("--markdown", required=True)
    parser.add_argument("--chart", required=True)
    parser.add_argument("--chart-link", required=True)
    args = parser.parse_args()

    with open(args.results) as results:
        figures = read_figures(results)
    with open(args.makensis_log) as log:
        nsis_build = parse_makensis(log.read())
    sizes = parse_sizes(args.sizes)
    sizes.update(ours_exe=os.path.getsize(args.ours), nsis_exe=os.path.getsize(args.nsis),
                 bare_exe=os.path.getsize(args.bare), nsis_scr_compressed=nsis_build["scr_compressed_bytes"])
    loaded = {}
    if args.loaddll:
        with open(args.loaddll, errors="replace") as trace:
            loaded = parse_loaddll(trace.read())
    import_lists = {exe: imports(args.objdump, exe) for exe in (args.ours, args.nsis, args.bare)}

    summary = Summary(figures, sizes)
    draw_chart(summary, args.chart)
    with open(args.markdown, "w") as out:
        out.write(markdown(summary, machine(), nsis_build, loaded, import_lists, args))
    for met, sentence in verdicts(summary).values():
        print(f"bench/report: {'met' if met else 'MISSED'}: {sentence}")


if __name__ == "__main__":
    main()

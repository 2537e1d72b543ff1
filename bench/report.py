#!/usr/bin/env python3
"""Turns one bench/run's figures into docs/benchmarks.md and its chart.

The driver's figures come as lines <iteration> TAB <subject> TAB <metric> TAB
<value>; sizes are read from the files; the chart is drawn with ImageMagick.
Subjects: ours, nsis, bare (a bare window, the platform's floor), floor (the
file work alone). Every table and verdict below is made from the tables
FIGURES, GOALS and PHASES.
"""
import argparse
import datetime
import os
import platform
import re
import statistics
import subprocess
from collections import defaultdict, namedtuple

from chart import draw_bar_chart

PAUSE_MS = 2000.0  # the installer's fixed pause, subtracted from its install work


# ---- reading ---------------------------------------------------------------

def read_figures(lines):
    """{(subject, metric): [values]} from the driver's lines, in run order."""
    figures = defaultdict(list)
    for line in lines:
        fields = line.strip().split("\t")
        if len(fields) == 4:
            figures[(fields[1], fields[2])].append(float(fields[3]))
    return figures


def parse_sizes(text):
    """payload_bytes=N banner_bytes=N ... as a dict of ints."""
    return {key: int(value) for key, value in re.findall(r"(\w+)=(\d+)", text)}


MAKENSIS_PATTERNS = {
    "version": r"MakeNSIS v(\S+)",
    "compressor": r"Using (\w+) compression",
    "target": r"writing output \(([\w-]+)\)",
    "scr_compressed_bytes": r'File: "Quorvane\.scr".*\[compress\] (\d+)/\d+ bytes',
}


def parse_makensis(log):
    """What makensis said about the build: version, compressor, target, the screen saver's compressed size."""
    found = {}
    for key, pattern in MAKENSIS_PATTERNS.items():
        match = re.search(pattern, log)
        if match:
            found[key] = int(match.group(1)) if match.group(1).isdigit() else match.group(1)
    return found


def parse_loaddll(text):
    """{exe base name: [DLL base names]} from WINEDEBUG=+loaddll output, first process of each exe."""
    by_process = defaultdict(list)
    for pid, path in re.findall(r'^(\w+):trace:loaddll:\w+ Loaded L"([^"]+)"', text, re.M):
        by_process[pid].append(path.replace("\\\\", "\\").split("\\")[-1])
    loaded = {}
    for modules in by_process.values():
        if modules[0].lower().endswith(".exe") and modules[0] not in loaded:
            loaded[modules[0]] = modules[1:]
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

    def has(self, subject, metric):
        return bool(self.figures.get((subject, metric)))

    def spread(self, subject, metric):
        values = self.figures[(subject, metric)]
        return min(values), max(values)


def overheads(sizes):
    """The installers' own weight: ours less payload, banner and icon, NSIS's less the compressed screen saver
    and the same icon."""
    return (sizes["ours_exe"] - sizes["payload_bytes"] - sizes["banner_bytes"] - sizes["icon_bytes"],
            sizes["nsis_exe"] - sizes["nsis_scr_compressed"] - sizes["nsis_icon_bytes"])


def install_floor(s):
    """The least an install that shows our two windows can take: the platform's time to show and paint a
    dialog like the progress window and a box like the success box, plus the file work."""
    # A run whose paint was over before the driver saw the dialog has no paint figure.
    paint = s.median("bare", "dialog_paint_ms") if s.has("bare", "dialog_paint_ms") else 0.0
    return s.median("bare", "dialog_ms") + paint + s.median("bare", "box_ms") + s.median("floor", "work_ms")


def kib(size):
    return f"{size / 1024:.1f} KiB"


def ms(value):
    return f"{value:.1f} ms"


def mib(kibibytes):
    return f"{kibibytes / 1024:.1f} MiB"


# One row of the results table: ours, NSIS and the floor it is read against.
Figure = namedtuple("Figure", "key label short unit ours nsis floor floor_label")
FIGURES = [
    Figure("startup", "start-up to first visible window", "Start-up", ms, lambda s: s.median("ours", "startup_ms"),
           lambda s: s.median("nsis", "startup_ms"), lambda s: s.median("bare", "startup_ms"), "bare window"),
    Figure("install", "install work", "Install work", ms, lambda s: s.median("ours", "install_ms"),
           lambda s: s.median("nsis", "install_ms"), install_floor, "dialog, box and file work"),
    Figure("exe", "exe size", "Exe size", kib, lambda s: s.sizes["ours_exe"], lambda s: s.sizes["nsis_exe"],
           lambda s: s.sizes["bare_exe"], "bare window"),
    Figure("overhead", "installer's own overhead", "Own overhead", kib, lambda s: overheads(s.sizes)[0],
           lambda s: overheads(s.sizes)[1], lambda s: s.sizes["bare_exe"], "bare window"),
    Figure("working_set", "peak working set", "Peak working set", mib, lambda s: s.median("ours", "peak_ws_kib"),
           lambda s: s.median("nsis", "peak_ws_kib"), lambda s: s.median("bare", "peak_ws_windows_kib"),
           "bare window after a dialog and a box"),
]
FIGURE = {figure.key: figure for figure in FIGURES}

# One goal: a figure of ours, at most limit times its floor (times) or at most limit itself (bytes).
Goal = namedtuple("Goal", "figure limit relative_to_floor")
GOALS = [
    Goal("startup", 1.10, True),
    Goal("install", 1.2, True),
    Goal("overhead", 40 * 1024, False),
    Goal("working_set", 1.05, True),
]


Verdict = namedtuple("Verdict", "goal figure value met")


def verdicts(s):
    """A verdict for every goal; value is ours over its floor, or ours itself."""
    judged = []
    for goal in GOALS:
        figure = FIGURE[goal.figure]
        value = figure.ours(s) / figure.floor(s) if goal.relative_to_floor else figure.ours(s)
        judged.append(Verdict(goal, figure, value, value <= goal.limit))
    return judged


def reading(verdict):
    """('1.04 x its floor', 'at most 1.1 x') or ('30.8 KiB', 'at most 40.0 KiB')."""
    if verdict.goal.relative_to_floor:
        return f"{verdict.value:.2f} x its floor", f"at most {verdict.goal.limit:g} x"
    return verdict.figure.unit(verdict.value), f"at most {verdict.figure.unit(verdict.goal.limit)}"


# Times between two things the driver saw: (label, subject, metric, subtracted).
PHASES = [
    ("ours: Install posted to \"Installing\" window shown", "ours", "to_progress_ms", 0.0),
    ("ours: \"Installing\" window's lifetime, less the pause", "ours", "progress_ms", PAUSE_MS),
    ("ours: of which window shown to compressed copy created", "ours", "to_compressed_ms", 0.0),
    ("ours: of which compressed copy created to screen saver created", "ours", "to_expanded_ms", 0.0),
    ("ours: of which screen saver created to complete", "ours", "expanding_ms", 0.0),
    ("ours: of which complete to window gone, less the pause", "ours", "pause_overrun_ms", 0.0),
    ("ours: \"Installing\" window gone to success box shown", "ours", "to_box_ms", 0.0),
    ("ours: install work", "ours", "install_ms", 0.0),
    ("floor: LZ32 bound", "floor", "load_ms", 0.0),
    ("floor: payload written", "floor", "write_ms", 0.0),
    ("floor: expanded", "floor", "expand_ms", 0.0),
    ("bare window: dialog like the progress window, command to shown", "bare", "dialog_ms", 0.0),
    ("bare window: that dialog's first paint", "bare", "dialog_paint_ms", 0.0),
    ("bare window: message box like the success box, command to shown", "bare", "box_ms", 0.0),
    ("bare window: start-up", "bare", "startup_ms", 0.0),
    ("NSIS: start to first window", "nsis", "startup_ms", 0.0),
    ("NSIS: first window to end", "nsis", "window_to_exit_ms", 0.0),
]


# ---- writing ---------------------------------------------------------------

def machine():
    with open("/proc/cpuinfo") as cpuinfo:
        model = next((line.split(":", 1)[1].strip() for line in cpuinfo if line.startswith("model name")), "?")
    with open("/proc/meminfo") as meminfo:
        memory_kib = int(re.search(r"MemTotal:\s+(\d+)", meminfo.read()).group(1))
    return {
        "cores": len(os.sched_getaffinity(0)), "cpu": model, "memory": f"{memory_kib / 1024 / 1024:.1f} GiB",
        "kernel": platform.release(),
        "wine": subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip(),
        "date": datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC"),
    }


def table(header, rows, align):
    """A markdown table; align holds l or r for each column."""
    rule = "|" + "|".join("---:" if side == "r" else "---" for side in align) + "|"
    return ["| " + " | ".join(header) + " |", rule] + ["| " + " | ".join(str(cell) for cell in row) + " |" for row in rows]


def markdown(s, info, nsis_build, loaded, import_lists, args):
    judged = verdicts(s)
    results = [(f.label, f.unit(f.ours(s)), f.unit(f.nsis(s)), f"{f.ours(s) / f.nsis(s):.2f}",
                f"{f.unit(f.floor(s))} {f.floor_label}", f"{f.ours(s) / f.floor(s):.2f}") for f in FIGURES]
    goals = [(v.figure.label, *reading(v), v.figure.floor_label if v.goal.relative_to_floor else "",
              "met" if v.met else "**missed**") for v in judged]
    phases = [(label, ms(s.median(subject, metric) - offset),
               f"{ms(s.spread(subject, metric)[0] - offset)} - {ms(s.spread(subject, metric)[1] - offset)}")
              for label, subject, metric, offset in PHASES if s.has(subject, metric)]
    lines = [
        "# Benchmarks: our installer against its floors and an NSIS installer of the same screen saver", "",
        f"`bench/run` on {info['date']}: {args.runs} timed runs of each program after {args.warmups} warm-up, "
        f"alternating, under Wine and Xvfb; medians. {info['cores']} cores, {info['cpu']}, {info['memory']}, "
        f"Linux {info['kernel']}, {info['wine']}, MakeNSIS {nsis_build.get('version', '?')}; load average "
        f"{args.load[0]} before, {args.load[1]} after.", "",
        "## Goals", "",
        "Each of ours against its floor, measured in the same run: what the platform alone takes for the same work.", "",
        *table(("figure", "ours", "goal", "floor", ""), goals, "lrrll"), "",
        "## Results", "",
        "Medians; a floor is the least the platform takes for the same work (see below).", "",
        *table(("figure", "ours", "NSIS", "ours / NSIS", "floor", "ours / floor"), results, "lrrrrr"), "",
        f"![Medians relative to NSIS]({args.chart_link})", "",
        "## How each figure is read", "",
        *table(("figure", "how"), [
            ("start-up", "`CreateProcess` to the first visible top-level window (`EnumWindows` every millisecond)"),
            ("install work", f"ours: Install posted to the success box shown, less the {PAUSE_MS:,.0f} ms pause; "
                             "NSIS: process start to end (its page runs by itself)"),
            ("sizes", f"ours less its {s.sizes['payload_bytes']}-byte payload, {s.sizes['banner_bytes']}-byte "
                      f"banner and {s.sizes['icon_bytes']} bytes of icon images; NSIS less the screen saver "
                      f"compressed to {s.sizes['nsis_scr_compressed']} bytes "
                      f"({nsis_build.get('compressor', '?')}, {nsis_build.get('target', '?')}) and its "
                      f"{s.sizes['nsis_icon_bytes']} bytes of the same icon"),
            ("peak working set", "largest `PeakWorkingSetSize` of the child, read every millisecond"),
            ("floors", "`bench/floors/bare_window.cpp`: a window built like ours that shows a dialog and a box like "
                       "ours; `bench/floors/lz_floor.cpp`: the payload written and expanded with LZ32"),
        ], "ll"), "",
        "## Phases", "",
        "Times between two things the driver saw from outside, each good to about a millisecond.", "",
        *table(("phase", "median", "range"), phases, "lrr"), "",
    ]
    if import_lists:
        rows = []
        for label, exe in (("ours", args.ours), ("NSIS", args.nsis), ("bare window", args.bare)):
            modules = next((m for name, m in loaded.items() if name.lower() == os.path.basename(exe).lower()), None)
            rows.append((label, ", ".join(import_lists.get(exe, [])), "" if modules is None else len(modules)))
        lines += ["## What start-up loads", "", "Imports, and the DLLs Wine loaded over a whole run.", "",
                  *table(("program", "imports", "DLLs loaded"), rows, "llr"), ""]
    lines += ["Run it again with `bench/run` (`--runs N`; `--quick` reports under `build/bench` only).", ""]
    return "\n".join(lines)


def draw_chart(s, path):
    """Bars relative to NSIS (= 100 %) for each figure; red marks: the goals."""
    marks = {}
    for v in verdicts(s):
        limit = v.goal.limit * v.figure.floor(s) if v.goal.relative_to_floor else v.goal.limit
        marks[v.figure.key] = limit / v.figure.nsis(s)
    axis = min(2.0, max([1.0] + [value(s) / f.nsis(s) for f in FIGURES for value in (f.ours, f.floor)]))
    rows = []
    for figure in FIGURES:
        nsis = figure.nsis(s)
        bars = [(value / nsis / axis, f"{figure.unit(value)}  ({value / nsis * 100:.0f} %)")
                for value in (nsis, figure.ours(s), figure.floor(s))]
        rows.append((figure.short, bars, [marks[figure.key] / axis] if figure.key in marks else []))
    draw_bar_chart(path, "Medians relative to NSIS (= 100 %); red marks: the goals",
                   (("NSIS", "#8c8c8c"), ("ours", "#2f6fb2"), ("floor", "#5aa55a")), rows, left=130)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    for option in ("--results", "--sizes", "--ours", "--nsis", "--bare", "--makensis-log", "--markdown", "--chart",
                   "--chart-link"):
        parser.add_argument(option, required=True)
    parser.add_argument("--loaddll")
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    parser.add_argument("--load", nargs=2, default=["?", "?"])
    parser.add_argument("--runs", type=int, required=True)
    parser.add_argument("--warmups", type=int, required=True)
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
    for verdict in verdicts(summary):
        ours, limit = reading(verdict)
        print(f"bench/report: {'met' if verdict.met else 'MISSED'}: {verdict.figure.label} {ours} ({limit})")


if __name__ == "__main__":
    main()

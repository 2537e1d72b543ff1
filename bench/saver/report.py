#!/usr/bin/env python3
"""Turns bench/saver/run's figures into the screen saver's section of
docs/benchmarks.md and its chart (drawn with ImageMagick).

Figures come as lines <program> TAB <width> TAB <height> TAB <metric> TAB <value>;
program is host, before, after or floor. Medians of the runs.
"""
import argparse
import os
import statistics
import sys
from collections import defaultdict

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from chart import draw_bar_chart  # noqa: E402 (the benchmark's shared chart, one folder up)

FRAMES_GOAL = 30.0
# % of one core, for the program measured: the 32-bit Quorvane.scr, or where
# the machine runs no 32-bit programs its 64-bit stand-in. Two monitors
# (2560 x 1440 + 1920 x 1080, the desktop around them 4480 x 1440) are
# measured only on the 32-bit program.
CPU_GOALS = {(1920, 1080): 4.0, (3840, 2160): 10.0, (5120, 1440): 10.0, (4480, 1440): 10.0}
STAND_IN_CPU_GOALS = {(1920, 1080): 3.0, (3840, 2160): 8.0, (5120, 1440): 8.0}


def frame_interval_ms():
    """The saver's frame interval, from the one header that names it."""
    header = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "screensaver", "frame_interval.h")
    with open(header) as text:
        for line in text:
            if line.startswith("constexpr unsigned FrameIntervalMs = "):
                return int(line.split("=")[1].strip(" ;\n"))
    raise ValueError(f"no FrameIntervalMs in {header}")
SCREEN_NAMES = {(1920, 1080): "1920 x 1080", (2560, 1440): "2560 x 1440", (3840, 2160): "3840 x 2160",
                (5120, 1440): "5120 x 1440 (two QHD)",
                (4480, 1440): "2560 x 1440 + 1920 x 1080 (two monitors, top-aligned)"}
CHART_NAMES = {(4480, 1440): "two monitors"}  # where the table's name is too long for the chart


def read_figures(lines):
    """{(program, (width, height), metric): [values]} in run order."""
    figures = defaultdict(list)
    for line in lines:
        fields = line.strip().split("\t")
        if len(fields) != 5:
            continue
        program, width, height, metric, value = fields
        figures[(program, (int(width), int(height)), metric)].append(float(value))
    return figures


def sizes_of(figures):
    return sorted({size for (program, size, _) in figures if program != "machine"}, key=lambda size: size[0] * size[1])


def median(figures, program, size, metric):
    values = figures.get((program, size, metric))
    return statistics.median(values) if values else None


def spread(figures, program, size, metric):
    values = figures.get((program, size, metric))
    return (min(values), max(values)) if values else None


def cpu_goal(size, stand_in):
    return (STAND_IN_CPU_GOALS if stand_in else CPU_GOALS).get(size)


def verdict(size, cpu, fps, stand_in=False):
    """'met', '**missed**' or '' for the goals at this size, of the program measured."""
    if cpu is None or fps is None:
        return ""
    goal = cpu_goal(size, stand_in)
    met = fps >= FRAMES_GOAL and (goal is None or cpu <= goal)
    return "met" if met else "**missed**"


def cell(value, low_high, unit):
    if value is None:
        return ""
    text = f"{value:.1f}{unit}"
    if low_high and low_high[0] != low_high[1]:
        text += f" ({low_high[0]:.1f}-{low_high[1]:.1f})"
    return text


STAND_IN_NOTE = (
    "**64-bit stand-in.** This machine's kernel runs no 32-bit programs (32-bit emulation is turned off): "
    "Quorvane.scr runs under Wine here only with its 32-bit side emulated (the tests do so), several times slower, "
    "so its CPU time would say nothing. The Wine figures below are of the same "
    "source built as a 64-bit program (the `saver64` preset), its floor built the same way, under 64-bit Wine. "
    "The goals in the table are the stand-in's own (lower than the 32-bit program's, as a 64-bit build of "
    "the same code costs less); the 32-bit program's own last figures, from a machine that could run it, are "
    "in this file's history.")


def markdown(figures, chart_link, runs, seconds, before_label, stand_in=False):
    sizes = sizes_of(figures)
    interval = frame_interval_ms()
    has_before = any(program == "before" for (program, _, _) in figures)
    has_floor = any(program == "floor" for (program, _, _) in figures)
    lines = [
        "## The screen saver",
        "",
        f"Measured by `bench/saver/run` (part of `bench/run`): {runs} run(s) of {seconds} s at each size"
        + (f", this build and the one before ({before_label}) alternating" if has_before else "")
        + ". Under Wine, `Quorvane.scr /s` runs full screen on an Xvfb screen of each size; its CPU time is read "
        "from `/proc/PID/stat` over the measured seconds (share of one core), and the frames that reach the "
        "screen are counted from the Xvfb framebuffer file (`-fbdir`): twelve rows sampled every 2 ms, a frame "
        "being a new state seen twice in a row. "
        + ("Two monitors (a 2560 x 1440 main monitor, a 1920 x 1080 one to its right, top-aligned) run on Xorg's "
           "dummy driver instead, as Xvfb shows Wine one monitor (`tools/monitors-session`); Xorg keeps no "
           "framebuffer file, so there a frame is a burst of the server's damage reports on the root window "
           "after 10 ms of none. " if (4480, 1440) in sizes else "")
        + "The program has no benchmark mode. On the host, "
        "`bench/saver/render_speed` draws the same seeded scene natively (x86-64, -O2) with the full repaint and "
        "with the canvas, at the saver's pace, and gives the mean milliseconds a frame. Medians, with the range "
        "of the runs in brackets; other work on this 2-core machine makes the CPU figures noisy"
        + (" (its load average was {} when the runs began and {} when they ended)".format(
            *[f"{value:.1f}" for value in figures[("machine", (0, 0), "load_average")]])
           if len(figures.get(("machine", (0, 0), "load_average"), [])) == 2 else "") + ".",
        "",
    ] + ([STAND_IN_NOTE, ""] if stand_in else []) + [
        "| screen | renderer, full repaint | renderer, canvas |"
        + (" CPU before | frames/s before |" if has_before else "")
        + " CPU | frames/s |" + (" floor CPU |" if has_floor else "") + " goal (CPU, frames/s) | |",
        "|---|---:|---:|" + ("---:|---:|" if has_before else "") + "---:|---:|" + ("---:|" if has_floor else "")
        + "---|---|",
    ]
    for size in sizes:
        cpu, fps = median(figures, "after", size, "cpu_percent"), median(figures, "after", size, "frames_per_second")
        goal = cpu_goal(size, stand_in)
        goal_text = (f"at most {goal:.0f} %, " if goal else "") + f"at least {FRAMES_GOAL:.0f}"
        row = [SCREEN_NAMES.get(size, f"{size[0]} x {size[1]}"),
               cell(median(figures, "host", size, "full_ms"), None, " ms"),
               cell(median(figures, "host", size, "canvas_ms"), None, " ms")]
        if has_before:
            row += [cell(median(figures, "before", size, "cpu_percent"),
                         spread(figures, "before", size, "cpu_percent"), " %"),
                    cell(median(figures, "before", size, "frames_per_second"),
                         spread(figures, "before", size, "frames_per_second"), "")]
        row += [cell(cpu, spread(figures, "after", size, "cpu_percent"), " %"),
                cell(fps, spread(figures, "after", size, "frames_per_second"), "")]
        if has_floor:
            row.append(cell(median(figures, "floor", size, "cpu_percent"), spread(figures, "floor", size, "cpu_percent"),
                            " %"))
        row += [goal_text, verdict(size, cpu, fps, stand_in)]
        lines.append("| " + " | ".join(row) + " |")
    if has_floor:
        lines += ["", f"Floor: `bench/floors/saver_floor.cpp`, a full-screen window on the same {interval} ms timer that draws "
                  "and copies one 64 x 64 square a frame: what the platform alone takes to run such an animation."]
    lines += ["", f"The saver's timer asks for a frame every {interval} ms ({1000 // interval} a second). A count above that means the counter "
              "saw one frame reach the screen in two steps: at the largest sizes Xvfb takes several milliseconds "
              "to copy a frame into its framebuffer.", "",
              f"![The screen saver's CPU share by screen size]({chart_link})", ""]
    return "\n".join(lines)


def draw_chart(figures, path, stand_in=False):
    """CPU share of one core per screen size, before and after, with the goals as red marks."""
    rows = []
    for size in sizes_of(figures):
        bars = []
        for program in ("before", "after"):
            cpu = median(figures, program, size, "cpu_percent")
            fps = median(figures, program, size, "frames_per_second")
            bars.append(None if cpu is None else (cpu / 100.0, f"{cpu:.0f} %, {fps:.0f} frames/s"))
        goal = cpu_goal(size, stand_in)
        rows.append((CHART_NAMES.get(size) or SCREEN_NAMES.get(size, f"{size[0]} x {size[1]}").split(" (")[0], bars,
                     [goal / 100.0] if goal else []))
    draw_bar_chart(path, "Screen saver's CPU" + (" (64-bit stand-in)" if stand_in else "")
                   + ", % of one core (medians); red marks: the goals",
                   (("before", "#8c8c8c"), ("after", "#2f6fb2")), rows)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--results", required=True)
    parser.add_argument("--markdown", required=True, help="the section is appended to this file")
    parser.add_argument("--chart", required=True)
    parser.add_argument("--chart-link", required=True)
    parser.add_argument("--runs", type=int, required=True)
    parser.add_argument("--seconds", type=float, required=True)
    parser.add_argument("--before-label", default="QUORVANE_SAVER_BEFORE")
    parser.add_argument("--stand-in", action="store_true", help="the figures are of the 64-bit stand-in")
    args = parser.parse_args()
    with open(args.results) as results:
        figures = read_figures(results)
    draw_chart(figures, args.chart, args.stand_in)
    with open(args.markdown, "a") as out:
        out.write("\n" + markdown(figures, args.chart_link, args.runs, args.seconds, args.before_label, args.stand_in))
    for size in sizes_of(figures):
        cpu = median(figures, "after", size, "cpu_percent")
        fps = median(figures, "after", size, "frames_per_second")
        if cpu is not None:
            print(f"bench/saver: {size[0]}x{size[1]}: {cpu:.1f} % of a core, {fps:.1f} frames/s: "
                  f"{verdict(size, cpu, fps, args.stand_in).strip('*') or 'no goal'}")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Counts the frames that reach an Xvfb screen kept in a file (-fbdir), or,
given "display" for the file, the screen of the X server in DISPLAY (Xorg's
dummy driver, for several monitors, keeps no file; see count_display_frames).

Samples a few rows of the screen every couple of milliseconds; a frame is a
new state of those rows seen twice in a row, so a half-written frame is not
counted. Prints the frames a second over the measured time.
"""
import argparse
import mmap
import struct
import time
import zlib


def screen_layout(data):
    header_size, = struct.unpack_from(">I", data, 0)
    width, height = struct.unpack_from(">II", data, 16)
    bytes_per_line, = struct.unpack_from(">I", data, 48)
    colours, = struct.unpack_from(">I", data, 76)
    return header_size + 12 * colours, width, height, bytes_per_line


def sampled_rows(height, rows):
    """Rows spread over the whole height, away from the very edges."""
    return [(2 * i + 1) * height // (2 * rows) for i in range(rows)]


def file_screen_state(path, rows):
    file = open(path, "rb")
    data = mmap.mmap(file.fileno(), 0, access=mmap.ACCESS_READ)
    pixels, width, height, stride = screen_layout(data)
    starts = [pixels + stride * row for row in sampled_rows(height, rows)]
    length = width * 4

    def state():
        crc = 0
        for start in starts:
            crc = zlib.crc32(data[start:start + length], crc)
        return crc
    return state


def count_display_frames(seconds, quiet):
    """Frames that reach the screen of the X server in DISPLAY, from the
    server's damage reports on the root window: a frame's copies (one a
    monitor) come in a burst, and a burst after quiet seconds of none is the
    next frame. Reading pixels back instead (GetImage) took the server's
    time and skewed the count."""
    from Xlib import display  # python3-xlib, only for this mode
    from Xlib.ext import damage
    server = display.Display()
    server.damage_query_version()
    root = server.screen().root
    report = root.damage_create(damage.DamageReportNonEmpty)
    server.sync()
    frames = 0
    last = 0.0
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if not server.pending_events():
            time.sleep(0.001)
            continue
        server.next_event()
        server.damage_subtract(report)
        now = time.monotonic()
        if now - last >= quiet:
            frames += 1
        last = now
    server.damage_destroy(report)
    server.close()
    return frames / seconds


def count_frames(state, seconds, interval):
    frames = 0
    counted = previous = state()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        time.sleep(interval)
        now = state()
        if now == previous and now != counted:
            frames += 1
            counted = now
        previous = now
    return frames / seconds


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("screen", help='the Xvfb screen file, or "display" for the X server in DISPLAY')
    parser.add_argument("seconds", type=float)
    parser.add_argument("--rows", type=int, default=12)
    parser.add_argument("--interval", type=float, default=0.002)
    parser.add_argument("--quiet", type=float, default=0.010, help="seconds between two frames' copies")
    args = parser.parse_args()
    if args.screen == "display":
        print(f"{count_display_frames(args.seconds, args.quiet):.1f}")
        return
    print(f"{count_frames(file_screen_state(args.screen, args.rows), args.seconds, args.interval):.1f}")


if __name__ == "__main__":
    main()

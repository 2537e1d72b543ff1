#!/usr/bin/env python3
"""Counts the frames that reach an Xvfb screen kept in a file (-fbdir).

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


def count_frames(path, seconds, rows, interval):
    with open(path, "rb") as file:
        data = mmap.mmap(file.fileno(), 0, access=mmap.ACCESS_READ)
        pixels, width, height, stride = screen_layout(data)
        # Rows spread over the whole height, away from the very edges.
        starts = [pixels + stride * ((2 * i + 1) * height // (2 * rows)) for i in range(rows)]
        length = width * 4

        def state():
            crc = 0
            for start in starts:
                crc = zlib.crc32(data[start:start + length], crc)
            return crc

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
    parser.add_argument("screen_file")
    parser.add_argument("seconds", type=float)
    parser.add_argument("--rows", type=int, default=12)
    parser.add_argument("--interval", type=float, default=0.002)
    args = parser.parse_args()
    print(f"{count_frames(args.screen_file, args.seconds, args.rows, args.interval):.1f}")


if __name__ == "__main__":
    main()

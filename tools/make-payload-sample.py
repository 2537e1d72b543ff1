#!/usr/bin/env python3
"""make-payload-sample.py OUTPUT: writes the deterministic stand-in program the
host tests compress as their payload. It is shaped like an executable, so the
compressor sees what it sees in the real one: zero padding, repeated code and
text, and stretches that do not compress, with every byte value present."""
import sys

SIZE = 300_001  # odd on purpose: no block size divides it


def sample():
    out = bytearray(b"MZ")
    state = 0x2545F491
    phrases = [b"Quorvane screen saver ", b"\x55\x8b\xec\x83\xec", b"GetMessageA\0", b"\0" * 64]
    while len(out) < SIZE:
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        kind = state % 4
        if kind == 0:  # noise
            for _ in range(200 + state % 900):
                state = (state * 1103515245 + 12345) & 0x7FFFFFFF
                out.append((state >> 16) & 0xFF)
        elif kind == 1:  # repeats the compressor can refer back to
            out += phrases[(state >> 8) % len(phrases)] * (1 + (state >> 12) % 40)
        elif kind == 2:  # every byte value in order
            out += bytes(range(256))
        else:  # padding
            out += b"\0" * (1 + (state >> 10) % 3000)
    return bytes(out[:SIZE])


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as output:
        output.write(sample())

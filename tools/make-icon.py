#!/usr/bin/env python3
"""Draws the installer's icon: one 32 x 32, 16-colour image in an .ico file.

A monitor whose screen shows a night sky with a ringed planet, the
Quorvane screen saver's motif. Run it to regenerate resources/app.ico.
"""
import math
import struct
import sys

# The 16 standard VGA colours, each as (blue, green, red) like an RGBQUAD.
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128),
    (128, 0, 0), (128, 0, 128), (128, 128, 0), (192, 192, 192),
    (128, 128, 128), (0, 0, 255), (0, 255, 0), (0, 255, 255),
    (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255),
]
# Indexes into PALETTE.
NAVY, SILVER, WHITE, YELLOW, CYAN, TEAL, DARK_GREY = 4, 7, 15, 11, 14, 6, 8
TRANSPARENT = None

SIZE = 32


def draw():
    pixels = [[TRANSPARENT] * SIZE for _ in range(SIZE)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                pixels[y][x] = colour

    rect(1, 3, 30, 24, SILVER)       # bezel
    rect(1, 24, 30, 24, DARK_GREY)   # bezel shadow
    rect(30, 3, 30, 24, DARK_GREY)
    rect(3, 5, 28, 22, NAVY)         # screen
    rect(12, 25, 19, 27, DARK_GREY)  # neck
    rect(7, 28, 24, 29, SILVER)      # foot
    rect(7, 29, 24, 29, DARK_GREY)

    for x, y in [(5, 7), (9, 19), (25, 7), (21, 20), (6, 14), (26, 16), (14, 6)]:
        pixels[y][x] = WHITE

    cx, cy = 15.5, 13.5
    for y in range(5, 23):
        for x in range(3, 29):
            d = math.hypot(x - cx, y - cy)
            if d <= 4.6:
                pixels[y][x] = YELLOW if (x - cx) + (y - cy) < 2 else TEAL
            ring = math.hypot((x - cx) / 1.0, (y - cy) / 0.35)
            if 8.0 <= ring <= 10.0 and not (d <= 4.6 and y < cy):
                pixels[y][x] = CYAN
    return pixels


def encode(pixels):
    xor_rows, and_rows = [], []
    for row in reversed(pixels):  # bottom-up
        xor = bytearray()
        for x in range(0, SIZE, 2):
            hi = row[x] or 0
            lo = row[x + 1] or 0
            xor.append((hi << 4) | lo)
        xor_rows.append(bytes(xor))
        mask = 0
        for x in range(SIZE):
            mask = (mask << 1) | (1 if row[x] is TRANSPARENT else 0)
        and_rows.append(struct.pack('>I', mask))
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in
                       [(c[2], c[1], c[0]) for c in PALETTE])
    image = header + colours + b''.join(xor_rows) + b''.join(and_rows)
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', SIZE, SIZE, 16, 0, 1, 4, len(image), 22)
    return directory + image


if __name__ == '__main__':
    out = sys.argv[1] if len(sys.argv) > 1 else 'resources/app.ico'
    with open(out, 'wb') as f:
        f.write(encode(draw()))

#!/usr/bin/env python3
"""Draws the installer's banner: a 325 x 165, 11-colour .bmp.

A night sky with stars and a ringed planet, the name Quorvane and the
subtitle "Screen Saver". ImageMagick's convert only rasterises the text;
everything else is drawn here, and the bitmap is written by hand because
the installer wants exactly 11 palette entries at 4 bits per pixel.

Run it to regenerate resources/banner.bmp:  python3 tools/make-banner.py
"""
import math
import os
import shutil
import struct
import subprocess
import sys

WIDTH, HEIGHT = 325, 165

# (red, green, blue). The order is the bitmap's colour table.
PALETTE = [
    (5, 7, 24),       # SKY_0, the zenith
    (11, 17, 49),     # SKY_1
    (19, 30, 78),     # SKY_2
    (30, 47, 110),    # SKY_3, the horizon
    (38, 108, 152),   # TEAL
    (112, 200, 222),  # CYAN
    (142, 98, 52),    # AMBER
    (240, 192, 108),  # GOLD
    (92, 108, 164),   # MIST, dim stars and the text's outer edge
    (178, 192, 230),  # HAZE, the text's inner edge
    (255, 255, 255),  # WHITE
]
SKY_0, SKY_1, SKY_2, SKY_3, TEAL, CYAN, AMBER, GOLD, MIST, HAZE, WHITE = range(len(PALETTE))
SKY = [SKY_0, SKY_1, SKY_2, SKY_3]

FONT_DIR = '/usr/share/fonts/truetype/dejavu'
TITLE_FONT = os.path.join(FONT_DIR, 'DejaVuSans-Bold.ttf')
SUBTITLE_FONT = os.path.join(FONT_DIR, 'DejaVuSans.ttf')

BAYER_4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def nearest(colour, candidates):
    """The candidate index whose palette colour is closest to colour."""
    def distance(index):
        return sum((a - b) ** 2 for a, b in zip(PALETTE[index], colour))
    return min(candidates, key=distance)


def mix(under, over, alpha):
    return tuple(u + (o - u) * alpha for u, o in zip(PALETTE[under], PALETTE[over]))


class Canvas:
    def __init__(self):
        self.pixels = [[SKY_0] * WIDTH for _ in range(HEIGHT)]

    def blend(self, x, y, colour, alpha, edge_colours):
        """Covers a pixel by alpha, snapping the mix to the pixel's own or one of edge_colours."""
        if not (0 <= x < WIDTH and 0 <= y < HEIGHT) or alpha <= 0:
            return
        under = self.pixels[y][x]
        if alpha >= 1:
            self.pixels[y][x] = colour
            return
        self.pixels[y][x] = nearest(mix(under, colour, alpha), [under, colour] + list(edge_colours))


def draw_sky(canvas):
    """Posterised bands, darkest at the top, with a short ordered blend between bands."""
    blend_width = 0.22
    for y in range(HEIGHT):
        for x in range(WIDTH):
            # Bands are arcs around a glow below the title, as if from a horizon.
            distance = math.hypot((x - 130) / 1.3, y - 480)
            level = 3.3 * (470 - distance) / (470 - 315)
            level = min(max(level, 0.0), len(SKY) - 1.0)
            band = int(level)
            frac = level - band
            threshold = (BAYER_4[y % 4][x % 4] + 0.5) / 16
            if band + 1 < len(SKY) and frac > 1 - blend_width and (frac - (1 - blend_width)) / blend_width > threshold:
                band += 1
            canvas.pixels[y][x] = SKY[band]


class Random:
    """A small fixed generator, so every run places the stars alike."""

    def __init__(self, seed):
        self.state = seed

    def next(self):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return self.state / 0x80000000


def draw_stars(canvas):
    rng = Random(20240611)
    for _ in range(52):
        x, y = int(rng.next() * WIDTH), int(rng.next() * HEIGHT * 0.8)
        brightness = rng.next()
        if 10 <= x < 250 and 72 <= y < 142:
            continue  # keep the title clear
        if brightness > 0.9:
            canvas.pixels[y][x] = WHITE
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                canvas.blend(x + dx, y + dy, HAZE, 0.8, [])
        elif brightness > 0.6:
            canvas.blend(x, y, HAZE, 1, [])
        else:
            canvas.blend(x, y, MIST, 1, [])
    for x, y, arm in ((34, 22, 3), (186, 34, 2), (140, 14, 2)):
        draw_sparkle(canvas, x, y, arm)


def draw_sparkle(canvas, x, y, arm):
    """A bright star with four rays fading outwards."""
    canvas.pixels[y][x] = WHITE
    for step in range(1, arm + 1):
        colour = HAZE if step < arm else MIST
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            canvas.blend(x + dx * step, y + dy * step, colour, 1, [])


PLANET_X, PLANET_Y, PLANET_R = 261.0, 54.0, 30.0
RING_TILT = math.radians(-18)
RING_INNER, RING_OUTER, RING_SQUASH = 44.0, 64.0, 0.3
SAMPLES = 4


def ring_band(px, py):
    """Where a point lies across the ring, 0 inner to 1 outer, and whether it is in front of the planet."""
    dx, dy = px - PLANET_X, py - PLANET_Y
    u = dx * math.cos(RING_TILT) + dy * math.sin(RING_TILT)
    v = -dx * math.sin(RING_TILT) + dy * math.cos(RING_TILT)
    radius = math.hypot(u, v / RING_SQUASH)
    if not RING_INNER <= radius <= RING_OUTER:
        return None, False
    return (radius - RING_INNER) / (RING_OUTER - RING_INNER), v > 0


def ring_colour(across):
    # Darker edges and a dark gap split the ring in two, like the real ones.
    return AMBER if across < 0.16 or 0.5 < across < 0.62 or across > 0.88 else GOLD


def planet_colour(px, py):
    """Shades the globe lit from the upper left, in the sky's own blues."""
    nx, ny = (px - PLANET_X) / PLANET_R, (py - PLANET_Y) / PLANET_R
    nz = math.sqrt(max(0.0, 1 - nx * nx - ny * ny))
    light = -0.55 * nx - 0.5 * ny + 0.67 * nz
    for limit, colour in ((0.86, CYAN), (0.42, TEAL), (0.08, SKY_3), (-0.25, SKY_2)):
        if light > limit:
            return colour
    return SKY_1


def draw_planet(canvas, in_front):
    """One pass of the globe and the ring: the back half of the ring and globe, or the front half of the ring."""
    edge = [SKY_1, SKY_2, SKY_3, TEAL, AMBER]
    top, bottom = int(PLANET_Y - RING_OUTER), int(PLANET_Y + RING_OUTER) + 1
    left, right = int(PLANET_X - RING_OUTER) - 1, WIDTH - 1
    for y in range(max(top, 0), min(bottom, HEIGHT)):
        for x in range(left, right + 1):
            votes = {}
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    px, py = x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES
                    colour = None
                    across, front = ring_band(px, py)
                    on_globe = math.hypot(px - PLANET_X, py - PLANET_Y) <= PLANET_R
                    if in_front:
                        if across is not None and front:
                            colour = ring_colour(across)
                    else:
                        if on_globe:
                            colour = planet_colour(px, py)
                        elif across is not None and not front:
                            colour = ring_colour(across)
                    if colour is not None:
                        votes[colour] = votes.get(colour, 0) + 1
            if not votes:
                continue
            colour = max(sorted(votes), key=votes.get)
            canvas.blend(x, y, colour, sum(votes.values()) / SAMPLES ** 2, edge)


def render_text(text, font, size, x, y, kerning=0.0):
    """Coverage, 0 to 1 per pixel, of text set with its baseline's left end at (x, y)."""
    command = ['convert', '-size', '%dx%d' % (WIDTH, HEIGHT), 'xc:black', '-font', font, '-pointsize', str(size),
               '-kerning', str(kerning), '-fill', 'white', '-annotate', '+%d+%d' % (x, y), text,
               '-depth', '8', 'gray:-']
    data = subprocess.run(command, check=True, capture_output=True).stdout
    if len(data) != WIDTH * HEIGHT:
        sys.exit('make-banner: convert returned %d bytes, not %d' % (len(data), WIDTH * HEIGHT))
    return [[data[row * WIDTH + col] / 255 for col in range(WIDTH)] for row in range(HEIGHT)]


def draw_text(canvas, coverage, colour, edge_colours, offset=(0, 0)):
    for y in range(HEIGHT):
        for x in range(WIDTH):
            alpha = coverage[y][x]
            if alpha > 0.02:
                canvas.blend(x + offset[0], y + offset[1], colour, alpha, edge_colours)


def draw():
    canvas = Canvas()
    draw_sky(canvas)
    draw_stars(canvas)
    draw_planet(canvas, in_front=False)
    draw_planet(canvas, in_front=True)

    title = render_text('Quorvane', TITLE_FONT, 42, 18, 112, kerning=-0.5)
    draw_text(canvas, title, SKY_0, [SKY_1], offset=(2, 2))
    draw_text(canvas, title, WHITE, [MIST, HAZE])

    subtitle = render_text('SCREEN SAVER', SUBTITLE_FONT, 11, 21, 134, kerning=3.2)
    draw_text(canvas, subtitle, CYAN, [TEAL])
    return canvas.pixels


def encode(pixels):
    """A BITMAPFILEHEADER, a BITMAPINFOHEADER, the colour table and bottom-up 4-bit rows."""
    stride = ((WIDTH * 4 + 31) // 32) * 4
    rows = []
    for row in reversed(pixels):
        packed = bytearray(stride)
        for x, index in enumerate(row):
            packed[x // 2] |= index << (0 if x % 2 else 4)
        rows.append(bytes(packed))
    image = b''.join(rows)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    info = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT, 1, 4, 0, len(image), 2835, 2835, len(PALETTE),
                       len(PALETTE))
    offset = 14 + len(info) + len(colours)
    header = struct.pack('<2sIHHI', b'BM', offset + len(image), 0, 0, offset)
    return header + info + colours + image


def main():
    if shutil.which('convert') is None:
        sys.exit('make-banner: needs ImageMagick\'s convert')
    for font in (TITLE_FONT, SUBTITLE_FONT):
        if not os.path.exists(font):
            sys.exit('make-banner: needs the font %s (Debian: fonts-dejavu-core)' % font)
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'resources', 'banner.bmp')
    with open(out, 'wb') as f:
        f.write(encode(draw()))


if __name__ == '__main__':
    main()

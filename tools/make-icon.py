#!/usr/bin/env python3
"""Draws the icon both programs carry: the screen saver's ringed planet in its
own colours on a tile of its night sky, drawn at every size Windows shows
(16 to 256 pixels, 32-bit colour with alpha; the 256-pixel image PNG-compressed,
as Windows expects), each size with the detail it can hold: no stars or
aurora below 24 pixels, no gap in the rings below 32, a moon and the hills'
silhouette from 40, fine ringlets from 64. One 32 x 32, 16-colour image stays
for displays of 16 colours and for the installer's window class.

  make-icon.py ICON.ico            the icon file (the build runs this)
  make-icon.py --sheet SHEET.png   every image on light and dark backgrounds,
                                   at its size and enlarged, to look at
"""
import math
import os
import re
import struct
import sys
import zlib

SIZES = [16, 20, 24, 32, 40, 48, 64, 256]

# Colours of the screen saver's scene (RGB).
SKY_TOP, SKY_BOTTOM = (8, 12, 38), (34, 26, 84)
TILE_RIM = (96, 110, 178)
AURORA = (40, 224, 168)
HILLS = (6, 6, 18)
MOON = (206, 212, 228)
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "screensaver")


def read_source(path, pattern, names):
    """The values the screen saver's own source gives these names: the icon draws its planet."""
    with open(os.path.join(SOURCE, path)) as text:
        found = dict(re.findall(pattern, text.read()))
    missing = [name for name in names if name not in found]
    if missing:
        sys.exit(f"make-icon: {', '.join(missing)} not found in screensaver/{path}")
    return [found[name] for name in names]


BAND_DARK, BAND_BRIGHT, RING_INNER, RING_OUTER = (
    tuple(int(c) for c in value.split(", "))
    for value in read_source("render/planet_palette.h", r"constexpr Color (\w+) = \{(\d+, \d+, \d+)\};",
                             ["BandDark", "BandBright", "RingInnerColor", "RingOuterColor"]))
RING_RATIO, RING_FROM, RING_TO = (
    float(value) for value in read_source("scene.h", r"\b(Ring\w+) = ([0-9.]+)f", ["RingRatio", "RingInner", "RingOuter"]))

# The planet in unit coordinates (the icon spans 0..1, y downwards).
# The planet as large as the rings' outer edge (RING_TO radii) leaves it.
CENTER_X, CENTER_Y, RADIUS = 0.5, 0.5, 0.451 / RING_TO
TILT = math.radians(-18)  # the rings rise to the right, as in the screen saver
LIGHT = (-0.55, -0.6, 0.58)
COS_TILT, SIN_TILT = math.cos(TILT), math.sin(TILT)
# The light in the planet's tilted frame, of unit length.
LIGHT_LENGTH = math.sqrt(sum(c * c for c in LIGHT))
LIGHT_X = (LIGHT[0] * COS_TILT + LIGHT[1] * SIN_TILT) / LIGHT_LENGTH
LIGHT_Y = (-LIGHT[0] * SIN_TILT + LIGHT[1] * COS_TILT) / LIGHT_LENGTH
LIGHT_Z = LIGHT[2] / LIGHT_LENGTH


def clamp01(value):
    return 0.0 if value < 0.0 else 1.0 if value > 1.0 else value


def smoothstep(edge0, edge1, value):
    t = clamp01((value - edge0) / (edge1 - edge0))
    return t * t * (3 - 2 * t)


def mix(a, b, t):
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


class Detail:
    """What one size can hold."""

    def __init__(self, size):
        self.size = size
        self.pixel = 1.0 / size
        self.stars = size >= 24
        self.aurora = size >= 24
        self.ring_gap = size >= 32
        self.moon = size >= 40
        self.hills = size >= 40
        self.ringlets = size >= 64
        self.fine_bands = size >= 32
        # The tile fills small icons; large ones leave the margin Windows' own icons keep.
        self.margin = 0.0 if size <= 24 else 0.03 if size <= 48 else 0.05
        self.corner = 0.2


STARS = [(0.16, 0.15, 1.0), (0.34, 0.09, 0.6), (0.83, 0.12, 0.8), (0.12, 0.42, 0.7), (0.9, 0.55, 0.6),
         (0.66, 0.2, 0.5), (0.22, 0.62, 0.5), (0.76, 0.83, 0.6), (0.45, 0.86, 0.4), (0.58, 0.07, 0.4),
         (0.06, 0.78, 0.5), (0.93, 0.33, 0.5)]


def inside_tile(x, y, detail):
    lo, hi, r = detail.margin, 1.0 - detail.margin, detail.corner
    if x < lo or x > hi or y < lo or y > hi:
        return False, 0.0
    cx = min(max(x, lo + r), hi - r)
    cy = min(max(y, lo + r), hi - r)
    corner = math.hypot(x - cx, y - cy)
    if corner > r:
        return False, 0.0
    edge = min(x - lo, hi - x, y - lo, hi - y, r - corner if (cx != x or cy != y) else 1.0)
    return True, edge


def sky(x, y, edge, detail):
    colour = mix(SKY_TOP, SKY_BOTTOM, clamp01((y - detail.margin) / (1 - 2 * detail.margin)))
    if detail.aurora:
        crest = 0.74 + 0.05 * math.sin(x * 7.0 + 0.8) + 0.02 * math.sin(x * 17.0)
        glow = math.exp(-((y - crest) / 0.07) ** 2) * (0.45 + 0.25 * math.sin(x * 11.0 + 1.3) ** 2)
        # Curtains: brighter streaks that rise above the crest.
        above = clamp01((crest - y) / 0.22)
        curtain = (0.5 + 0.5 * math.sin(x * 43.0)) * (1 - above) * 0.35 if y < crest else 0.0
        colour = mix(colour, AURORA, clamp01(glow + curtain * glow * 2))
    if detail.stars:
        reach = max(0.55 * detail.pixel, 0.012)
        for sx, sy, brightness in STARS[: 4 if detail.size < 40 else len(STARS)]:
            if abs(x - sx) >= reach or abs(y - sy) >= reach:
                continue  # too far: saves the distance
            d = math.hypot(x - sx, y - sy)
            if d < reach:
                colour = mix(colour, (255, 255, 255), brightness * (1 - d / reach) ** 0.5)
    if detail.hills:
        ridge = 0.9 - 0.05 * math.sin(x * 9.0 + 1.0) - 0.03 * math.sin(x * 23.0 + 0.3)
        if y > ridge:
            colour = HILLS
    if detail.moon:
        d = math.hypot(x - 0.8, y - 0.2)
        if d < 0.05:
            colour = mix(MOON, (120, 124, 140), clamp01((x - 0.8 + y - 0.2) * 8 + 0.3))
    # A lighter rim: the tile stays visible on a dark background.
    rim = max(detail.pixel, 0.012)
    if edge < rim:
        colour = mix(colour, TILE_RIM, 0.8)
    return colour


def band_colour(latitude, detail):
    if detail.fine_bands:
        s = 0.55 + 0.22 * math.sin(latitude * 11.0) + 0.14 * math.sin(latitude * 27.0 + 1.0) + \
            0.09 * math.sin(latitude * 5.0 + 2.0)
    else:  # fewer, broader bands: finer ones would only blur
        s = 0.62 + 0.28 * math.sin(latitude * 6.0 + 1.2)
    polar = 1.0 - 0.35 * latitude ** 4
    return tuple(c * polar for c in mix(BAND_DARK, BAND_BRIGHT, clamp01(s)))


def planet(px, py, detail):
    """The planet's colour at (px, py) in planet radii, tilted frame; None off the disc."""
    d2 = px * px + py * py
    if d2 > 1.0:
        return None
    pz = math.sqrt(1.0 - d2)
    lit = max(0.0, px * LIGHT_X + py * LIGHT_Y + pz * LIGHT_Z)
    shade = 0.14 + 0.95 * lit
    return tuple(min(255.0, c * shade) for c in band_colour(py, detail))


def ring(q, detail):
    """Colour and opacity of the rings at q (0 inner edge, 1 outer edge)."""
    density = 0.45 if q < 0.18 else 0.95
    if detail.ringlets:
        density *= 1.0 - 0.18 + 0.18 * math.sin(q * 71.0) * math.sin(q * 23.0)
    if detail.ring_gap:
        density *= 1.0 - 0.92 * (1.0 - smoothstep(0.0, 0.035, abs(q - 0.70)))
    return mix(RING_INNER, RING_OUTER, smoothstep(0.0, 0.3, q)), density


def over(base, colour, alpha):
    """Premultiplied RGBA: colour with alpha laid over base."""
    r, g, b, a = base
    return (colour[0] * alpha + r * (1 - alpha), colour[1] * alpha + g * (1 - alpha),
            colour[2] * alpha + b * (1 - alpha), alpha + a * (1 - alpha))


def sample(x, y, detail):
    dx, dy = (x - CENTER_X) / RADIUS, (y - CENTER_Y) / RADIUS
    u = dx * COS_TILT + dy * SIN_TILT
    v = -dx * SIN_TILT + dy * COS_TILT
    inside, edge = inside_tile(x, y, detail)
    pixel = (0.0, 0.0, 0.0, 0.0)
    if inside:
        pixel = over(pixel, sky(x, y, edge, detail), 1.0)
    r = math.hypot(u, v / RING_RATIO)
    in_ring = RING_FROM <= r <= RING_TO
    disc = planet(u, v, detail)
    ring_colour, ring_alpha = ring((r - RING_FROM) / (RING_TO - RING_FROM), detail) if in_ring else (None, 0.0)
    # The far half of the rings passes behind the planet, the near half in front.
    if in_ring and (v < 0 or disc is None):
        pixel = over(pixel, ring_colour, ring_alpha)
    if disc is not None:
        pixel = over(pixel, disc, 1.0)
        if in_ring and v >= 0:
            pixel = over(pixel, ring_colour, ring_alpha)
    return pixel


def render(size):
    detail = Detail(size)
    # Samples per pixel along each axis: enough for smooth edges at every size.
    steps = 4 if size <= 32 else 3 if size <= 64 else 2
    image = []
    for row in range(size):
        line = []
        for column in range(size):
            total = [0.0, 0.0, 0.0, 0.0]
            for sy in range(steps):
                for sx in range(steps):
                    x = (column + (sx + 0.5) / steps) / size
                    y = (row + (sy + 0.5) / steps) / size
                    for i, value in enumerate(sample(x, y, detail)):
                        total[i] += value
            count = steps * steps
            alpha = total[3] / count
            if alpha <= 0.0:
                line.append((0, 0, 0, 0))
                continue
            line.append(tuple(int(round(min(255.0, c / count / alpha))) for c in total[:3]) +
                        (int(round(alpha * 255)),))
        image.append(line)
    return image


# The 16-colour image: a monitor whose screen shows the ringed planet, in the
# standard VGA colours, each as (blue, green, red) like an RGBQUAD.
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128),
    (128, 0, 0), (128, 0, 128), (128, 128, 0), (192, 192, 192),
    (128, 128, 128), (0, 0, 255), (0, 255, 0), (0, 255, 255),
    (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255),
]
NAVY, SILVER, WHITE, YELLOW, CYAN, TEAL, DARK_GREY = 4, 7, 15, 11, 14, 6, 8


def draw_16_colours():
    size = 32
    pixels = [[None] * size for _ in range(size)]

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
            ring_distance = math.hypot((x - cx) / 1.0, (y - cy) / 0.35)
            if 8.0 <= ring_distance <= 10.0 and not (d <= 4.6 and y < cy):
                pixels[y][x] = CYAN
    return pixels


def and_mask(transparent_rows, size):
    """The 1-bit mask, bottom-up, each row padded to 32 bits."""
    stride = (size + 31) // 32 * 4
    rows = []
    for row in reversed(transparent_rows):
        bits = bytearray(stride)
        for x, transparent in enumerate(row):
            if transparent:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(bits))
    return b''.join(rows)


def encode_16_colours(pixels):
    size = len(pixels)
    xor_rows = []
    for row in reversed(pixels):
        xor_rows.append(bytes(((row[x] or 0) << 4) | (row[x + 1] or 0) for x in range(0, size, 2)))
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for (b, g, r) in PALETTE)
    mask = and_mask([[p is None for p in row] for row in pixels], size)
    return header + colours + b''.join(xor_rows) + mask


def encode_32_bit(image):
    size = len(image)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = [b''.join(struct.pack('<BBBB', b, g, r, a) for (r, g, b, a) in row) for row in reversed(image)]
    mask = and_mask([[p[3] == 0 for p in row] for row in image], size)
    return header + b''.join(rows) + mask


def filtered_row(row, above, step=4):
    """The row with the PNG filter that leaves the smallest differences, the
    usual heuristic: a smooth sky then compresses to a fraction."""

    def paeth(a, b, c):
        p = a + b - c
        pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
        return a if pa <= pb and pa <= pc else b if pb <= pc else c

    lefts = bytes(step) + row[:-step]
    corners = bytes(step) + above[:-step]
    predictors = (
        lambda left, up, corner: 0,
        lambda left, up, corner: left,
        lambda left, up, corner: up,
        lambda left, up, corner: (left + up) // 2,
        paeth,
    )
    candidates = []
    for kind, predict in enumerate(predictors):
        out = bytearray([kind])
        out.extend((value - predict(left, up, corner)) & 0xFF
                   for value, left, up, corner in zip(row, lefts, above, corners))
        candidates.append((sum(b if b < 128 else 256 - b for b in out[1:]), kind, bytes(out)))
    return min(candidates)[2]


def png(image):
    height, width = len(image), len(image[0])

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))

    rows = [bytes(channel for pixel in row for channel in pixel) for row in image]
    raw = b''.join(filtered_row(row, rows[y - 1] if y > 0 else bytes(len(row))) for y, row in enumerate(rows))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def icon_file(images):
    """images: (size, colour count or 0, bits per pixel, encoded bytes)."""
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b''
    for size, colours, bits, data in images:
        directory += struct.pack('<BBBBHHII', size % 256, size % 256, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
        body += data
    return directory + body


def build_icon(rendered):
    images = [(32, 16, 4, encode_16_colours(draw_16_colours()))]
    for size in SIZES:
        data = png(rendered[size]) if size == 256 else encode_32_bit(rendered[size])
        images.append((size, 0, 32, data))
    return icon_file(images)


def contact_sheet(rendered):
    """Every size on a light and a dark background: at its size, and below it
    enlarged without smoothing to about 128 pixels, so that each pixel shows."""
    backgrounds = [(243, 243, 243), (32, 32, 32)]
    gap, enlarged = 16, 128
    widths = [max(size, enlarged) for size in SIZES]
    width = gap + sum(w + gap for w in widths)
    band_height = gap + max(SIZES) + gap + enlarged + gap
    sheet = []
    for background in backgrounds:
        sheet += [[background] * width for _ in range(band_height)]

    def paste(image, scale, left, top):
        for y in range(len(image) * scale):
            for x in range(len(image) * scale):
                r, g, b, a = image[y // scale][x // scale]
                base = sheet[top + y][left + x]
                t = a / 255.0
                sheet[top + y][left + x] = tuple(int(round(c * t + d * (1 - t))) for c, d in zip((r, g, b), base))

    for band in range(len(backgrounds)):
        top = band * band_height
        left = gap
        for size, cell in zip(SIZES, widths):
            paste(rendered[size], 1, left, top + gap + max(SIZES) - size)
            if size < enlarged:
                paste(rendered[size], enlarged // size, left, top + 2 * gap + max(SIZES))
            left += cell + gap
    return png([[pixel + (255,) for pixel in row] for row in sheet])


if __name__ == '__main__':
    arguments = sys.argv[1:]
    rendered = {size: render(size) for size in SIZES}
    if arguments[:1] == ['--sheet'] and len(arguments) == 2:
        output, data = arguments[1], contact_sheet(rendered)
    elif len(arguments) == 1:
        output, data = arguments[0], build_icon(rendered)
    else:
        sys.exit(__doc__)
    with open(output, 'wb') as f:
        f.write(data)

"""Horizontal bar charts for the benchmark's reports, drawn with ImageMagick."""
import subprocess

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
ROW_GAP = 20


def draw_bar_chart(path, title, series, rows, left=170, width=800, bar=16):
    """series: [(name, colour)]; rows: [(label, [(fraction of the axis, note) or None per series],
    [goal marks as fractions of the axis])]. One bar per series in each row; goals as red marks."""
    top, row_height = 50, len(series) * (bar + 2) + ROW_GAP
    plot = width - left - 210
    draw = []

    def text(x, y, words, size=12):
        escaped = words.replace("'", "\\'")
        # On white, so that a goal mark behind it does not strike it through.
        draw.extend(["-fill", "black", "-undercolor", "white", "-pointsize", str(size),
                     "-draw", f"text {x:.0f},{y:.0f} '{escaped}'", "-undercolor", "none"])

    def rectangle(colour, x0, y0, x1, y1):
        draw.extend(["-fill", colour, "-draw", f"rectangle {x0:.0f},{y0:.0f} {x1:.0f},{y1:.0f}"])

    text(10, 22, title, 13)
    for index, (name, colour) in enumerate(series):
        x = width - 80 * len(series) - 10 + index * 80
        rectangle(colour, x, 11, x + 12, 23)
        text(x + 16, 22, name)
    for index, (label, bars, goals) in enumerate(rows):
        y = top + index * row_height
        text(10, y + len(series) * (bar + 2) // 2 + 5, label, 13)
        for goal in goals:
            x = left + min(goal, 1.0) * plot
            rectangle("#d02020", x - 1, y - 4, x + 1, y + len(series) * (bar + 2))
        for position, ((_, colour), drawn) in enumerate(zip(series, bars)):
            if drawn is None:
                continue
            fraction, note = drawn
            y0 = y + position * (bar + 2)
            length = max(1.0, min(fraction, 1.0) * plot)
            rectangle(colour, left, y0, left + length, y0 + bar)
            text(left + length + 6, y0 + 13, note, 11)
    height = top + row_height * len(rows)
    subprocess.run(["convert", "-size", f"{width}x{height}", "xc:white", "-font", FONT, *draw, path], check=True)

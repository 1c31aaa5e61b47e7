#!/usr/bin/env python3
"""Draws the player's button bitmaps and icons and writes them to resources/,
and the same pictures as PNG files for the help to help/images/.

  tools/make_ui_images.py [RESOURCES_DIR [HELP_IMAGES_DIR]]

Bitmaps are 8-bit palette BMPs whose background is pure green (0,255,0), the
colour the program replaces by the button face; shapes are drawn crisp (each
pixel takes the colour that covers most of it) so no green fringes remain.
Icons have an alpha channel and are smoothed at the edges: the tray icons
16x16 and 32x32, the program's own icons (the executable, the installer,
the uninstaller and the file types) also 48x48.
The output is committed; run this again after changing a drawing.
"""
import math
import os
import struct
import sys
import zlib

GREEN = (0, 255, 0)
SS = 4  # sub-samples per pixel and axis

INK = (40, 44, 52)
BLUE = (30, 90, 180)
LIGHT_BLUE = (120, 170, 235)
RED = (200, 40, 40)
DARK_RED = (140, 20, 20)
PLAY_GREEN = (30, 140, 60)
YELLOW = (236, 196, 72)
DARK_YELLOW = (170, 130, 30)
WHITE = (255, 255, 255)
GREY = (150, 150, 156)


class Canvas:
    """A supersampled picture; each sub-sample holds a colour or None."""

    def __init__(self, width, height, background=None):
        self.width, self.height = width, height
        self.w, self.h = width * SS, height * SS
        self.cells = [background] * (self.w * self.h)

    def _fill(self, inside, colour, box=None):
        x0, y0, x1, y1 = box if box else (0, 0, self.width, self.height)
        for sy in range(max(0, int(y0 * SS) - 1), min(self.h, int(math.ceil(y1 * SS)) + 1)):
            y = (sy + 0.5) / SS
            for sx in range(max(0, int(x0 * SS) - 1), min(self.w, int(math.ceil(x1 * SS)) + 1)):
                if inside((sx + 0.5) / SS, y):
                    self.cells[sy * self.w + sx] = colour

    def polygon(self, points, colour):
        def inside(x, y):
            hit = False
            n = len(points)
            for i in range(n):
                (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
                if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                    hit = not hit
            return hit
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self._fill(inside, colour, (min(xs), min(ys), max(xs), max(ys)))

    def rect(self, x0, y0, x1, y1, colour):
        self.polygon([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], colour)

    def circle(self, cx, cy, r, colour, inner=0.0, start=None, end=None):
        def inside(x, y):
            d = math.hypot(x - cx, y - cy)
            if not inner <= d <= r:
                return False
            if start is None:
                return True
            a = math.degrees(math.atan2(y - cy, x - cx)) % 360
            return (a - start) % 360 <= (end - start) % 360
        self._fill(inside, colour, (cx - r, cy - r, cx + r, cy + r))

    def line(self, x0, y0, x1, y1, width, colour):
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / length * width / 2, dx / length * width / 2
        self.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny),
                      (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)], colour)

    def crisp(self):
        """One colour per pixel: the one covering most of it."""
        out = []
        for y in range(self.height):
            row = []
            for x in range(self.width):
                counts = {}
                for sy in range(y * SS, y * SS + SS):
                    for sx in range(x * SS, x * SS + SS):
                        c = self.cells[sy * self.w + sx]
                        counts[c] = counts.get(c, 0) + 1
                row.append(max(counts.items(), key=lambda kv: (kv[1], kv[0] is not None))[0])
            out.append(row)
        return out

    def smooth(self):
        """RGBA per pixel, averaged over the sub-samples."""
        out = []
        n = SS * SS
        for y in range(self.height):
            row = []
            for x in range(self.width):
                r = g = b = a = 0
                for sy in range(y * SS, y * SS + SS):
                    for sx in range(x * SS, x * SS + SS):
                        c = self.cells[sy * self.w + sx]
                        if c is not None:
                            r += c[0]; g += c[1]; b += c[2]; a += 1
                row.append((r // a, g // a, b // a, a * 255 // n) if a else (0, 0, 0, 0))
            out.append(row)
        return out


def write_bmp8(path, pixels):
    height, width = len(pixels), len(pixels[0])
    palette = [GREEN]
    for row in pixels:
        for c in row:
            c = GREEN if c is None else c
            if c not in palette:
                palette.append(c)
    assert len(palette) <= 256, path
    stride = (width + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):
        line = bytes(palette.index(GREEN if c is None else c) for c in row)
        data += line + b"\0" * (stride - width)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(data), 2835, 2835,
                         len(palette), 0)
    offset = 14 + len(header) + len(table)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset))
        f.write(header + table + data)


def icon_image(pixels):
    size = len(pixels)
    xor = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def write_png(path, pixels):
    """RGBA pixels, or palette-style colours with None for transparent."""
    height, width = len(pixels), len(pixels[0])
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # no filter
        for c in row:
            if c is None:
                raw += bytes((0, 0, 0, 0))
            elif len(c) == 3:
                raw += bytes((*c, 255))
            else:
                raw += bytes(c)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        f.write(chunk(b"IEND", b""))


def write_ico(path, images):
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for pixels in images:
        size = len(pixels)
        blob = icon_image(pixels)
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + entries + blobs)


# ---- glyphs, drawn on a 16x16 grid and scaled by s for other sizes ----

def play(c, s=1.0, colour=PLAY_GREEN):
    c.polygon([(5 * s, 3 * s), (13 * s, 8 * s), (5 * s, 13 * s)], colour)


def pause(c, s=1.0, colour=BLUE):
    c.rect(4 * s, 3 * s, 7 * s, 13 * s, colour)
    c.rect(9 * s, 3 * s, 12 * s, 13 * s, colour)


def stop(c, s=1.0, colour=RED):
    c.rect(4 * s, 4 * s, 12 * s, 12 * s, colour)


def previous(c, s=1.0, colour=INK):
    c.rect(3 * s, 4 * s, 5 * s, 12 * s, colour)
    c.polygon([(13 * s, 4 * s), (5 * s, 8 * s), (13 * s, 12 * s)], colour)


def next_song(c, s=1.0, colour=INK):
    c.rect(11 * s, 4 * s, 13 * s, 12 * s, colour)
    c.polygon([(3 * s, 4 * s), (11 * s, 8 * s), (3 * s, 12 * s)], colour)


def rewind(c):
    c.polygon([(8, 4), (2, 8), (8, 12)], INK)
    c.polygon([(14, 4), (8, 8), (14, 12)], INK)


def forward(c):
    c.polygon([(2, 4), (8, 8), (2, 12)], INK)
    c.polygon([(8, 4), (14, 8), (8, 12)], INK)


def open_folder(c):
    c.polygon([(1, 4), (6, 4), (7, 5.5), (13, 5.5), (13, 13), (1, 13)], DARK_YELLOW)
    c.polygon([(2, 5), (5.5, 5), (6.5, 6.5), (12, 6.5), (12, 12), (2, 12)], YELLOW)
    c.polygon([(3.5, 8), (15, 8), (13, 13), (1, 13)], DARK_YELLOW)
    c.polygon([(4.2, 9), (13.6, 9), (12.3, 12), (2.6, 12)], (248, 220, 120))


def globe(c):
    c.circle(8, 8, 6.5, BLUE)
    c.circle(8, 8, 5.5, LIGHT_BLUE)
    c.line(8, 2, 8, 14, 1.0, BLUE)
    c.line(2, 8, 14, 8, 1.0, BLUE)
    c.circle(8, 8, 3.2, BLUE, inner=2.3)


def properties(c):
    for y, knob in ((4, 10), (8, 5), (12, 8)):
        c.rect(2, y - 0.5, 14, y + 0.5, INK)
        c.rect(knob - 1.5, y - 2, knob + 1.5, y + 2, BLUE)


def information(c):
    c.circle(8, 8, 7, BLUE)
    c.circle(8, 4.5, 1.3, WHITE)
    c.rect(7, 7, 9.2, 12.5, WHITE)


def exit_door(c):
    c.line(4, 4, 12, 12, 2.4, RED)
    c.line(12, 4, 4, 12, 2.4, RED)


def playlist(c):
    for y in (3, 6.5, 10):
        c.rect(1, y, 9, y + 1.6, INK)
    c.rect(12, 3, 13.4, 12, BLUE)
    c.line(13, 3.3, 15.5, 5, 1.3, BLUE)
    c.circle(10.7, 12.3, 2.2, BLUE)


def endless(c):
    c.circle(8, 8, 6, BLUE, inner=4.0, start=320, end=250)
    c.polygon([(7, 0.5), (11.5, 3), (7, 6)], BLUE)


def random_die(c):
    c.rect(2, 2, 14, 14, INK)
    c.rect(3, 3, 13, 13, WHITE)
    for x, y in ((5.5, 5.5), (10.5, 10.5), (8, 8), (10.5, 5.5), (5.5, 10.5)):
        c.circle(x, y, 1.3, INK)


def clock(c, remaining):
    c.circle(8, 8, 7, INK)
    c.circle(8, 8, 6, WHITE)
    c.rect(7.4, 3, 8.6, 8.6, INK)
    c.line(8, 8, 11.5, 10, 1.2, INK)
    if remaining:
        c.circle(8, 8, 6, RED, inner=4.9, start=270, end=90 + 0.01)
    else:
        c.circle(8, 8, 6, PLAY_GREEN, inner=4.9, start=270, end=90 + 0.01)


def speaker(c, waves):
    c.rect(2, 6, 5, 11, INK)
    c.polygon([(5, 6), (9, 2.5), (9, 14.5), (5, 11)], INK)
    if waves == 0:
        c.line(11, 6, 16, 11, 1.4, RED)
        c.line(16, 6, 11, 11, 1.4, RED)
    for i in range(waves):
        r = 3.2 + 2.5 * i
        c.circle(8, 8.5, r + 1.2, BLUE, inner=r, start=310, end=50)


def logo(c, s):
    # The program's triangles: red above, blue below.
    c.polygon([(2 * s, 6 * s), (6 * s, 1 * s), (15 * s, 6 * s)], (225, 30, 30))
    c.polygon([(1 * s, 10 * s), (15 * s, 10 * s), (1 * s, 15 * s)], (30, 60, 220))
    c.rect(1 * s, 7 * s, 15 * s, 9 * s, INK)


def badge(c, s, colour, arrow):
    """A round sign in the lower right corner: an arrow down or a bar."""
    c.circle(11.5 * s, 11.5 * s, 4.5 * s, WHITE)
    c.circle(11.5 * s, 11.5 * s, 3.7 * s, colour)
    if arrow:
        c.rect(10.8 * s, 8.6 * s, 12.2 * s, 11.6 * s, WHITE)
        c.polygon([(9.2 * s, 11.2 * s), (13.8 * s, 11.2 * s), (11.5 * s, 14 * s)], WHITE)
    else:
        c.rect(9.4 * s, 10.8 * s, 13.6 * s, 12.2 * s, WHITE)


def setup(c, s):
    logo(c, s)
    badge(c, s, PLAY_GREEN, True)


def uninstall(c, s):
    logo(c, s)
    badge(c, s, RED, False)


def playlist_file(c, s):
    # A sheet with a folded corner, a list and a note.
    c.polygon([(2.5 * s, 0.5 * s), (10.5 * s, 0.5 * s), (14 * s, 4 * s), (14 * s, 15.5 * s),
               (2.5 * s, 15.5 * s)], GREY)
    c.polygon([(3.3 * s, 1.3 * s), (10.2 * s, 1.3 * s), (13.2 * s, 4.3 * s),
               (13.2 * s, 14.7 * s), (3.3 * s, 14.7 * s)], WHITE)
    c.polygon([(10.2 * s, 0.5 * s), (10.2 * s, 4.3 * s), (14 * s, 4.3 * s)], GREY)
    for y in (5, 8, 11):
        c.rect(4.5 * s, y * s, 8.6 * s, (y + 1.2) * s, INK)
    c.rect(10.9 * s, 6 * s, 11.9 * s, 12 * s, BLUE)
    c.line(11.4 * s, 6.3 * s, 12.9 * s, 7.6 * s, 1.0 * s, BLUE)
    c.circle(10.2 * s, 12.2 * s, 1.7 * s, BLUE)


# The playlist editor's buttons.
def page(c):
    c.polygon([(3, 1), (10, 1), (13, 4), (13, 15), (3, 15)], INK)
    c.polygon([(4, 2), (9.5, 2), (12, 4.5), (12, 14), (4, 14)], WHITE)


def new_list(c):
    page(c)
    c.circle(11.5, 4.5, 3.2, YELLOW)
    c.line(11.5, 2, 11.5, 7, 0.9, DARK_YELLOW)
    c.line(9, 4.5, 14, 4.5, 0.9, DARK_YELLOW)


def import_list(c):
    page(c)
    for y in (6, 9, 12):
        c.rect(5, y, 9, y + 1.1, INK)
    c.polygon([(9, 7.5), (12.5, 7.5), (12.5, 5.5), (15.5, 9), (12.5, 12.5), (12.5, 10.5), (9, 10.5)], PLAY_GREEN)


def save_disk(c):
    c.rect(2, 2, 14, 14, BLUE)
    c.rect(4.5, 2.5, 11.5, 7, WHITE)
    c.rect(9.5, 3, 10.8, 6.2, BLUE)
    c.rect(4.5, 9.5, 11.5, 14, LIGHT_BLUE)


def delete_entry(c):
    for y in (3, 7, 11):
        c.rect(1, y, 8, y + 1.6, INK)
    c.line(9, 6, 15, 12, 2.0, RED)
    c.line(15, 6, 9, 12, 2.0, RED)


def move_entry(c, top):
    bar = 1.5 if top else 12.5
    c.rect(2, bar, 14, bar + 2, INK)
    if top:
        c.polygon([(8, 4.5), (13, 9.5), (10, 9.5), (10, 14.5), (6, 14.5), (6, 9.5), (3, 9.5)], BLUE)
    else:
        c.polygon([(8, 11.5), (13, 6.5), (10, 6.5), (10, 1.5), (6, 1.5), (6, 6.5), (3, 6.5)], BLUE)


def launch_explorer(c):
    c.rect(1, 2, 15, 13, INK)
    c.rect(2, 4, 14, 12, WHITE)
    c.rect(2, 2.5, 14, 3.6, BLUE)
    c.polygon([(3, 6), (6, 6), (7, 7), (10, 7), (10, 11), (3, 11)], YELLOW)
    c.rect(5, 13, 11, 14.5, INK)


BITMAPS = {
    197: ("play", play), 198: ("pause", pause), 183: ("stop", stop),
    204: ("rewind", rewind), 205: ("forward", forward),
    194: ("previous", previous), 200: ("next", next_song),
    195: ("elapsed", lambda c: clock(c, False)), 191: ("remaining", lambda c: clock(c, True)),
    199: ("open", open_folder), 231: ("address", globe), 193: ("properties", properties),
    179: ("information", information), 181: ("exit", exit_door), 196: ("playlist", playlist),
    206: ("endless", endless), 192: ("random", random_die),
    189: ("volume0", lambda c: speaker(c, 0)), 188: ("volume1", lambda c: speaker(c, 1)),
    187: ("volume2", lambda c: speaker(c, 2)), 186: ("volume3", lambda c: speaker(c, 3)),
    185: ("volume4", lambda c: speaker(c, 4)),
    510: ("editor_new", new_list), 511: ("editor_import", import_list),
    512: ("editor_save", save_disk), 513: ("editor_delete", delete_entry),
    514: ("editor_top", lambda c: move_entry(c, True)),
    515: ("editor_bottom", lambda c: move_entry(c, False)),
    516: ("editor_launch", launch_explorer),
}

# Id: name, drawing, sizes. The shell finds a file type's icon by its place
# among the program's icons, which follow the ids: the audio files take the
# first (128), the playlists the fourth (131).
PROGRAM_SIZES = (16, 32, 48)
TRAY_SIZES = (16, 32)
ICONS = {
    128: ("plyvane", logo, PROGRAM_SIZES),
    129: ("setup", setup, PROGRAM_SIZES),
    130: ("uninstall", uninstall, PROGRAM_SIZES),
    131: ("playlist_file", playlist_file, PROGRAM_SIZES),
    133: ("tray_play", lambda c, s: play(c, s), TRAY_SIZES),
    224: ("tray_pause", lambda c, s: pause(c, s), TRAY_SIZES),
    134: ("tray_stop", lambda c, s: stop(c, s), TRAY_SIZES),
    135: ("tray_next", lambda c, s: next_song(c, s), TRAY_SIZES),
    136: ("tray_previous", lambda c, s: previous(c, s), TRAY_SIZES),
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "images")
    help_out = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "help", "images")
    os.makedirs(out, exist_ok=True)
    os.makedirs(help_out, exist_ok=True)
    for number, (name, draw) in sorted(BITMAPS.items()):
        canvas = Canvas(20 if name.startswith("volume") else 16, 16)
        draw(canvas)
        pixels = canvas.crisp()
        write_bmp8(os.path.join(out, f"{name}.bmp"), pixels)
        write_png(os.path.join(help_out, f"button_{name}.png"), pixels)
    for number, (name, draw, sizes) in sorted(ICONS.items()):
        images = []
        for size in sizes:
            canvas = Canvas(size, size)
            draw(canvas, size / 16)
            images.append(canvas.smooth())
        write_ico(os.path.join(out, f"{name}.ico"), images)
        # The help shows the tray icons as the taskbar does, at 16 pixels,
        # and the program's own at 32 (scaled down where they stand in text).
        write_png(os.path.join(help_out, f"icon_{name}.png"),
                  images[1] if sizes == PROGRAM_SIZES else images[0])


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draws the program's pictures: icon 128 (nestiq.ico), clip 129 (busy.avi)
and bitmap 135 (about.bmp).

Integer arithmetic only, so the bytes are the same on every machine and every
run. The output is committed next to this file; run it again after a change:

    python3 draw_resources.py [--out DIR]
"""
import argparse
import pathlib
import struct
import zlib

# --- shared drawing helpers -------------------------------------------------

VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def palette256():
    """The 16 system colours, a 6x6x6 cube and 24 greys: 256 entries."""
    cube = [(r * 51, g * 51, b * 51)
            for r in range(6) for g in range(6) for b in range(6)]
    greys = [(8 + 10 * i, 8 + 10 * i, 8 + 10 * i) for i in range(24)]
    return VGA16 + cube + greys


def nearest(palette, rgb):
    best, best_d = 0, None
    for i, (r, g, b) in enumerate(palette):
        d = (r - rgb[0]) ** 2 + (g - rgb[1]) ** 2 + (b - rgb[2]) ** 2
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


def inside(poly, px, py):
    """Point in a convex polygon given clockwise on screen, edges included."""
    n = len(poly)
    for i in range(n):
        ax, ay = poly[i]
        bx, by = poly[(i + 1) % n]
        if (bx - ax) * (py - ay) - (by - ay) * (px - ax) < 0:
            return False
    return True


def line(x0, y0, x1, y1):
    """Bresenham's pixels from (x0, y0) to (x1, y1), both ends included."""
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
    err = dx + dy
    while True:
        yield x0, y0
        if x0 == x1 and y0 == y1:
            return
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


def blend(back, front, num, den):
    return tuple((b * (den - num) + f * num + den // 2) // den
                 for b, f in zip(back, front))


# --- the box: three faces of a small network box, on a 32-unit grid ----------

BOX_TOP = [(4, 10), (16, 4), (28, 10), (16, 16)]
BOX_LEFT = [(4, 10), (16, 16), (16, 29), (4, 23)]
BOX_RIGHT = [(16, 16), (28, 10), (28, 23), (16, 29)]
BOX_LEDS = [(7, 18), (10, 19), (13, 21)]
BOX_EDGES = [((4, 10), (16, 4)), ((16, 4), (28, 10)), ((28, 10), (28, 23)),
             ((28, 23), (16, 29)), ((16, 29), (4, 23)), ((4, 23), (4, 10)),
             ((4, 10), (16, 16)), ((16, 16), (28, 10)), ((16, 16), (16, 29))]

OUTLINE = (20, 24, 32)
LED = (40, 224, 40)


def face_colour(face, y, shaded):
    """Flat colours for 16 colours, a top-to-bottom shade for 256."""
    base = {"top": (200, 216, 232), "left": (48, 128, 176),
            "right": (24, 72, 128)}[face]
    if not shaded or face == "top":
        return base
    return blend(base, (0, 0, 0), max(0, y - 10), 80)


def draw_box(size, shaded):
    """A size x size grid of RGB tuples, None where transparent."""
    k = 32 // size
    img = [[None] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            p = (x * k, y * k)
            for name, poly in (("top", BOX_TOP), ("left", BOX_LEFT),
                               ("right", BOX_RIGHT)):
                if inside(poly, *p):
                    img[y][x] = face_colour(name, p[1], shaded)
    for (a, b) in BOX_EDGES:
        for x, y in line(a[0] // k, a[1] // k, b[0] // k, b[1] // k):
            img[y][x] = OUTLINE
    leds = BOX_LEDS if size >= 32 else BOX_LEDS[::2]  # room for two at 16
    for lx, ly in leds:
        img[ly // k][lx // k] = LED
    return img


# --- icon 128 -----------------------------------------------------------------

def icon_image(size, bits):
    palette = VGA16 if bits == 4 else palette256()
    img = draw_box(size, shaded=(bits == 8))
    cache = {}

    def index(rgb):
        if rgb not in cache:
            cache[rgb] = nearest(palette, rgb)
        return cache[rgb]

    xor_row = ((size * bits + 31) // 32) * 4
    and_row = ((size + 31) // 32) * 4
    xor, mask = bytearray(), bytearray()
    for y in reversed(range(size)):  # bottom row first
        row = [0 if px is None else index(px) for px in img[y]]
        packed = bytearray(xor_row)
        for x, v in enumerate(row):
            if bits == 8:
                packed[x] = v
            else:
                packed[x // 2] |= v << (4 if x % 2 == 0 else 0)
        xor += packed
        bitsrow = bytearray(and_row)
        for x, px in enumerate(img[y]):
            if px is None:
                bitsrow[x // 8] |= 0x80 >> (x % 8)
        mask += bitsrow
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + table + bytes(xor) + bytes(mask)


def make_icon():
    images = [(32, 4), (16, 4), (32, 8)]
    blobs = [icon_image(size, bits) for size, bits in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, bits), blob in zip(images, blobs):
        colours = 16 if bits == 4 else 0  # 0 stands for 256 and more
        out += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bits,
                           len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def make_png():
    """The 32 x 32 icon as a PNG, for the Linux desktop entry; stored, not
    compressed, so that every zlib writes the same bytes."""
    img = draw_box(32, shaded=True)
    raw = bytearray()
    for row in img:
        raw.append(0)  # no filter
        for px in row:
            raw += bytes((0, 0, 0, 0)) if px is None else bytes(px) + b"\xff"

    def png_chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", 32, 32, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(bytes(raw), 0)) +
            png_chunk(b"IEND", b""))


# --- clip 129: eight dots turning, one frame a step ---------------------------

CLIP_SIZE = 32
CLIP_FRAMES = 8
FRAME_BYTES = CLIP_SIZE * CLIP_SIZE * 2
BUTTON_FACE = (192, 192, 192)  # drawn opaque over the Launch button
DOT = (0, 40, 120)
# Dot centres in eighths of a pixel around the middle, clockwise from the top.
DOT_CENTRES = [(0, -80), (57, -57), (80, 0), (57, 57),
               (0, 80), (-57, 57), (-80, 0), (-57, -57)]
DOT_RADIUS = 24
TRAIL = [16, 13, 10, 8, 6, 4, 3, 2]  # strength out of 16, head first


def clip_frame(step):
    rows = []
    for y in range(CLIP_SIZE):
        row = []
        for x in range(CLIP_SIZE):
            colour = BUTTON_FACE
            for i, (cx, cy) in enumerate(DOT_CENTRES):
                hits = 0
                for sy in range(4):
                    for sx in range(4):
                        dx = 8 * x + 1 + 2 * sx - (128 + cx)
                        dy = 8 * y + 1 + 2 * sy - (128 + cy)
                        if dx * dx + dy * dy <= DOT_RADIUS * DOT_RADIUS:
                            hits += 1
                if hits:
                    strength = TRAIL[(step - i) % CLIP_FRAMES]
                    colour = blend(colour, DOT, hits * strength, 256)
            row.append(colour)
        rows.append(row)
    out = bytearray()
    for row in reversed(rows):  # bottom row first
        for r, g, b in row:
            out += struct.pack("<H", ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3))
    assert len(out) == FRAME_BYTES
    return bytes(out)


def chunk(fourcc, data):
    pad = b"\0" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def riff_list(kind, fourcc, body):
    return kind + struct.pack("<I", 4 + len(body)) + fourcc + body


def make_clip():
    avih = struct.pack("<14I", 100000, FRAME_BYTES * 10, 0,
                       0x10 | 0x800,  # AVIF_HASINDEX | AVIF_TRUSTCKTYPE
                       CLIP_FRAMES, 0, 1, FRAME_BYTES, CLIP_SIZE, CLIP_SIZE,
                       0, 0, 0, 0)
    strh = struct.pack("<4s4sIHHIIIIIIII4h", b"vids", b"\0\0\0\0", 0, 0, 0,
                       0, 1, 10, 0, CLIP_FRAMES, FRAME_BYTES, 0, 0,
                       0, 0, CLIP_SIZE, CLIP_SIZE)
    cube = [(r * 51, g * 51, b * 51)
            for r in range(6) for g in range(6) for b in range(6)]
    strf = struct.pack("<IiiHHIIiiII", 40, CLIP_SIZE, CLIP_SIZE, 1, 16, 0,
                       FRAME_BYTES, 0, 0, len(cube), len(cube))
    strf += b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in cube)
    hdrl = riff_list(b"LIST", b"hdrl", chunk(b"avih", avih) +
                     riff_list(b"LIST", b"strl",
                               chunk(b"strh", strh) + chunk(b"strf", strf)))
    head = b"RIFF....AVI " + hdrl
    # The first frame chunk goes at byte 4096: JUNK header + filler + movi header.
    filler = 4096 - len(head) - 8 - 12
    junk = chunk(b"JUNK", b"\0" * filler)
    frames = [chunk(b"00db", clip_frame(step)) for step in range(CLIP_FRAMES)]
    movi = riff_list(b"LIST", b"movi", b"".join(frames))
    index, offset = b"", 4  # counted from the "movi" list type
    for frame in frames:
        index += struct.pack("<4sIII", b"00db", 0x10, offset, FRAME_BYTES)
        offset += len(frame)
    body = head[8:] + junk + movi + chunk(b"idx1", index)
    clip = b"RIFF" + struct.pack("<I", len(body)) + body
    assert clip.index(b"00db") == 4096
    # Zero bytes follow the RIFF form, up to a 512-byte boundary.
    return clip + b"\0" * (-len(clip) % 512)


# --- bitmap 135: the About picture --------------------------------------------

FONT = {
    "N": ["#...#", "##..#", "##..#", "#.#.#", "#..##", "#..##", "#...#"],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "s": [".....", ".....", ".####", "#....", ".###.", "....#", "####."],
    "t": [".#...", ".#...", "####.", ".#...", ".#...", ".#..#", "..##."],
    "i": ["..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."],
    "q": [".....", ".....", ".####", "#...#", ".####", "....#", "....#"],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "n": [".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "3": ["####.", "....#", "....#", ".###.", "....#", "....#", "####."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    ".": [".....", ".....", ".....", ".....", ".....", ".##..", ".##.."],
    " ": [".....", ".....", ".....", ".....", ".....", ".....", "....."],
}

ABOUT_W, ABOUT_H = 150, 55


def put_text(img, text, left, top, scale, colour):
    x0 = left
    for ch in text:
        for gy, row in enumerate(FONT[ch]):
            for gx, cell in enumerate(row):
                if cell != "#":
                    continue
                for dy in range(scale):
                    for dx in range(scale):
                        x, y = x0 + gx * scale + dx, top + gy * scale + dy
                        if 0 <= x < ABOUT_W and 0 <= y < ABOUT_H:
                            img[y][x] = colour
        x0 += 6 * scale


def make_about():
    top, bottom = (28, 72, 124), (8, 24, 56)
    img = [[blend(top, bottom, y, ABOUT_H - 1)] * ABOUT_W
           for y in range(ABOUT_H)]
    img = [list(row) for row in img]
    # The box, drawn at 1.5 times its icon size, anti-aliased (4x4 samples).
    ox, oy = 4, 3
    for y in range(48):
        for x in range(48):
            counts = {}
            for sy in range(4):
                for sx in range(4):
                    # A sample at pixel x + (2s+1)/8 is design unit
                    # (8x + 2s + 1) / 12: compare both sides times 12.
                    px, py = 8 * x + 2 * sx + 1, 8 * y + 2 * sy + 1
                    for name, poly in (("right", BOX_RIGHT), ("left", BOX_LEFT),
                                       ("top", BOX_TOP)):
                        scaled = [(vx * 12, vy * 12) for vx, vy in poly]
                        if inside(scaled, px, py):
                            counts[name] = counts.get(name, 0) + 1
                            break
            colour = img[oy + y][ox + x]
            for name in ("right", "left", "top"):
                if name in counts:
                    face = face_colour(name, (y * 2) // 3, shaded=True)
                    colour = blend(colour, face, counts[name], 16)
            img[oy + y][ox + x] = colour
    for lx, ly in BOX_LEDS:
        x, y = ox + lx * 3 // 2, oy + ly * 3 // 2
        for dy in range(2):
            for dx in range(2):
                img[y + dy][x + dx] = LED
    put_text(img, "Nestiq", 61, 10, 2, (8, 16, 32))
    put_text(img, "Nestiq", 60, 9, 2, (255, 255, 255))
    put_text(img, "Version 3.2", 61, 36, 1, (200, 216, 232))
    row_bytes = (ABOUT_W * 3 + 3) // 4 * 4
    pixels = bytearray()
    for y in reversed(range(ABOUT_H)):  # bottom row first
        row = bytearray(row_bytes)
        for x, (r, g, b) in enumerate(img[y]):
            row[3 * x:3 * x + 3] = bytes((b, g, r))
        pixels += row
    info = struct.pack("<IiiHHIIiiII", 40, ABOUT_W, ABOUT_H, 1, 24, 0,
                       len(pixels), 0, 0, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0,
                         14 + len(info))
    return header + info + bytes(pixels)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=pathlib.Path(__file__).parent,
                        type=pathlib.Path, help="folder to write into")
    args = parser.parse_args()
    args.out.mkdir(parents=True, exist_ok=True)
    for name, data in (("nestiq.ico", make_icon()), ("busy.avi", make_clip()),
                       ("about.bmp", make_about()),
                       ("nestiq.png", make_png())):
        (args.out / name).write_bytes(data)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draws the program's bitmaps, icon and cursor (pure Python, no imaging library).

Run from this folder; the outputs are committed, so the build needs no Python.
  statsform_imagelist.bmp  32 x 16, 24 bpp: two 16 x 16 idle tray pictures, magenta = transparent
  tarvelo.ico              16 x 16 and 32 x 32 program icon
  hand.cur                 32 x 32 monochrome pointing hand, hot spot (7, 1)
"""
import struct

MAGENTA = (255, 0, 255)
FRAME = (96, 96, 96)
DIM_DN = (200, 120, 120)
DIM_UP = (200, 200, 110)
GREY = (160, 160, 160)


def canvas(w, h, fill):
    return [[fill for _ in range(w)] for _ in range(h)]


def rect(img, l, t, r, b, outline, fill=None):
    """Outline on the ring of (l, t, r, b), right and bottom exclusive; inside filled."""
    for y in range(t, b):
        for x in range(l, r):
            edge = x in (l, r - 1) or y in (t, b - 1)
            if edge:
                img[y][x] = outline
            elif fill is not None:
                img[y][x] = fill


def towers(img, ox, lit_dn, lit_up, lit_colour_dn, lit_colour_up, frame):
    # five bricks per tower, bottom to top, sharing their outline rows
    for i in range(1, 6):
        top, bottom = 15 - 3 * i, 19 - 3 * i
        rect(img, ox + 1, top, ox + 7, bottom, frame, lit_colour_dn if i <= lit_dn else None)
        rect(img, ox + 9, top, ox + 15, bottom, frame, lit_colour_up if i <= lit_up else None)


def bmp24(img):
    h, w = len(img), len(img[0])
    stride = (w * 3 + 3) & ~3
    rows = b""
    for y in range(h - 1, -1, -1):
        row = b"".join(bytes((b, g, r)) for (r, g, b) in img[y])
        rows += row + b"\0" * (stride - len(row))
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(header) + len(rows), 0, 0, 54) + header + rows


def icon_image(img, transparent):
    """A 32 bpp DIB with its AND mask, as stored inside .ico files."""
    h, w = len(img), len(img[0])
    xor = b""
    for y in range(h - 1, -1, -1):
        for (r, g, b) in img[y]:
            a = 0 if (r, g, b) == transparent else 255
            xor += bytes((b, g, r, a))
    mask_stride = ((w + 31) // 32) * 4
    mask = b""
    for y in range(h - 1, -1, -1):
        bits = 0
        row = bytearray(mask_stride)
        for x in range(w):
            if img[y][x] == transparent:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def ico(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for img in images:
        blob = icon_image(img, MAGENTA)
        w = len(img[0])
        out += struct.pack("<BBBBHHII", w % 256, len(img) % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b"".join(blobs)


def program_icon(size):
    img = canvas(size, size, MAGENTA)
    s = size / 16
    rect(img, 0, 0, size, size, (40, 40, 40), (250, 250, 250))
    # a little graph: red download hills behind a yellow upload band
    heights_dn = [3, 5, 4, 7, 9, 8, 11, 10, 12, 9, 7, 8, 10, 12]
    heights_up = [1, 2, 2, 3, 2, 4, 3, 5, 4, 3, 2, 3, 4, 5]
    for i in range(size - 2):
        k = min(int(i / s), len(heights_dn) - 1)
        hd, hu = int(heights_dn[k] * s), int(heights_up[k] * s)
        for y in range(size - 1 - hd, size - 1):
            img[y][i + 1] = (255, 21, 21)
        for y in range(size - 1 - hu, size - 1):
            img[y][i + 1] = (255, 200, 48)
    return img


def hand_cursor():
    """Monochrome 32 x 32 pointing hand; AND mask 0 + XOR 0 = black, AND 0 + XOR 1 = white."""
    shape = [
        "       ##       ",
        "      #..#      ",
        "      #..#      ",
        "      #..#      ",
        "      #..###    ",
        "      #..#..##  ",
        "   ## #..#..#.# ",
        "  #..##..#..#..#",
        "  #...#........#",
        "   #...........#",
        "   #...........#",
        "    #..........#",
        "    #.........# ",
        "     #........# ",
        "     #.......#  ",
        "      #......#  ",
        "      ########  ",
    ]
    w = h = 32
    and_rows, xor_rows = [], []
    for y in range(h):
        a = bytearray(b"\xff" * 4)
        x_ = bytearray(4)
        if y < len(shape):
            for x, ch in enumerate(shape[y]):
                if ch in "#.":
                    a[x // 8] &= ~(0x80 >> (x % 8)) & 0xFF
                    if ch == ".":
                        x_[x // 8] |= 0x80 >> (x % 8)
        and_rows.append(bytes(a))
        xor_rows.append(bytes(x_))
    # the finger tip's left edge is column 6, its top row 0: hot spot (7, 1)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    body = header + palette + b"".join(reversed(xor_rows)) + b"".join(reversed(and_rows))
    return struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", w, h, 2, 0, 7, 1, len(body), 22) + body


def main():
    strip = canvas(32, 16, MAGENTA)
    # image 0: idle for a while, empty grey frames only
    towers(strip, 0, 0, 0, None, None, GREY)
    # image 1: just gone idle, frames with the lowest brick dimly lit
    towers(strip, 16, 1, 1, DIM_DN, DIM_UP, FRAME)
    open("statsform_imagelist.bmp", "wb").write(bmp24(strip))
    open("tarvelo.ico", "wb").write(ico([program_icon(16), program_icon(32)]))
    open("hand.cur", "wb").write(hand_cursor())


if __name__ == "__main__":
    main()

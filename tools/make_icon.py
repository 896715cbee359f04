#!/usr/bin/env python3
"""Draws the program's icon and writes it as a Windows .ico file.

The glyph: a gold crescent and a small star on a dark blue rounded square. Every
size is drawn from the same shapes, given as signed distance functions in a unit
square, so edges are anti-aliased at any size without scaling one bitmap down.
Sizes below 256 are stored as 32-bit bitmaps with an AND mask (read by every
Windows version); 256 is stored as PNG, as the system expects for that size.
The output depends only on this script: running it twice gives the same bytes.

Usage: make_icon.py --out Velmora.ico [--png-dir FOLDER]
"""
import argparse
import math
import pathlib
import struct
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)

TILE_TOP = (0x2E, 0x5C, 0xA8)
TILE_BOTTOM = (0x16, 0x2C, 0x5E)
GOLD = (0xF7, 0xC8, 0x4A)
STAR = (0xFF, 0xF4, 0xD6)


def rounded_square(x, y, half, radius):
    qx = abs(x - 0.5) - half + radius
    qy = abs(y - 0.5) - half + radius
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def circle(x, y, cx, cy, r):
    return math.hypot(x - cx, y - cy) - r


def crescent(x, y):
    # A disc with a smaller, offset disc taken out of it.
    return max(circle(x, y, 0.45, 0.53, 0.30), -circle(x, y, 0.58, 0.42, 0.25))


K1 = (0.809016994375, -0.587785252292)  # cos and -sin of 36 degrees
K2 = (-K1[0], K1[1])


def star(x, y, cx, cy, r, inner):
    """Distance to a five-pointed star with one point up (outer radius r, inner
    radius r * inner): the plane is folded into one tenth of the star, where the
    star's edge is a single segment."""
    px, py = abs(x - cx), cy - y  # y grows upward here
    for kx, ky in (K1, K2):
        d = 2.0 * max(kx * px + ky * py, 0.0)
        px, py = px - d * kx, py - d * ky
    px = abs(px)
    py -= r
    bax, bay = inner * -K1[1], inner * K1[0] - 1.0
    h = min(max((px * bax + py * bay) / (bax * bax + bay * bay), 0.0), r)
    dist = math.hypot(px - bax * h, py - bay * h)
    return dist if py * bax - px * bay >= 0 else -dist


def coverage(distance, size):
    # The share of a pixel inside the shape, from its distance in pixels.
    return min(max(0.5 - distance * size, 0.0), 1.0)


def over(dst, color, alpha):
    r, g, b, a = dst
    out_a = alpha + a * (1.0 - alpha)
    if out_a == 0.0:
        return (0.0, 0.0, 0.0, 0.0)
    mix = [(c * alpha + d * a * (1.0 - alpha)) / out_a for c, d in zip(color, (r, g, b))]
    return (mix[0], mix[1], mix[2], out_a)


def draw(size):
    """Rows of (r, g, b, a) bytes, top row first."""
    # Small sizes keep a thinner margin so the tile stays as large as it can.
    margin = 0.5 / size if size <= 24 else 1.5 / 32
    half = 0.5 - margin
    radius = 0.22 * half * 2
    star_r = 0.15 if size <= 20 else 0.13
    rows = []
    for j in range(size):
        row = bytearray()
        y = (j + 0.5) / size
        shade = tuple(t + (b - t) * y for t, b in zip(TILE_TOP, TILE_BOTTOM))
        for i in range(size):
            x = (i + 0.5) / size
            pixel = over((0.0, 0.0, 0.0, 0.0), shade, coverage(rounded_square(x, y, half, radius), size))
            pixel = over(pixel, GOLD, coverage(crescent(x, y), size))
            pixel = over(pixel, STAR, coverage(star(x, y, 0.73, 0.62, star_r, 0.45), size))
            row += bytes(int(round(c)) for c in pixel[:3]) + bytes([int(round(pixel[3] * 255))])
        rows.append(bytes(row))
    return rows


def bitmap_entry(size, rows):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        for k in range(0, len(row), 4):
            r, g, b, a = row[k:k + 4]
            pixels += bytes((b, g, r, a))
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for i in range(size):
            if row[i * 4 + 3] == 0:
                line[i // 8] |= 0x80 >> (i % 8)
        mask += line
    return header + bytes(pixels) + bytes(mask)


def png(size, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon_file(images):
    """images: (size, bytes) pairs; the directory is followed by the images in order."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        side = 0 if size == 256 else size
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    parser.add_argument("--png-dir", help="also write each size as icon_N.png there, to look at")
    args = parser.parse_args()
    images = []
    for size in SIZES:
        rows = draw(size)
        images.append((size, png(size, rows) if size == 256 else bitmap_entry(size, rows)))
        if args.png_dir:
            folder = pathlib.Path(args.png_dir)
            folder.mkdir(parents=True, exist_ok=True)
            (folder / f"icon_{size}.png").write_bytes(png(size, rows))
    pathlib.Path(args.out).write_bytes(icon_file(images))


if __name__ == "__main__":
    main()

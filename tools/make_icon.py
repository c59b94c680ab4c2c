#!/usr/bin/env python3
"""Draws the application icon, resources/tovani.ico (16x16 and 32x32, 32-bit).

The picture is the day window in small: a blue postage stamp with a white
calendar page, a red header band and the character 日 drawn in blue.

Usage: tools/make_icon.py resources/tovani.ico
"""
import math
import struct
import sys

BLUE = (0, 153, 227)
WHITE = (255, 255, 255)
RED = (220, 40, 40)
INK = (0, 80, 160)


def stamp(x, y, n):
    """Inside the scalloped outline of an n x n stamp (pixel centres)."""
    px, py = x + 0.5, y + 0.5
    e = n / 16.0          # edge inset
    r = n / 16.0          # scallop radius
    if e <= px <= n - e and e <= py <= n - e:
        return True
    step = 2 * r
    for k in range(1, int(n / step)):
        c = k * step
        for cx, cy in ((c, r), (c, n - r), (r, c), (n - r, c)):
            if math.hypot(px - cx, py - cy) <= r:
                return True
    return False


def pixel(x, y, n):
    if not stamp(x, y, n):
        return None
    s = n / 32.0
    page = (6 * s, 6 * s, 26 * s, 26 * s)
    if page[0] <= x < page[2] and page[1] <= y < page[3]:
        if y < page[1] + 6 * s:
            return RED
        # The character 日: a frame with a middle bar.
        gx0, gx1 = 11 * s, 21 * s - 1
        gy0, gy1 = 14 * s, 24 * s - 1
        w = max(1, int(2 * s))
        inside = gx0 <= x <= gx1 and gy0 <= y <= gy1
        mid = (gy0 + gy1) / 2
        if inside and (x < gx0 + w or x > gx1 - w or y < gy0 + w or y > gy1 - w or abs(y - mid) < w / 2 + 0.01):
            return INK
        return WHITE
    return BLUE


def image(n):
    rows = []
    for y in reversed(range(n)):           # bottom-up rows
        row = b""
        for x in range(n):
            c = pixel(x, y, n)
            row += b"\0\0\0\0" if c is None else bytes((c[2], c[1], c[0], 255))
        rows.append(row)
    xor = b"".join(rows)
    mask_row = ((n + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(n)):
        bits = bytearray(mask_row)
        for x in range(n):
            if pixel(x, y, n) is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + bytes(mask)


def main(path):
    sizes = (16, 32)
    images = [image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/tovani.ico")

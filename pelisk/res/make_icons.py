#!/usr/bin/env python3
"""Draws the settings program's icons and picker cursor and writes them as .ico/.cur files.

Run from this folder; the outputs are committed, so the build does not need Python.
"""
import math
import struct


def image(size, paint):
    """32-bit BGRA rows bottom-up plus a 1-bit AND mask, as an icon directory entry's bitmap."""
    pixels = [[paint(x + 0.5, y + 0.5, size) for x in range(size)] for y in range(size)]
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    body = b''.join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + body + mask


def write(path, paint, sizes, cursor_hotspot=None):
    kind = 2 if cursor_hotspot else 1
    images = [image(s, paint) for s in sizes]
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        if cursor_hotspot:
            hx, hy = cursor_hotspot(s)
            out += struct.pack('<BBBBHHII', s, s, 0, 0, hx, hy, len(data), offset)
        else:
            out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


CLEAR = (0, 0, 0, 0)


def main_icon(x, y, n):
    # A mouse body on a teal disc, with its wheel picked out in orange.
    u, v = x / n, y / n
    d = math.hypot(u - 0.5, v - 0.5)
    if d > 0.48:
        return CLEAR
    colour = (0, 128, 128, 255) if d > 0.42 else (32, 170, 160, 255)
    if ((u - 0.5) / 0.2) ** 2 + ((v - 0.55) / 0.3) ** 2 <= 1:
        colour = (250, 250, 250, 255)
        if abs(u - 0.5) < 0.045 and 0.3 < v < 0.48:
            colour = (240, 120, 20, 255)
        elif abs(v - 0.5) < 0.02:
            colour = (60, 60, 60, 255)
    return colour


def target(x, y, n, with_cross):
    u, v = x / n, y / n
    d = math.hypot(u - 0.5, v - 0.5)
    if 0.36 < d < 0.46:
        return (200, 30, 30, 255)
    if with_cross and (abs(u - 0.5) < 0.04 or abs(v - 0.5) < 0.04) and d < 0.3:
        return (20, 20, 20, 255)
    if d < 0.36:
        return (255, 255, 255, 255)
    return CLEAR


def cursor(x, y, n):
    u, v = x / n, y / n
    d = math.hypot(u - 0.5, v - 0.5)
    if 0.3 < d < 0.36:
        return (200, 30, 30, 255)
    if (abs(u - 0.5) < 0.025 or abs(v - 0.5) < 0.025) and d < 0.46:
        return (0, 0, 0, 255)
    return CLEAR


write('main.ico', main_icon, [16, 32, 48])
write('picker.ico', lambda x, y, n: target(x, y, n, True), [16, 32])
write('picker_search.ico', lambda x, y, n: target(x, y, n, False), [16, 32])
write('picker.cur', cursor, [32], cursor_hotspot=lambda s: (s // 2, s // 2))

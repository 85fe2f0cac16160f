#!/usr/bin/env python3
"""Draws the program's icon (32x32 and 16x16, 32-bit) and writes it as an
.ico file: a blue rounded square with a white check mark and a radio wave."""
import struct, sys

def draw(size):
    px = []
    r = size * 0.2
    for y in range(size):
        row = []
        for x in range(size):
            # rounded square
            cx = min(max(x + 0.5, r), size - r)
            cy = min(max(y + 0.5, r), size - r)
            inside = (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r
            if not inside:
                row.append((0, 0, 0, 0)); continue
            col = (200, 90, 20, 255)            # BGRA: blue
            u, v = (x + 0.5) / size, (y + 0.5) / size
            # check mark: two strokes
            def near(ax, ay, bx, by, w):
                dx, dy = bx - ax, by - ay
                t = max(0, min(1, ((u - ax) * dx + (v - ay) * dy) / (dx * dx + dy * dy)))
                return (u - ax - t * dx) ** 2 + (v - ay - t * dy) ** 2 <= w * w
            if near(0.2, 0.55, 0.42, 0.78, 0.075) or near(0.42, 0.78, 0.82, 0.3, 0.075):
                col = (255, 255, 255, 255)
            # a wave arc in the upper left corner
            d = ((u - 0.12) ** 2 + (v - 0.12) ** 2) ** 0.5
            if 0.26 < d < 0.33 and u > 0.12 and v > 0.12 and not near(0.2, 0.55, 0.82, 0.3, 0.2):
                col = (80, 220, 255, 255)
            row.append(col)
        px.append(row)
    return px

def image(size):
    px = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes(p) for row in reversed(px) for p in row)
    stride = ((size + 31) // 32) * 4
    andmask = b''
    for row in reversed(px):
        bits = 0; line = b''
        for i, p in enumerate(row):
            bits = (bits << 1) | (1 if p[3] == 0 else 0)
            if i % 8 == 7:
                line += bytes([bits]); bits = 0
        andmask += line.ljust(stride, b'\0')
    return header + xor + andmask

imgs = [image(32), image(16)]
out = struct.pack('<HHH', 0, 1, len(imgs))
offset = 6 + 16 * len(imgs)
for size, data in zip((32, 16), imgs):
    out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
out += b''.join(imgs)
open(sys.argv[1] if len(sys.argv) > 1 else 'CallsignCheck.ico', 'wb').write(out)

#!/usr/bin/env python3
"""Draws the plug-in's icon, Tevrix.ico: a blue rounded tile with a white "T"
and an orange text caret, at 32x32 and 16x16 in 32-bit colour with alpha.
Run it from this folder to regenerate the committed icon."""
import struct


def inside_rounded(x, y, size, radius):
    """Whether point (x, y) lies in the rounded square filling size x size."""
    cx = min(max(x, radius), size - radius)
    cy = min(max(y, radius), size - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def in_rects(x, y, rects):
    return any(left <= x < right and top <= y < bottom for left, top, right, bottom in rects)


def draw(size):
    s = size / 32.0
    radius = 6 * s
    letter = [(7 * s, 6 * s, 25 * s, 10 * s), (14 * s, 10 * s, 18 * s, 26 * s)]
    caret = [(22 * s, 17 * s, 25 * s, 28 * s), (20 * s, 17 * s, 27 * s, 19 * s),
             (20 * s, 26 * s, 27 * s, 28 * s)]
    samples = 4
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    px = x + (sx + 0.5) / samples
                    py = y + (sy + 0.5) / samples
                    if not inside_rounded(px, py, size, radius):
                        continue
                    if in_rects(px, py, caret):
                        colour = (240, 140, 30)
                    elif in_rects(px, py, letter):
                        colour = (255, 255, 255)
                    elif not inside_rounded(px - 0.5, py - 0.5, size - 1, radius - 0.5) or \
                            px < 1 or py < 1:
                        colour = (20, 50, 110)  # rim
                    else:
                        t = py / size  # lighter at the top
                        colour = (int(80 - 50 * t), int(140 - 60 * t), int(230 - 60 * t))
                    for i in range(3):
                        acc[i] += colour[i]
                    acc[3] += 1
            n = samples * samples
            alpha = acc[3] / n
            rgb = [int(acc[i] / acc[3]) if acc[3] else 0 for i in range(3)]
            row.append((rgb[0], rgb[1], rgb[2], int(round(alpha * 255))))
        pixels.append(row)
    return pixels


def image_bytes(size):
    pixels = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b''.join(bytes((b, g, r, a)) for row in reversed(pixels) for r, g, b, a in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + colour + mask


def main():
    sizes = [32, 16]
    images = [image_bytes(size) for size in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open('Tevrix.ico', 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main()

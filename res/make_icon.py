#!/usr/bin/env python3
"""Draws the program icon, an alarm clock, as tocsinet.ico (16x16 and 32x32, 24-bit)."""
import math
import struct
import sys

NAVY = (66, 0, 1)  # stored as BGR below; RGB(1, 0, 66)


def shade(size):
    """Returns rows of (r, g, b, a) for an alarm clock drawn at `size` pixels, 4x supersampled."""
    samples = 4
    pixels = []
    c = size / 2.0
    face_r = size * 0.34
    ring_w = max(1.0, size * 0.07)
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0]
            cover = 0.0
            for sy in range(samples):
                for sx in range(samples):
                    px = x + (sx + 0.5) / samples
                    py = y + (sy + 0.5) / samples
                    colour = sample(px, py, c, c + size * 0.04, face_r, ring_w, size)
                    if colour:
                        acc = [a + b for a, b in zip(acc, colour)]
                        cover += 1
            n = samples * samples
            if cover:
                row.append(tuple(int(a / cover) for a in acc) + (cover / n,))
            else:
                row.append((0, 0, 0, 0.0))
        pixels.append(row)
    return pixels


def sample(px, py, cx, cy, face_r, ring_w, size):
    dx, dy = px - cx, py - cy
    d = math.hypot(dx, dy)
    # hands: hour towards 10 o'clock, minute towards 12
    if d < face_r - ring_w:
        if on_segment(px, py, cx, cy, cx - face_r * 0.45, cy - face_r * 0.3, size * 0.05):
            return (20, 20, 40)
        if on_segment(px, py, cx, cy, cx, cy - face_r * 0.7, size * 0.04):
            return (20, 20, 40)
        if d < size * 0.05:
            return (200, 30, 30)
        return (250, 246, 225)
    if d < face_r:
        return (205, 40, 40)
    # bells at ten past and ten to
    for side in (-1, 1):
        bx = cx + side * face_r * 0.85
        by = cy - face_r * 0.85
        if math.hypot(px - bx, py - by) < face_r * 0.42 and (py - by) < face_r * 0.15:
            return (235, 190, 40)
    # feet
    for side in (-1, 1):
        if on_segment(px, py, cx + side * face_r * 0.6, cy + face_r * 0.75, cx + side * face_r * 0.95,
                      cy + face_r * 1.15, size * 0.045):
            return (205, 40, 40)
    return None


def on_segment(px, py, x1, y1, x2, y2, half_width):
    vx, vy = x2 - x1, y2 - y1
    t = max(0.0, min(1.0, ((px - x1) * vx + (py - y1) * vy) / (vx * vx + vy * vy)))
    return math.hypot(px - (x1 + t * vx), py - (y1 + t * vy)) <= half_width


def icon_image(size):
    """A 24-bit DIB with its AND mask, as an icon directory entry holds it."""
    pixels = shade(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 24, 0, 0, 0, 0, 0, 0)
    row_bytes = (size * 3 + 3) & ~3
    colour = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b, a in row:
            # blend edges onto the navy the windows are painted with
            nb, ng, nr = NAVY
            if a < 0.5:  # transparent: the AND mask shows the screen, the colour must be black
                line += b'\0\0\0'
                continue
            line += bytes((int(b * a + nb * (1 - a)), int(g * a + ng * (1 - a)), int(r * a + nr * (1 - a))))
        colour += line + b'\0' * (row_bytes - len(line))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = 0
        line = bytearray()
        for i, (_, _, _, a) in enumerate(row):
            bits = (bits << 1) | (1 if a < 0.5 else 0)
            if i % 8 == 7:
                line.append(bits)
                bits = 0
        mask += line + b'\0' * (mask_row - len(line))
    return header + bytes(colour) + bytes(mask)


def main(path):
    images = [(16, icon_image(16)), (32, icon_image(32))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 24, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'tocsinet.ico')

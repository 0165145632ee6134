#!/usr/bin/env python3
"""Draws the program's icon: a small television with a play mark.

Writes one .ico with nine images: 16, 32 and 48 pixels, each in 16 colours,
256 colours and 32-bit colour. The drawing uses only the 16 standard
colours, so the palette images show exactly what the 32-bit one shows.
Usage: make_icon.py OUTPUT.ico
"""
import struct
import sys

# The 16 standard colours, in the order of the classic palette.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
NAVY, TEAL, SILVER, GRAY, RED, YELLOW, CYAN, WHITE, BLACK = 4, 6, 7, 8, 9, 11, 14, 15, 0


def pixel(x, y):
    """Colour index at (x, y) in a 48-unit square, or None for transparent."""
    # Antennas: two lines meeting above the body.
    for ax in (15.0, 33.0):
        tx = 24 + (ax - 24) * (13 - y) / 13 if y < 13 else None
        if y >= 3 and y < 13 and tx is not None and abs(x - tx) < 1.3:
            return GRAY
    if 11 <= y < 14 and 21 <= x < 27:
        return GRAY
    # Body with rounded corners.
    if 13 <= y < 41 and 3 <= x < 45:
        cx = min(max(x, 7), 41)
        cy = min(max(y, 17), 37)
        if (x - cx) ** 2 + (y - cy) ** 2 > 16:
            return None
        if 17 <= y < 37 and 7 <= x < 35:  # screen
            # Play mark.
            if 20 <= x < 29 and abs(y - 27) < (29 - x) * 0.62:
                return RED
            return CYAN if y < 22 else TEAL
        if 37 <= x < 42 and 19 <= y < 23:
            return YELLOW  # knob
        if 37 <= x < 42 and 27 <= y < 35 and y % 3 != 0:
            return SILVER  # speaker
        return NAVY
    # Feet.
    if 41 <= y < 45 and (8 <= x < 14 or 34 <= x < 40):
        return BLACK
    return None


def render(size):
    """Rows of colour indexes (None = transparent), top row first."""
    scale = 48.0 / size
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            row.append(pixel((i + 0.5) * scale, (j + 0.5) * scale))
        rows.append(row)
    return rows


def padded(data):
    return data + b"\0" * ((-len(data)) % 4)


def and_mask(rows):
    out = b""
    for row in reversed(rows):
        bits = bytearray((len(row) + 7) // 8)
        for i, c in enumerate(row):
            if c is None:
                bits[i // 8] |= 0x80 >> (i % 8)
        out += padded(bytes(bits))
    return out


def image(rows, bpp):
    size = len(rows)
    colours = {4: 16, 8: 256, 32: 0}[bpp]
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0, 0, 0, 0, colours, 0)
    palette = b""
    if colours:
        entries = VGA + [(0, 0, 0)] * (colours - 16)
        palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in entries)
    xor = b""
    for row in reversed(rows):
        if bpp == 32:
            line = b"".join(struct.pack("BBBB", 0, 0, 0, 0) if c is None else
                            struct.pack("BBBB", VGA[c][2], VGA[c][1], VGA[c][0], 255)
                            for c in row)
        elif bpp == 8:
            line = bytes(0 if c is None else c for c in row)
        else:
            idx = [0 if c is None else c for c in row]
            line = bytes((idx[i] << 4) | (idx[i + 1] if i + 1 < len(idx) else 0)
                         for i in range(0, len(idx), 2))
        xor += padded(line)
    return header + palette + xor + and_mask(rows), colours


def main(path):
    images = []
    for size in (16, 32, 48):
        rows = render(size)
        for bpp in (4, 8, 32):
            data, colours = image(rows, bpp)
            images.append((size, bpp, colours, data))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bpp, colours, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours % 256, 0, 1, bpp,
                           len(data), offset)
        offset += len(data)
    out += b"".join(d for _, _, _, d in images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1])

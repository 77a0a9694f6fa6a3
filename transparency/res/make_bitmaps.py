#!/usr/bin/env python3
# Draws the control's two pictures as 16-colour BMP files: the toolbox picture
# (17 x 15) and the designer / about-dialog picture (20 x 17). Both show a
# window whose client area is a checkerboard, the usual sign of see-through.
# Run from this folder: python3 make_bitmaps.py
import struct

# The 16 standard VGA colours (R, G, B).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, SILVER, GREY, WHITE, CYAN = 0, 4, 7, 8, 15, 14


def picture(width, height):
    """Rows top to bottom of palette indices."""
    rows = [[SILVER] * width for _ in range(height)]
    left, top, right, bottom = 1, 1, width - 2, height - 2
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if y == top or y == bottom or x == left or x == right:
                rows[y][x] = BLACK
            elif y <= top + 2:
                rows[y][x] = NAVY                      # caption bar
            else:
                # checkerboard client area in 2 x 2 cells
                cell = ((x - left - 1) // 2 + (y - top - 3) // 2) % 2
                rows[y][x] = WHITE if cell else CYAN
    return rows


def write_bmp(path, rows):
    height, width = len(rows), len(rows[0])
    stride = ((width * 4 + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):                         # BMP rows go bottom up
        line = bytearray()
        for x in range(0, width, 2):
            hi = row[x]
            lo = row[x + 1] if x + 1 < width else 0
            line.append((hi << 4) | lo)
        line.extend(b"\0" * (stride - len(line)))
        pixels += line
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels),
                       2835, 2835, 16, 0)
    with open(path, "wb") as f:
        f.write(header + info + palette + pixels)


if __name__ == "__main__":
    write_bmp("toolbox.bmp", picture(17, 15))
    write_bmp("designer.bmp", picture(20, 17))

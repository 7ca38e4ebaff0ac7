"""Draws the application icon: a 4 x 4 board of coloured squares between black
lines, the last square left black like the game's empty cell.

Writes a 32 x 32, 16-colour .ico (one image, opaque) and PNG renderings drawn
afresh at each desktop size, so lines and squares fall on whole pixels.

Usage: python3 board_icon.py ICO_PATH HICOLOR_DIR
"""
import os
import struct
import sys
import zlib

# The standard 16-colour Windows palette, in index order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, WHITE = 0, 15
# Each square colour with its darker edge colour, both from the palette.
YELLOW, RED, GREEN, GREY = (11, 3), (9, 1), (10, 2), (7, 8)
BOARD = [
    [YELLOW, RED, GREEN, GREY],
    [RED, GREEN, GREY, YELLOW],
    [GREEN, GREY, YELLOW, RED],
    [GREY, YELLOW, RED, None],      # None: the black square
]
PNG_SIZES = [16, 24, 32, 48, 64, 128, 256]


def spans(size):
    """Pixel spans [start, end) of the four squares along one side at this size.
    The squares are all the same width; what is left over goes to the outer frame."""
    line = max(1, round(size / 16))
    square = (size - 2 * (size // 32) - 3 * line) // 4
    start = (size - 4 * square - 3 * line) // 2
    return [(start + k * (square + line), start + k * (square + line) + square) for k in range(4)]


def draw_board(size):
    """Palette indices, rows top-down. From 48 pixels up each square gets a white
    highlight on its upper-left edges and its dark colour on the lower-right ones,
    so it reads as a raised tile; smaller squares stay flat to keep their colour."""
    pixels = [[BLACK] * size for _ in range(size)]
    bevel = 0 if size < 48 else round(size / 48)
    edges = spans(size)
    for row, (y0, y1) in enumerate(edges):
        for col, (x0, x1) in enumerate(edges):
            colours = BOARD[row][col]
            if colours is None:
                continue
            face, shade = colours
            for y in range(y0, y1):
                for x in range(x0, x1):
                    if x < x0 + bevel or y < y0 + bevel:
                        pixels[y][x] = WHITE if (x - x0) + (y - y0) < (x1 - x0) else shade
                    elif x >= x1 - bevel or y >= y1 - bevel:
                        pixels[y][x] = shade
                    else:
                        pixels[y][x] = face
    return pixels


def ico_file(pixels):
    """One 32 x 32, 4-bit image: BITMAPINFOHEADER (height counts colour and mask),
    the palette as RGBQUADs, colour rows bottom-up, then an all-clear AND mask."""
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0, size * size // 2 + size * 4, 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colour = b"".join(bytes((row[x] << 4) | row[x + 1] for x in range(0, size, 2)) for row in reversed(pixels))
    mask = bytes(size * 4)                          # 32 bits a row, already a multiple of 4 bytes
    image = header + palette + colour + mask
    assert len(image) == 744, len(image)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def png_file(pixels):
    """An 8-bit RGB PNG of the drawing."""
    size = len(pixels)
    raw = b"".join(b"\0" + b"".join(bytes(PALETTE[i]) for i in row) for row in pixels)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def main():
    ico_path, hicolor = sys.argv[1], sys.argv[2]
    with open(ico_path, "wb") as out:
        out.write(ico_file(draw_board(32)))
    for size in PNG_SIZES:
        folder = os.path.join(hicolor, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "tessaroo.png"), "wb") as out:
            out.write(png_file(draw_board(size)))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes the three 20 x 18 item images of the menu tree as 16-colour BMP files:
a document page (text entry), a closed folder and an open folder (submenu).
White is the transparent colour of the tree's image list.
Usage: make_item_bitmaps.py [output-folder]"""
import os
import struct
import sys

WIDTH, HEIGHT = 20, 18

# The 16 standard colours; the letters name them in the drawings below.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
LETTERS = {'k': 0, 'o': 3, 'n': 4, 's': 7, 'g': 8, 'y': 11, 'b': 12, '.': 15}

DOCUMENT = [
    "....................",
    "...kkkkkkkkkk.......",
    "...k........kk......",
    "...k........k.k.....",
    "...k........k..k....",
    "...k........kkkkk...",
    "...k.nnnnnnn....k...",
    "...k............k...",
    "...k.nnnnnnnnn..k...",
    "...k............k...",
    "...k.nnnnnnnnn..k...",
    "...k............k...",
    "...k.nnnnnnnnn..k...",
    "...k............k...",
    "...k.nnnnnn.....k...",
    "...k............k...",
    "...kkkkkkkkkkkkkk...",
    "....................",
]

FOLDER_CLOSED = [
    "....................",
    "....................",
    "....................",
    "..kkkkkk............",
    ".kyyyyyyk...........",
    "kyyyyyyyykkkkkkkk...",
    "kssssssssssssssssk..",
    "kyyyyyyyyyyyyyyyyk..",
    "kyyyyyyyyyyyyyyyyk..",
    "kyyyyyyyyyyyyyyyyk..",
    "kyyyyyyyyyyyyyyyyk..",
    "kyyyyyyyyyyyyyyyyk..",
    "kyyyyyyyyyyyyyyyyk..",
    "kyyyyyyyyyyyyyyyyk..",
    "koooooooooooooooook..",
    "kkkkkkkkkkkkkkkkkk..",
    "....................",
    "....................",
]

FOLDER_OPEN = [
    "....................",
    "....................",
    "....................",
    "..kkkkkk............",
    ".kyyyyyyk...........",
    "kyyyyyyyykkkkkkk....",
    "kyyyyyyyyyyyyyyyk...",
    "kyyyyyyyyyyyyyyyk...",
    "kyyyykkkkkkkkkkkkkkk",
    "kyyykssssssssssssssk",
    "kyyksyyyyyyyyyyyyyk.",
    "kyykyyyyyyyyyyyyyyk.",
    "kykyyyyyyyyyyyyyyk..",
    "kykyyyyyyyyyyyyyyk..",
    "kkooooooooooooooook..",
    "kkkkkkkkkkkkkkkkkk..",
    "....................",
    "....................",
]

IMAGES = {
    "text_entry.bmp": DOCUMENT,
    "folder_closed.bmp": FOLDER_CLOSED,
    "folder_open.bmp": FOLDER_OPEN,
}


def pixels(drawing):
    rows = [row[:WIDTH].ljust(WIDTH, '.') for row in drawing]
    assert len(rows) == HEIGHT
    return [[LETTERS[c] for c in row] for row in rows]


def bmp_bytes(drawing):
    """A bottom-up 4-bit BMP: file header, info header, palette, rows padded to 4 bytes."""
    row_size = ((WIDTH * 4 + 31) // 32) * 4
    rows = b""
    for row in reversed(pixels(drawing)):
        packed = bytearray()
        for x in range(0, WIDTH, 2):
            high = row[x]
            low = row[x + 1] if x + 1 < WIDTH else 0
            packed.append((high << 4) | low)
        rows += bytes(packed).ljust(row_size, b"\0")
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 4, 0, len(rows), 2835, 2835, 16, 0)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    return header + info + palette + rows


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "bitmaps")
    os.makedirs(folder, exist_ok=True)
    for name, drawing in IMAGES.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(bmp_bytes(drawing))


if __name__ == "__main__":
    main()

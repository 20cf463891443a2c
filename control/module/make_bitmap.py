"""Writes a 4-bit Windows bitmap from a text picture: one hex digit per pixel, naming a
colour of the standard 16-colour palette; lines starting with '#' are comments.

usage: make_bitmap.py PICTURE.txt OUTPUT.bmp
"""
import struct
import sys

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]  # (red, green, blue)


def read_picture(path):
    with open(path, encoding="ascii") as f:
        rows = [line.strip() for line in f if line.strip() and not line.startswith("#")]
    width = len(rows[0])
    if any(len(row) != width for row in rows) or width % 2:
        raise SystemExit(f"{path}: rows must have one even width")
    return [[int(c, 16) for c in row] for row in rows]


def bitmap_bytes(pixels):
    height, width = len(pixels), len(pixels[0])
    stride = ((width * 4 + 31) // 32) * 4
    body = bytearray()
    for row in reversed(pixels):  # bottom-up
        packed = bytes((row[i] << 4) | row[i + 1] for i in range(0, width, 2))
        body += packed + b"\0" * (stride - len(packed))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(body), 0, 0, 16, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    return header + info + palette + bytes(body)


def main():
    picture, output = sys.argv[1], sys.argv[2]
    data = bitmap_bytes(read_picture(picture))
    with open(output, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()

"""Writes Windows icon files: one 32-bit picture per size, each with the
1-bit mask that systems without alpha blending draw it through."""

import struct


def ico_bytes(pictures):
    """pictures: {size: RGBA image of size x size}, written smallest first."""
    entries, blobs = [], []
    for size in sorted(pictures):
        img = pictures[size]
        assert img.mode == "RGBA" and img.size == (size, size)
        blobs.append(_dib(img))
    offset = 6 + 16 * len(blobs)
    for size, blob in zip(sorted(pictures), blobs):
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32,
                                   len(blob), offset))
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(blobs)) + b"".join(entries) + b"".join(blobs)


def _dib(img):
    w, h = img.size
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for y in reversed(range(h)):            # bottom-up rows
        for x in range(w):
            r, g, b, a = img.getpixel((x, y))
            colour += bytes((b, g, r, a))
    mask_row = ((w + 31) // 32) * 4         # rows padded to 32 bits
    mask = bytearray()
    for y in reversed(range(h)):
        row = bytearray(mask_row)
        for x in range(w):
            if img.getpixel((x, y))[3] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(colour) + bytes(mask)

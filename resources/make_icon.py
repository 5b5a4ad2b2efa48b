#!/usr/bin/env python3
"""Draws Vantrel's icon (a folder with a "send" arrow) and writes it as an .ico file.

Eight uncompressed DIB images: 48, 32, 16 px with a 256-colour palette, then
256, 96, 48, 32, 16 px in 32-bit BGRA. Standard library only, and only
correctly rounded float operations, so the output is the same byte for byte
on every machine.

    python3 resources/make_icon.py                 writes resources/Vantrel.ico
    python3 resources/make_icon.py --check         fails if Vantrel.ico is stale
    python3 resources/make_icon.py --preview DIR   also writes each image as PNG
"""

import argparse
import math
import pathlib
import struct
import sys
import zlib

IMAGES = [(48, 8), (32, 8), (16, 8), (256, 32), (96, 32), (48, 32), (32, 32), (16, 32)]

# Colours as (top, bottom) of a vertical gradient, 0..255 RGB.
FOLDER_EDGE = ((178, 112, 18), (150, 90, 10))
FOLDER_BACK = ((226, 152, 40), (204, 128, 24))
FOLDER_FRONT = ((255, 218, 110), (246, 178, 52))
ARROW_HALO = ((255, 255, 255), (255, 255, 255))
ARROW_EDGE = ((20, 72, 150), (16, 58, 124))
ARROW_FILL = ((70, 150, 240), (28, 104, 210))

# Signed distances in unit coordinates: negative inside.

def rounded_rect(x0, y0, x1, y1, r):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sd(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.sqrt(max(qx, 0.0) ** 2 + max(qy, 0.0) ** 2)
        return outside + min(max(qx, qy), 0.0) - r
    return sd


def polygon(points):
    def sd(x, y):
        best = float("inf")
        inside = False
        for i, (ax, ay) in enumerate(points):
            bx, by = points[i - 1]
            ex, ey, wx, wy = bx - ax, by - ay, x - ax, y - ay
            t = min(max((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0), 1.0)
            dx, dy = wx - ex * t, wy - ey * t
            best = min(best, dx * dx + dy * dy)
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ey:
                inside = not inside
        d = math.sqrt(best)
        return -d if inside else d
    return sd


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def grown(shape, amount):
    return lambda x, y: shape(x, y) - amount


def layers(size):
    """The artwork for one size, back to front: (shape, gradient)."""
    px = 1.0 / size
    edge = max(px, 0.02)  # outlines stay at least one pixel wide
    halo = max(px, 0.03)

    def snap(v):  # edges on pixel boundaries keep small sizes crisp
        return round(v * size) / size

    back = union(rounded_rect(snap(0.05), snap(0.20), snap(0.95), snap(0.86), 0.07),
                 rounded_rect(snap(0.05), snap(0.11), snap(0.45), snap(0.30), 0.05))
    front = rounded_rect(snap(0.05), snap(0.32), snap(0.95), snap(0.86), 0.07)
    left, neck, tip = snap(0.34), snap(0.62), snap(0.93)
    shaft, head = (snap(0.60), snap(0.78)), (snap(0.46), snap(0.92))
    arrow = polygon([(left, shaft[0]), (neck, shaft[0]), (neck, head[0]),
                     (tip, (head[0] + head[1]) / 2), (neck, head[1]), (neck, shaft[1]),
                     (left, shaft[1])])
    folder = [(back, FOLDER_EDGE), (grown(back, -edge), FOLDER_BACK),
              (front, FOLDER_EDGE), (grown(front, -edge), FOLDER_FRONT)]
    if size <= 16:  # too small for an outline inside the halo
        return folder + [(grown(arrow, halo), ARROW_HALO), (arrow, ARROW_EDGE)]
    return folder + [(grown(arrow, halo + edge), ARROW_HALO),
                     (grown(arrow, edge), ARROW_EDGE), (arrow, ARROW_FILL)]


def render(size):
    """Rows of straight-alpha (r, g, b, a) pixels, top row first."""
    artwork = layers(size)
    rows = []
    for py in range(size):
        y = (py + 0.5) / size
        row = []
        for px in range(size):
            x = (px + 0.5) / size
            r = g = b = a = 0.0  # premultiplied
            for shape, (top, bottom) in artwork:
                cover = min(max(0.5 - shape(x, y) * size, 0.0), 1.0)
                if cover == 0.0:
                    continue
                colour = [(t + (u - t) * y) / 255 for t, u in zip(top, bottom)]
                r = colour[0] * cover + r * (1 - cover)
                g = colour[1] * cover + g * (1 - cover)
                b = colour[2] * cover + b * (1 - cover)
                a = cover + a * (1 - cover)
            if a == 0.0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(c / a * 255 + 0.5) for c in (r, g, b)) +
                           (int(a * 255 + 0.5),))
        rows.append(row)
    return rows


def median_cut(counts, limit):
    """At most limit colours standing for the counted (r, g, b) colours."""
    def extent(box, channel):
        return max(c[channel] for c, _ in box) - min(c[channel] for c, _ in box)

    boxes = [sorted(counts.items())] if counts else []
    while len(boxes) < limit:
        splittable = [b for b in boxes if len(b) > 1]
        if not splittable:
            break
        box = max(splittable, key=lambda b: max(extent(b, i) for i in range(3)))
        channel = max(range(3), key=lambda i: extent(box, i))
        box.sort(key=lambda item: (item[0][channel], item[0]))
        half, weight, cut = 0, sum(n for _, n in box), 0
        while cut < len(box) - 1 and half + box[cut][1] <= weight // 2:
            half += box[cut][1]
            cut += 1
        cut = max(cut, 1)
        boxes.remove(box)
        boxes += [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        weight = sum(n for _, n in box)
        palette.append(tuple((sum(c[i] * n for c, n in box) + weight // 2) // weight
                             for i in range(3)))
    return sorted(palette)


def quantise(rows):
    """Palette (index 0 is black for the transparent pixels), indices and mask rows."""
    opaque = {}
    for row in rows:
        for r, g, b, a in row:
            if a >= 128:
                opaque[(r, g, b)] = opaque.get((r, g, b), 0) + 1
    palette = [(0, 0, 0)] + median_cut(opaque, 255)
    nearest = {}
    for colour in opaque:
        nearest[colour] = min(range(1, len(palette)), key=lambda i: (
            sum((p - c) ** 2 for p, c in zip(palette[i], colour)), i))
    indices = [[nearest[(r, g, b)] if a >= 128 else 0 for r, g, b, a in row] for row in rows]
    masks = [[a < 128 for *_, a in row] for row in rows]
    palette += [(0, 0, 0)] * (256 - len(palette))
    return palette, indices, masks


def padded(data):
    return data + b"\0" * (-len(data) % 4)


def mask_bits(masks):
    out = b""
    for row in reversed(masks):
        bits = bytearray((len(row) + 7) // 8)
        for i, transparent in enumerate(row):
            if transparent:
                bits[i // 8] |= 0x80 >> (i % 8)
        out += padded(bytes(bits))
    return out


def dib(size, bpp):
    """BITMAPINFOHEADER, colour table, bottom-up colour bits, AND mask."""
    rows = render(size)
    if bpp == 8:
        palette, indices, masks = quantise(rows)
        table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
        bits = b"".join(padded(bytes(row)) for row in reversed(indices))
    else:
        table = b""
        bits = b"".join(bytes(v for r, g, b, a in row for v in (b, g, r, a))
                        for row in reversed(rows))
        masks = [[a == 0 for *_, a in row] for row in rows]
    bits += mask_bits(masks)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0, len(bits), 0, 0, 0, 0)
    return header + table + bits


def icon():
    images = [dib(size, bpp) for size, bpp in IMAGES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = len(out) + 16 * len(images)
    for (size, bpp), data in zip(IMAGES, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bpp, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def decoded(ico):
    """Each stored image back as (size, bpp, rows of RGBA), read from the file's bytes."""
    _, _, count = struct.unpack_from("<HHH", ico, 0)
    for n in range(count):
        _, _, _, _, _, bpp, length, offset = struct.unpack_from("<BBBBHHII", ico, 6 + 16 * n)
        size = struct.unpack_from("<i", ico, offset + 4)[0]
        table = offset + 40
        bits = table + (1024 if bpp == 8 else 0)
        stride = (size * bpp // 8 + 3) // 4 * 4
        mask = bits + stride * size
        mask_stride = ((size + 7) // 8 + 3) // 4 * 4
        rows = []
        for y in reversed(range(size)):
            row = []
            for x in range(size):
                hidden = ico[mask + y * mask_stride + x // 8] & (0x80 >> (x % 8))
                if bpp == 8:
                    b, g, r, _ = ico[table + 4 * ico[bits + y * stride + x]:][:4]
                    a = 0 if hidden else 255
                else:
                    b, g, r, a = ico[bits + y * stride + 4 * x:][:4]
                row.append((r, g, b, a))
            rows.append(row)
        yield size, bpp, rows


def png(rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    here = pathlib.Path(__file__).resolve().parent
    parser = argparse.ArgumentParser(description="Writes Vantrel's icon.")
    parser.add_argument("--output", type=pathlib.Path, default=here / "Vantrel.ico")
    parser.add_argument("--check", action="store_true",
                        help="write nothing; fail when the output file differs")
    parser.add_argument("--preview", type=pathlib.Path, metavar="DIR",
                        help="also write every image as a PNG into DIR")
    args = parser.parse_args()

    ico = icon()
    if args.check:
        if not args.output.is_file() or args.output.read_bytes() != ico:
            print(f"{args.output} is not what make_icon.py draws; run it again", file=sys.stderr)
            return 1
    else:
        args.output.write_bytes(ico)
    if args.preview:
        args.preview.mkdir(parents=True, exist_ok=True)
        for size, bpp, rows in decoded(ico):
            (args.preview / f"icon-{size}-{bpp}bpp.png").write_bytes(png(rows))
    return 0


if __name__ == "__main__":
    sys.exit(main())

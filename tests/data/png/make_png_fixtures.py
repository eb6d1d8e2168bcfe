#!/usr/bin/python3
"""Writes the PNG tileset fixtures and the pictures the editor must make of them.

Every colour type and bit depth PNG allows, each plain and interlaced, a few
with transparency, and three damaged files. Pillow writes the kinds it can;
the others (2- and 4-bit grey, 16-bit colour and grey with alpha, and every
interlaced file, which Pillow cannot write) come from the small encoder below,
and Pillow reads each of those back as a check. NAME.ppm holds the pixels the
editor must show for NAME.png and NAME-interlaced.png: 16-bit samples keep
their high byte, grey below 8 bits is widened by repeating its bits, and a
pixel whose alpha is below 128 is black.

Run it from anywhere with Debian's python3-pil installed; the tests use the
files it writes, which are committed, so they do not need Pillow.
"""

import os
import random
import struct
import zlib

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = 33, 19  # odd sizes reach every interlace pass and pad every row

GREY, RGB, INDEXED, GREY_ALPHA, RGBA = 0, 2, 3, 4, 6
CHANNELS = {GREY: 1, RGB: 3, INDEXED: 1, GREY_ALPHA: 2, RGBA: 4}

# name, colour type, bit depth, whether Pillow can write it, transparency
KINDS = [
    ("grey1", GREY, 1, True, None),
    ("grey2", GREY, 2, False, None),
    ("grey4", GREY, 4, False, None),
    ("grey8", GREY, 8, True, None),
    ("grey16", GREY, 16, True, None),
    ("rgb8", RGB, 8, True, None),
    ("rgb16", RGB, 16, False, None),
    ("indexed1", INDEXED, 1, True, None),
    ("indexed2", INDEXED, 2, True, None),
    ("indexed4", INDEXED, 4, True, None),
    ("indexed8", INDEXED, 8, True, None),
    ("greyalpha8", GREY_ALPHA, 8, True, None),
    ("greyalpha16", GREY_ALPHA, 16, False, None),
    ("rgba8", RGBA, 8, True, None),
    ("rgba16", RGBA, 16, False, None),
    # tRNS: palette alphas, a grey key, a 16-bit colour key
    ("indexed4-trns", INDEXED, 4, True, "palette"),
    ("grey8-trns", GREY, 8, True, "key"),
    ("rgb16-trns", RGB, 16, False, "key"),
]


def make_samples(name, colour, depth):
    """Pixels as tuples of raw samples; alphas cross 128 on purpose."""
    rng = random.Random(name)
    top = (1 << depth) - 1
    pixels = []
    for i in range(WIDTH * HEIGHT):
        px = [rng.randint(0, top) for _ in range(CHANNELS[colour])]
        if colour in (GREY_ALPHA, RGBA):
            # the first pixels sit on either side of the alpha threshold
            edges = [127 << (depth - 8), (128 << (depth - 8)), (128 << (depth - 8)) - 1, top, 0]
            if i < len(edges):
                px[-1] = edges[i]
        pixels.append(tuple(px))
    return pixels


def make_palette(name, depth):
    rng = random.Random(name + "palette")
    return [tuple(rng.randint(0, 255) for _ in range(3)) for _ in range(1 << depth)]


def widen(sample, depth):
    """A sample as the editor's 8-bit channel."""
    if depth == 16:
        return sample >> 8
    if depth == 8:
        return sample
    return sample * 255 // ((1 << depth) - 1)  # bit repetition, for 1, 2 and 4 bits


def expected_pixels(colour, depth, pixels, palette, trns):
    out = []
    for px in pixels:
        if colour == INDEXED:
            r, g, b = palette[px[0]]
            alpha = trns[px[0]] if trns is not None and px[0] < len(trns) else 255
        else:
            channels = [widen(s, depth) for s in px]
            if colour in (GREY, GREY_ALPHA):
                r = g = b = channels[0]
            else:
                r, g, b = channels[:3]
            alpha = channels[-1] if colour in (GREY_ALPHA, RGBA) else 255
            if trns is not None and px == trns:
                alpha = 0
        out.append((0, 0, 0) if alpha < 128 else (r, g, b))
    return out


def write_ppm(path, pixels):
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT))
        f.write(bytes(c for px in pixels for c in px))


# --- the small encoder ------------------------------------------------------

def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def pack_row(row, depth):
    if depth == 16:
        return b"".join(struct.pack(">H", s) for px in row for s in px)
    if depth == 8:
        return bytes(s for px in row for s in px)
    out, acc, bits = bytearray(), 0, 0
    for px in row:
        acc = acc << depth | px[0]
        bits += depth
        if bits == 8:
            out.append(acc)
            acc, bits = 0, 0
    if bits:
        out.append(acc << (8 - bits))
    return bytes(out)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filter_row(kind, line, prior, bpp):
    out = bytearray()
    for i, x in enumerate(line):
        a = line[i - bpp] if i >= bpp else 0
        b = prior[i]
        c = prior[i - bpp] if i >= bpp else 0
        predictor = [0, a, b, (a + b) // 2, paeth(a, b, c)][kind]
        out.append((x - predictor) & 0xFF)
    return bytes([kind]) + bytes(out)


ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def scanlines(pixels, colour, depth, interlaced):
    """Filtered rows, every filter type in turn, pass by pass when interlaced."""
    grid = [pixels[y * WIDTH:(y + 1) * WIDTH] for y in range(HEIGHT)]
    bpp = max(1, CHANNELS[colour] * depth // 8)
    passes = ADAM7 if interlaced else [(0, 0, 1, 1)]
    out, n = bytearray(), 0
    for x0, y0, dx, dy in passes:
        rows = [row[x0::dx] for row in grid[y0::dy]]
        if not rows or not rows[0]:
            continue  # an empty pass has no rows at all
        prior = None
        for row in rows:
            line = pack_row(row, depth)
            prior = prior or bytes(len(line))
            out += filter_row(n % 5, line, prior, bpp)
            prior, n = line, n + 1
    return bytes(out)


def encode(colour, depth, pixels, palette, trns, interlaced, size=(WIDTH, HEIGHT)):
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size[0], size[1], depth, colour, 0, 0,
                                      int(interlaced)))
    if palette:
        png += chunk(b"PLTE", bytes(c for rgb in palette for c in rgb))
    if trns is not None:
        if colour == INDEXED:
            png += chunk(b"tRNS", bytes(trns))
        else:
            png += chunk(b"tRNS", b"".join(struct.pack(">H", s) for s in trns))
    png += chunk(b"IDAT", zlib.compress(scanlines(pixels, colour, depth, interlaced), 9))
    return png + chunk(b"IEND", b"")


# --- Pillow -------------------------------------------------------------------

def pillow_image(colour, depth, pixels, palette):
    size = (WIDTH, HEIGHT)
    if colour == GREY and depth == 1:
        image = Image.new("1", size)
        image.putdata([p[0] * 255 for p in pixels])
    elif colour == GREY and depth == 16:
        raw = b"".join(struct.pack("<H", p[0]) for p in pixels)
        image = Image.frombytes("I;16", size, raw)
    elif colour == INDEXED:
        image = Image.new("P", size)
        image.putpalette([c for rgb in palette for c in rgb])
        image.putdata([p[0] for p in pixels])
    else:
        mode = {GREY: "L", GREY_ALPHA: "LA", RGB: "RGB", RGBA: "RGBA"}[colour]
        image = Image.new(mode, size)
        image.putdata([p[0] if mode == "L" else p for p in pixels])
    return image


def pillow_png(path, colour, depth, pixels, palette, trns):
    image = pillow_image(colour, depth, pixels, palette)
    options = {"bits": depth} if colour == INDEXED else {}
    if trns is not None:
        options["transparency"] = bytes(trns) if colour == INDEXED else trns[0]
    image.save(path, **options)


def check_header(path, colour, depth, interlaced, trns):
    with open(path, "rb") as f:
        png = f.read()
    got = (png[24], png[25], png[28], b"tRNS" in png)
    assert got == (depth, colour, int(interlaced), trns is not None), (path, got)


def check_reads_back(path, colour, depth, pixels):
    """Pillow must read what the small encoder wrote, sample for sample."""
    image = Image.open(path)
    image.load()
    assert image.size == (WIDTH, HEIGHT), path
    raw = image.mode in ("I", "P")  # Pillow keeps these samples as stored
    for i, px in enumerate(pixels):
        got = image.getpixel((i % WIDTH, i // WIDTH))
        got = got if isinstance(got, tuple) else (got,)
        want = px if raw else tuple(widen(s, depth) for s in px)
        if len(want) == 2 and len(got) == 4:  # 16-bit grey and alpha comes back as RGBA
            want = (want[0], want[0], want[0], want[1])
        assert got == want, (path, i, got, want)


def main():
    out = os.path.join(HERE)
    for name, colour, depth, by_pillow, transparency in KINDS:
        pixels = make_samples(name, colour, depth)
        palette = make_palette(name, depth) if colour == INDEXED else None
        trns = None
        if transparency == "palette":
            trns = [random.Random(name + "alpha").randint(0, 255) for _ in palette[:12]]
        elif transparency == "key":
            trns = pixels[3]  # a colour that occurs, so the key matters
        plain = os.path.join(out, name + ".png")
        if by_pillow:
            pillow_png(plain, colour, depth, pixels, palette, trns)
        else:
            with open(plain, "wb") as f:
                f.write(encode(colour, depth, pixels, palette, trns, False))
        check_header(plain, colour, depth, False, trns)
        check_reads_back(plain, colour, depth, pixels)
        laced = os.path.join(out, name + "-interlaced.png")
        with open(laced, "wb") as f:
            f.write(encode(colour, depth, pixels, palette, trns, True))
        check_header(laced, colour, depth, True, trns)
        check_reads_back(laced, colour, depth, pixels)
        write_ppm(os.path.join(out, name + ".ppm"),
                  expected_pixels(colour, depth, pixels, palette, trns))

    with open(os.path.join(out, "rgb8.png"), "rb") as f:
        good = f.read()
    idat = good.index(b"IDAT")
    # cut short inside the picture data
    with open(os.path.join(out, "damaged-truncated.png"), "wb") as f:
        f.write(good[:idat + 40])
    # the picture data's checksum changed, the data left as it was
    bad = bytearray(good)
    length = struct.unpack(">I", good[idat - 4:idat])[0]
    bad[idat + 4 + length] ^= 0x55
    with open(os.path.join(out, "damaged-crc.png"), "wb") as f:
        f.write(bytes(bad))
    # a well-formed header declaring 100000 x 100000 pixels
    with open(os.path.join(out, "damaged-huge.png"), "wb") as f:
        f.write(encode(RGB, 8, [(0, 0, 0)], None, None, False, size=(100000, 100000))[:33]
                + chunk(b"IDAT", zlib.compress(b"\0" * 64)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    main()

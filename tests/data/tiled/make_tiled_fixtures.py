#!/usr/bin/python3
"""Writes Tiled maps for the import tests, each saved by Tiled itself.

The script writes one small map in every layer encoding Tiled offers (CSV,
base64 plain, zlib, gzip and zstd), with one tileset embedded and one in its
own file, and has Tiled (Debian's `tiled` package, run without a display)
export each as TMX and as JSON. expected.tessra holds what importing any of
them must give.

The map is 20 x 12 cells. Its first tile layer, "Ground", sits in a group
after an object layer, and a second tile layer, "Above", follows. terrain.png
(64 x 48, 12 tiles) is embedded with firstgid 1; props.png (40 x 32: Tiled cuts
2 x 2 tiles from it, TESSRA 4 tiles running along rows of 3 squares) comes
from props.tsx (props.tsj in the JSON maps) with firstgid 13. Its tiles 0, 1
and 2 are TESSRA tiles 12, 13 and 15; its tile 3 has no TESSRA number and is
not used. Ground holds 15 empty cells and 14 flipped ones.

Needs python3-pil, tiled and zstd; the tests use the committed files only.
"""

import base64
import gzip
import os
import struct
import subprocess
import zlib

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = 20, 12
FLIP = 0x80000000
PROPS_TESSRA = [12, 13, 15]


def cell(x, y):
    """Ground's Tiled number at (x, y) and its TESSRA tile."""
    v = (7 * x + 3 * y) % 17
    if v == 0:
        return 0, 0
    if v <= 12:
        return v, v - 1
    if v <= 15:
        return v, PROPS_TESSRA[v - 13]
    return 1 | FLIP, 0  # terrain's first tile, flipped


def picture(path, width, height, seed):
    image = Image.new("RGB", (width, height))
    for y in range(height):
        for x in range(width):
            tile = (y // 16) * 8 + x // 16
            image.putpixel((x, y), ((seed + 37 * tile) % 256, (x * 13 + tile * 50) % 256,
                                    (y * 11 + seed) % 256))
    image.save(path)


def layer_data(gids, encoding):
    if encoding == "csv":
        rows = [",".join(str(g) for g in gids[y * WIDTH:(y + 1) * WIDTH]) for y in range(HEIGHT)]
        return 'encoding="csv"', "\n" + ",\n".join(rows) + "\n"
    raw = b"".join(struct.pack("<I", g) for g in gids)
    packed = {
        "base64": lambda b: b,
        "zlib": zlib.compress,
        "gzip": gzip.compress,
        "zstd": lambda b: subprocess.run(["zstd", "-q", "-c"], input=b, check=True,
                                         capture_output=True).stdout,
    }[encoding](raw)
    compression = "" if encoding == "base64" else f' compression="{encoding}"'
    return f'encoding="base64"{compression}', base64.b64encode(packed).decode()


def source_map(encoding, props):
    ground = [cell(x, y)[0] for y in range(HEIGHT) for x in range(WIDTH)]
    above = [(x + y) % 3 for y in range(HEIGHT) for x in range(WIDTH)]
    ground_format, ground_text = layer_data(ground, encoding)
    above_format, above_text = layer_data(above, encoding)
    return f'''<?xml version="1.0" encoding="UTF-8"?>
<map version="1.8" orientation="orthogonal" renderorder="right-down" width="{WIDTH}" height="{HEIGHT}" tilewidth="16" tileheight="16" infinite="0" nextlayerid="5" nextobjectid="2">
 <tileset firstgid="1" name="terrain" tilewidth="16" tileheight="16" tilecount="12" columns="4">
  <image source="terrain.png" width="64" height="48"/>
 </tileset>
 <tileset firstgid="13" source="{props}"/>
 <objectgroup id="1" name="Things">
  <object id="1" x="5" y="5" width="10" height="10"/>
 </objectgroup>
 <group id="2" name="Floors">
  <layer id="3" name="Ground" width="{WIDTH}" height="{HEIGHT}">
   <data {ground_format}>{ground_text}</data>
  </layer>
 </group>
 <layer id="4" name="Above" width="{WIDTH}" height="{HEIGHT}">
  <data {above_format}>{above_text}</data>
 </layer>
</map>
'''


PROPS_TSX = '''<?xml version="1.0" encoding="UTF-8"?>
<tileset version="1.8" name="props" tilewidth="16" tileheight="16" tilecount="4" columns="2">
 <image source="props.png" width="40" height="32"/>
</tileset>
'''


def tiled(*args):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    subprocess.run(["tiled", *args], check=True, env=env, capture_output=True)


def expected_project():
    lines = [" 2 ", "terrain.png", "props.png"]
    for x in range(WIDTH):
        for y in range(256):
            lines.append(" %d " % (cell(x, y)[1] if y < HEIGHT else 0))
    lines += [" 0 "] * (256 * (256 - WIDTH))
    return "\r\n".join(lines) + "\r\n"


def main():
    picture(os.path.join(HERE, "terrain.png"), 64, 48, 40)
    picture(os.path.join(HERE, "props.png"), 40, 32, 160)
    # Tiled writes paths relative to where it saves, so the sources sit here too.
    sources = []

    def source(name, text):
        path = os.path.join(HERE, "source-" + name)
        with open(path, "w") as f:
            f.write(text)
        sources.append(path)
        return path

    try:
        tsx = source("props.tsx", PROPS_TSX)
        tiled("--export-tileset", "tsx", tsx, os.path.join(HERE, "props.tsx"))
        tiled("--export-tileset", "json", tsx, os.path.join(HERE, "props.tsj"))
        for encoding in ("csv", "base64", "zlib", "gzip", "zstd"):
            for extension, props, format_name in (("tmx", "props.tsx", "tmx"),
                                                  ("tmj", "props.tsj", "json")):
                path = source(f"{encoding}-{extension}.tmx", source_map(encoding, props))
                tiled("--export-map", format_name, path,
                      os.path.join(HERE, f"map-{encoding}.{extension}"))
        # one map with every tileset inside it
        tiled("--export-map", "--embed-tilesets", "tmx", os.path.join(HERE, "source-zlib-tmx.tmx"),
              os.path.join(HERE, "map-embedded.tmx"))
    finally:
        for path in sources:
            os.remove(path)
    with open(os.path.join(HERE, "expected.tessra"), "w", newline="") as f:
        f.write(expected_project())


if __name__ == "__main__":
    main()

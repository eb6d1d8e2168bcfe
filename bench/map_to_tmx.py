#!/usr/bin/env python3
"""Writes a TESSRA map as a Tiled map (TMX), so that another tile-map tool
can draw the same picture for a side-by-side comparison.

    bench/map_to_tmx.py MAP.tessra OUT.tmx TILESET.png ...

Each TILESET.png is the picture of the map's tileset of the same place in its
list (converted by another tool, so that the comparison checks the PCX
decoding too). Tile numbers run on across the tilesets, 16 x 16 pixels a
tile, taken row by row; a cell whose tile no tileset has is left empty.
"""

import struct
import sys
from pathlib import Path
from xml.sax.saxutils import quoteattr

MAP_SIZE = 256
TILE = 16


def read_map(path):
    """The tileset paths and the cells, as rows of tile numbers."""
    lines = Path(path).read_bytes().split(b"\r\n")
    count = int(float(lines[0]))
    tilesets = [line.decode() for line in lines[1:1 + count]]
    values = [int(float(line)) for line in lines[1 + count:1 + count + MAP_SIZE * MAP_SIZE]]
    if len(values) != MAP_SIZE * MAP_SIZE:
        sys.exit(f"{path}: {len(values)} cells, not {MAP_SIZE * MAP_SIZE}")
    # The file lists the cells column by column.
    rows = [[values[x * MAP_SIZE + y] for x in range(MAP_SIZE)] for y in range(MAP_SIZE)]
    return tilesets, rows


def png_size(path):
    data = Path(path).read_bytes()[:24]
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG file")
    return struct.unpack(">II", data[16:24])


def main(args):
    if len(args) < 2:
        sys.exit(__doc__)
    map_path, out_path, pictures = args[0], args[1], args[2:]
    tilesets, rows = read_map(map_path)
    if len(pictures) != len(tilesets):
        sys.exit(f"{map_path} lists {len(tilesets)} tilesets, given {len(pictures)} pictures")
    parts, first = [], 1
    for index, picture in enumerate(pictures):
        width, height = png_size(picture)
        if width % TILE or height % TILE:
            sys.exit(f"{picture}: {width} x {height} is not a whole number of tiles")
        count = (width // TILE) * (height // TILE)
        parts.append(
            f' <tileset firstgid="{first}" name="tiles{index}" tilewidth="{TILE}"'
            f' tileheight="{TILE}" tilecount="{count}" columns="{width // TILE}">\n'
            f'  <image source={quoteattr(str(Path(picture).resolve()))}'
            f' width="{width}" height="{height}"/>\n'
            f' </tileset>\n')
        first += count
    known = first - 1
    data = ",\n".join(",".join(str(t + 1 if t < known else 0) for t in row) for row in rows)
    Path(out_path).write_text(
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        f'<map version="1.8" orientation="orthogonal" renderorder="right-down"'
        f' width="{MAP_SIZE}" height="{MAP_SIZE}" tilewidth="{TILE}" tileheight="{TILE}"'
        f' infinite="0" nextlayerid="2" nextobjectid="1">\n' + "".join(parts) +
        f' <layer id="1" name="map" width="{MAP_SIZE}" height="{MAP_SIZE}">\n'
        f'  <data encoding="csv">\n{data}\n</data>\n </layer>\n</map>\n')


if __name__ == "__main__":
    main(sys.argv[1:])

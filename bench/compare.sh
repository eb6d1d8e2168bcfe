#!/bin/bash
# Whole-process speed of tessra-cli side by side with the fastest other tool
# for each task: netpbm's pcxtoppm for PCX to PPM, and Tiled's tmxrasterizer
# (Debian package tiled) for drawing a whole 256 x 256 map: the test map of
# many tiles, and a map of a few repeated tiles, whose PNG sizes are printed
# too. The map rows are skipped, with a note, when tmxrasterizer is not installed.
#
# Each task runs RUNS times (7 unless set) for each tool in turn, A B A B, after
# one warm-up each; the medians of the times and of the pairs' ratios are
# printed. Every output is checked against the other tool's, pixel for pixel.
#
#   bench/compare.sh [path/to/tessra-cli]
set -e
shopt -s inherit_errexit
root="$(cd "$(dirname "$0")/.." && pwd)"
cli="${1:-$root/build/src/cli/tessra-cli}"
runs="${RUNS:-7}"

for tool in "$cli" pcxtoppm ppmtopcx pnmtile convert compare python3; do
    command -v "$tool" >/dev/null || {
        echo "missing: $tool (apt-get install netpbm imagemagick python3)"
        exit 1
    }
done
tmx=$(command -v tmxrasterizer || true)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# PCX files: a real tileset repeated over 4096 x 4096 pixels.
convert "$root/tests/data/pcx/pil-rgb24-128x64.pcx" "$work/tile.ppm"
pnmtile 4096 4096 "$work/tile.ppm" >"$work/big.ppm"
convert "$work/big.ppm" -type palette -colors 256 "PCX:$work/p8.pcx"
ppmtopcx -24bit "$work/big.ppm" >"$work/rgb24.pcx" 2>/dev/null

# The test map: four 256 x 224 tilesets, areas of 12 x 9 cells of one tile and
# one cell in seven or so of another, from a fixed pseudo-random sequence.
for i in 1 2 3 4; do
    convert -seed $i -size 256x224 plasma:fractal -type palette -colors 256 "PCX:$work/tiles$i.pcx"
done
{
    printf ' 4 \r\n'
    for i in 1 2 3 4; do printf 'tiles%s.pcx\r\n' $i; done
    # The cells column by column, as the file keeps them.
    awk 'BEGIN {
        s = 7
        for (x = 0; x < 256; x++) for (y = 0; y < 256; y++) {
            t = (int(x / 12) * 5 + int(y / 9) * 3) % 40
            s = (s * 16807) % 2147483647
            if (s % 100 < 15) { s = (s * 16807) % 2147483647; t = 40 + s % 200 }
            printf " %d \r\n", t
        }
    }'
} >"$work/map.tessra"
# The repeated-tile map: four smooth tiles (a blurred plasma) in blocks of 8 x 8
# cells, the kind whose repeats a fast deflate misses.
cp "$root/tests/data/tiled/magick-plasma-blurred-256x224.pcx" "$work/smooth.pcx"
{
    printf ' 1 \r\nsmooth.pcx\r\n'
    awk 'BEGIN { for (x = 0; x < 256; x++) for (y = 0; y < 256; y++)
                     printf " %d \r\n", (int(x / 8) + int(y / 8)) % 4 }'
} >"$work/repeated.tessra"
if [ -n "$tmx" ]; then
    # tmxrasterizer reads the tilesets as PNG, decoded by ImageMagick, so its
    # picture checks the PCX decoding as well as the drawing.
    for i in 1 2 3 4; do convert "$work/tiles$i.pcx" "$work/tiles$i.png"; done
    python3 "$root/bench/map_to_tmx.py" "$work/map.tessra" "$work/map.tmx" \
        "$work"/tiles{1,2,3,4}.png
    convert "$work/smooth.pcx" "$work/smooth.png"
    python3 "$root/bench/map_to_tmx.py" "$work/repeated.tessra" "$work/repeated.tmx" \
        "$work/smooth.png"
    export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$work/runtime"
fi

# The tasks: $1 is the output file, written by the tool alone (no shell is
# started inside the timing).
p8_file() { "$cli" pcx-to-image "$work/p8.pcx" "$1"; }
p8_stdout() { "$cli" pcx-to-image "$work/p8.pcx" - >"$1"; }
p8_netpbm() { pcxtoppm "$work/p8.pcx" >"$1"; }
rgb24_file() { "$cli" pcx-to-image "$work/rgb24.pcx" "$1"; }
rgb24_stdout() { "$cli" pcx-to-image "$work/rgb24.pcx" - >"$1"; }
rgb24_netpbm() { pcxtoppm "$work/rgb24.pcx" >"$1"; }
map_tessra() { "$cli" render "$work/map.tessra" "$1"; }
map_tiled() { "$tmx" "$work/map.tmx" "$1" 2>/dev/null; }
repeated_tessra() { "$cli" render "$work/repeated.tessra" "$1"; }
repeated_tiled() { "$tmx" "$work/repeated.tmx" "$1" 2>/dev/null; }

# Wall time of one run in milliseconds. The run starts with no output file
# and nothing waiting to be written back, so that it pays for no run before it.
time_ms() {
    local task=$1 out=$2 start end
    rm -f "$out"
    sync
    sleep 0.2
    start=$EPOCHREALTIME
    "$task" "$out"
    end=$EPOCHREALTIME
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", (e - s) * 1000 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Times task A (tessra-cli) and task B (the other tool) in pairs and checks
# their last outputs. Leaves in $result: median A ms, median B ms, median of
# B / A.
pair() {
    local a=$1 b=$2 ext=$3 ta tb
    : >"$work/a.ms"
    : >"$work/b.ms"
    : >"$work/ratio"
    time_ms "$a" "$work/a.$ext" >/dev/null
    time_ms "$b" "$work/b.$ext" >/dev/null
    for _ in $(seq "$runs"); do
        ta=$(time_ms "$a" "$work/a.$ext")
        tb=$(time_ms "$b" "$work/b.$ext")
        echo "$ta" >>"$work/a.ms"
        echo "$tb" >>"$work/b.ms"
        awk -v a="$ta" -v b="$tb" 'BEGIN { print b / a }' >>"$work/ratio"
    done
    check "$work/a.$ext" "$work/b.$ext"
    result="$(median <"$work/a.ms") $(median <"$work/b.ms") $(median <"$work/ratio")"
}

# The two pictures must be equal pixel for pixel.
check() {
    local differ
    differ=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
    if [ "$differ" != 0 ]; then
        echo "DIFFERENT OUTPUT: $1 and $2 ($differ pixels differ)" >&2
        exit 1
    fi
}

row() {
    local task=$1 other=$2 a b ratio
    read -r a b ratio <<<"$result"
    printf '| %-26s | %8s ms | %-14s %8s ms | %5.1fx |\n' "$task" "$a" "$other" "$b" "$ratio"
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg); $runs pairs per task"
printf '| %-26s | %11s | %-25s | %6s |\n' task tessra-cli 'other tool' ratio
echo "|----------------------------|-------------|---------------------------|--------|"
pair p8_file p8_netpbm ppm
row "8-bit PCX -> PPM file" pcxtoppm
pair p8_stdout p8_netpbm ppm
row "8-bit PCX -> PPM stdout" pcxtoppm
pair rgb24_file rgb24_netpbm ppm
row "24-bit PCX -> PPM file" pcxtoppm
pair rgb24_stdout rgb24_netpbm ppm
row "24-bit PCX -> PPM stdout" pcxtoppm
if [ -z "$tmx" ]; then
    echo "tmxrasterizer is not installed (apt-get install tiled): map rows skipped"
    exit 0
fi
pair map_tessra map_tiled ppm
row "256 x 256 map -> PPM" tmxrasterizer
pair map_tessra map_tiled png
row "256 x 256 map -> PNG" tmxrasterizer
png_sizes() {
    awk -v a="$(stat -c %s "$work/a.png")" -v b="$(stat -c %s "$work/b.png")" -v m="$1" \
        'BEGIN { printf "PNG size, %s: tessra-cli %d bytes, tmxrasterizer %d bytes (%.2f of it)\n", m, a, b, a / b }'
}
png_sizes "test map"
pair repeated_tessra repeated_tiled png
row "repeated-tile map -> PNG" tmxrasterizer
png_sizes "repeated-tile map"

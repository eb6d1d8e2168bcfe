#!/bin/bash
# Whole-process PCX decoding, side by side: tessra-cli pcx-to-image against
# netpbm's pcxtoppm and ImageMagick's convert, each writing PPM.
# Makes one 4096 x 4096 file of each kind, runs every decoder 5 times on each,
# and prints the medians and tessra-cli's speed-up over the fastest other tool.
# tessra-cli runs twice: writing to standard output redirected to a file, as
# pcxtoppm does, and saving the file itself, which it syncs to disk before
# it replaces the old one.
#
#   bench/compare.sh [path/to/tessra-cli]
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
cli="${1:-$root/build/src/cli/tessra-cli}"
magick=/usr/bin/convert
runs=5

for tool in "$cli" "$magick" pcxtoppm ppmtopcx pnmtile ppmtopgm pgmtopbm; do
    command -v "$tool" >/dev/null || { echo "missing: $tool (apt-get install imagemagick netpbm)"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A tileset-like picture: a real tileset repeated over 4096 x 4096.
"$magick" "$root/tests/data/pcx/pil-rgb24-128x64.pcx" "$work/tile.ppm"
pnmtile 4096 4096 "$work/tile.ppm" > "$work/big.ppm"

"$magick" "$work/big.ppm" -type palette -colors 256 "PCX:$work/p8.pcx"
ppmtopcx -24bit "$work/big.ppm" > "$work/rgb24.pcx" 2>/dev/null
"$magick" "$work/big.ppm" -colors 16 "$work/c16.ppm"
ppmtopcx -planes=4 "$work/c16.ppm" > "$work/c16.pcx" 2>/dev/null
# ImageMagick writes two-colour pictures as 8 bits x 3 planes; netpbm makes 1 bit x 1.
ppmtopgm "$work/big.ppm" | pgmtopbm > "$work/mono.pbm" 2>/dev/null
ppmtopcx "$work/mono.pbm" > "$work/mono.pcx" 2>/dev/null

# The decoders, each writing $2 from $1.
tessra_stdout() { "$cli" pcx-to-image "$1" - > "$2"; }
tessra_file() { "$cli" pcx-to-image "$1" "$2"; }
netpbm() { pcxtoppm "$1" > "$2"; }
imagemagick() { "$magick" "$1" "$2"; }

# Median wall time of a decoder on a file, in milliseconds. Each run starts
# with no output file and nothing waiting to be written back, so that no run
# pays for the one before it (tessra-cli syncs the file it saves); the clock
# is the shell's own, so no other process is timed.
median_ms() {
    : > "$work/times"
    for _ in $(seq $runs); do
        rm -f "$work/out.ppm"
        sync
        sleep 0.2 # let the disk settle
        start=$EPOCHREALTIME
        "$1" "$2" "$work/out.ppm" 2>/dev/null
        end=$EPOCHREALTIME
        echo "$start $end" | awk '{ printf "%.3f\n", ($2 - $1) * 1000 }' >> "$work/times"
    done
    sort -n "$work/times" | sed -n "$(( (runs + 1) / 2 ))p" | awk '{ printf "%.1f", $1 }'
}

printf '%-6s %11s %11s %11s %11s %9s %9s\n' kind 'tessra -' 'tessra file' pcxtoppm convert 'speed-up' '(file)'
for kind in p8 rgb24 c16 mono; do
    in="$work/$kind.pcx"
    s=$(median_ms tessra_stdout "$in")
    t=$(median_ms tessra_file "$in")
    n=$(median_ms netpbm "$in")
    m=$(median_ms imagemagick "$in")
    ratios=$(awk -v s="$s" -v t="$t" -v n="$n" -v m="$m" \
        'BEGIN { f = (n < m) ? n : m; printf "%8.1fx %8.1fx", f / s, f / t }')
    printf '%-6s %8s ms %8s ms %8s ms %8s ms %s\n' "$kind" "$s" "$t" "$n" "$m" "$ratios"
done

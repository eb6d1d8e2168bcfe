#!/bin/sh
# Whole-process PCX decoding, side by side: tessra-cli pcx-to-image against
# netpbm's pcxtoppm and ImageMagick's convert, each writing PPM.
# Makes one 4096 x 4096 file of each kind, runs every decoder 5 times on each,
# and prints the medians and tessra-cli's speed-up over the fastest other tool.
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

# Median wall time of a command, in milliseconds.
median_ms() {
    i=0
    : > "$work/times"
    while [ $i -lt $runs ]; do
        # Earlier runs' output goes to the disk first, so that no run waits
        # for another's (tessra-cli syncs the file it saves).
        sync
        start=$(date +%s%N)
        sh -c "$1" >/dev/null 2>&1
        end=$(date +%s%N)
        echo $(( (end - start) / 1000 )) >> "$work/times"
        i=$((i + 1))
    done
    sort -n "$work/times" | sed -n "$(( (runs + 1) / 2 ))p" | awk '{ printf "%.1f", $1 / 1000 }'
}

printf '%-8s %12s %12s %12s %9s\n' kind tessra-cli pcxtoppm convert speed-up
for kind in p8 rgb24 c16 mono; do
    in="$work/$kind.pcx"
    t=$(median_ms "'$cli' pcx-to-image '$in' '$work/out-t.ppm'")
    n=$(median_ms "pcxtoppm '$in' > '$work/out-n.ppm'")
    m=$(median_ms "'$magick' '$in' '$work/out-m.ppm'")
    ratio=$(awk -v t="$t" -v n="$n" -v m="$m" 'BEGIN { f = (n < m) ? n : m; printf "%.1fx", f / t }')
    printf '%-8s %10s ms %9s ms %9s ms %9s\n' "$kind" "$t" "$n" "$m" "$ratio"
done

#!/bin/sh
# Resident memory of the editor with four 256 x 224 tilesets loaded.
# Makes four 256-colour tilesets and a map using them, starts the editor in a
# virtual display, opens the map through File > Open as a user would, and
# prints VmRSS, VmHWM, RssAnon and RssFile from /proc: once the window is up,
# and once the map is open.
#
#   bench/memory.sh [path/to/tessra]
set -e
root="$(cd "$(dirname "$0")/.." && pwd)"
editor="${1:-$root/build/src/app/tessra}"
magick=/usr/bin/convert

if [ -z "$TESSRA_IN_XVFB" ]; then
    for tool in "$editor" "$magick" xvfb-run xdotool; do
        command -v "$tool" >/dev/null || { echo "missing: $tool (apt-get install imagemagick xvfb xdotool)"; exit 1; }
    done
    TESSRA_IN_XVFB=1 exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$editor"
fi

work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

for i in 1 2 3 4; do
    "$magick" -seed $i -size 256x224 plasma:fractal -type palette -colors 256 "PCX:$work/tiles$i.pcx"
done
# A map file: the tileset count, the paths, then 65536 cells, one to a line.
{
    printf ' 4 \r\n'
    for i in 1 2 3 4; do printf '%s\r\n' "$work/tiles$i.pcx"; done
    awk 'BEGIN { for (i = 0; i < 65536; i++) printf " %d \r\n", (i * 7 + int(i / 256) * 13) % 256 }'
} > "$work/four.tessra"

rss() {
    awk -v at="$1" '/^VmRSS|^VmHWM|^RssAnon|^RssFile/ { line = line sprintf("  %s %s %s", $1, $2, $3) }
        END { print at ":" line }' "/proc/$pid/status"
}

"$editor" >/dev/null 2>&1 &
pid=$!
xdotool search --sync --name '^TESSRA - ' >/dev/null
sleep 2
rss "window shown"

xdotool search --sync --name '^TESSRA - ' windowfocus --sync key ctrl+o
xdotool search --sync --name '^Open TESSRA Map File$' windowfocus --sync
sleep 1
xdotool type --delay 5 "$work/four.tessra"
xdotool key Return
xdotool search --sync --name "four.tessra" >/dev/null
sleep 2
rss "four tilesets"

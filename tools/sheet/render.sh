#!/usr/bin/env bash
# Renders the button sheet (every style, shape and state, and the Apply button) under the
# project's Wine environment and converts it to PNG.
#
#   tools/sheet/render.sh [BUILD_DIR] [OUT.png]     (defaults: build/win64, BUILD_DIR/button_sheet.png)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/win64}
mkdir -p "$build"
build=$(cd "$build" && pwd)
out=${2:-$build/button_sheet.png}
state=$build/wine

cmake --build "$build" --target button_sheet >/dev/null
# Leave the environment as it was found: stop it afterwards only if this script started it.
was_up=no
if [ -f "$state/wineserver.pid" ] && kill -0 "$(cat "$state/wineserver.pid")" 2>/dev/null; then
    was_up=yes
fi
bmp=$build/button_sheet.bmp
rm -f "$bmp"
"$root/tools/wine-env.sh" --state "$state" run "$build/bin/button_sheet.exe" "Z:${bmp//\//\\}"
[ "$was_up" = yes ] || "$root/tools/wine-env.sh" --state "$state" down
convert "$bmp" "$out"
echo "$out"

#!/usr/bin/env bash
# Builds the tool and runs it on a sandbox game install: a throwaway Wine prefix holding the
# game's registry value and a video folder of the 19 intro movies (small sample files).
#
# With a display ($DISPLAY set) the tool opens there for you to use. Without one it runs on
# a virtual display: one full APPLY is driven with xdotool (APPLY, Yes, then OK) and a
# screenshot of the window is saved to build/win64/screenshot.png. Either way the movies
# that changed are listed at the end.
#
#   tools/run.sh          build, refresh the sandbox game, run
#   tools/run.sh --fresh  the same with a new sandbox prefix
set -eu
cd "$(dirname "$0")/.."
root=$PWD

fresh=0
[ "${1:-}" = "--fresh" ] && fresh=1

# TV_RUN_BUILD_DIR builds elsewhere than the preset's folder (for trying the script out).
build=${TV_RUN_BUILD_DIR:-$root/build/win64}
tools/setup.sh
cmake --preset win64 -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target release
release=$(find "$build/release" -mindepth 1 -maxdepth 1 -type d -name 'VH-Torv3-NoIntros-*' | head -n 1)
[ -n "$release" ] || { echo "run: the release folder was not made" >&2; exit 1; }
sandbox=$build/sandbox
[ $fresh -eq 1 ] && { tools/wine-env.sh --state "$sandbox" down; rm -rf "$sandbox"; }

env_sh() { tools/wine-env.sh --state "$sandbox" "$@"; }
trap 'env_sh down' EXIT
echo "run: starting the sandbox Wine prefix (the first start takes a while)"
env_sh up

# The game: its folder with a video folder of sample movies, and its registry value in the
# 32-bit view, where the 32-bit game writes it.
drive_c=$sandbox/prefix/drive_c
game="$drive_c/Games/Torv Velomar 3"
tool_dir=$drive_c/Tools/VH-Torv3-NoIntros
movies=(intel_e.bik intel_f.bik intel_g.bik nVid.bik)
for series in dtm torv v8; do
    for language in e f g i s; do movies+=("Intr_${series}_${language}.bik"); done
done
rm -rf "$game" "$tool_dir"
mkdir -p "$game/video" "$tool_dir"
for movie in "${movies[@]}"; do
    # A few kilobytes that say what they stand for.
    { printf 'BIKi sample intro movie %s\n' "$movie"; head -c 4096 /dev/zero; } >"$game/video/$movie"
done
cp "$release"/* "$tool_dir/"
env_sh run reg add 'HKLM\SOFTWARE\Brightlane\Velomar 3' /v PATH_VIDEO /t REG_SZ \
    /d 'C:\Games\Torv Velomar 3' /f /reg:32 >/dev/null

checksums() { (cd "$game/video" && sha256sum -- "${movies[@]}"); }
before=$(checksums)
placeholder_sum=$(sha256sum <"$tool_dir/vh-tvm3.dat" | cut -d' ' -f1)

report() {
    local after changed=0
    after=$(checksums)
    echo "run: movies in C:\\Games\\Torv Velomar 3\\video:"
    while read -r sum name; do
        if ! grep -qF "$sum  $name" <<<"$before"; then
            changed=$((changed + 1))
            if [ "$sum" = "$placeholder_sum" ]; then
                echo "  changed: $name (now the placeholder movie)"
            else
                echo "  changed: $name"
            fi
        fi
    done <<<"$after"
    echo "run: $changed of ${#movies[@]} movies changed"
}

exe='C:\Tools\VH-Torv3-NoIntros\VH-Torv3-NoIntros.exe'
if [ -n "${DISPLAY:-}" ] && [ ! -f "$sandbox/display" ]; then
    echo "run: the tool opens on $DISPLAY; close it with Exit or Escape"
    env_sh run "$exe" || true
    report
    exit 0
fi

# No display: drive one APPLY on the virtual display.
x() { env_sh shell "$@"; }
wait_for_window() { # name, seconds
    local i id
    for i in $(seq $(($2 * 10))); do
        id=$(x xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
answer() { # key for the next message box
    local box
    box=$(wait_for_window "VH - Torv3 No Intros" 20) || { echo "run: no message box came" >&2; return 1; }
    x xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
    x xdotool key --window "$box" "$1" >/dev/null 2>&1
    sleep 0.5
}

env_sh run "$exe" >/dev/null 2>&1 &
tool=$!
window=$(wait_for_window VARNHOLT 60) || { echo "run: the tool's window did not appear" >&2; exit 1; }
# The fade-in ends at alpha 240; Wine shows it as _NET_WM_WINDOW_OPACITY 240/255 of 2^32-1.
for i in $(seq 100); do
    opacity=$(x xprop -id "$window" _NET_WM_WINDOW_OPACITY 2>/dev/null | sed -n 's/.*= //p')
    [ "$opacity" = "$((240 * 0xFFFFFFFF / 255))" ] && break
    sleep 0.1
done
eval "$(x xdotool getwindowgeometry --shell "$window")"
x xdotool mousemove $((X + 659)) $((Y + 336)) # over APPLY: the button lights up
sleep 0.5
x import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$build/screenshot.png"
echo "run: screenshot of the window saved to ${build#$root/}/screenshot.png"

x xdotool click 1
answer y      # "No Backup feature! Continue?"
answer Return # "Done!"
for i in $(seq 300); do
    kill -0 "$tool" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$tool" 2>/dev/null; then
    echo "run: the tool did not end after APPLY" >&2
    kill "$tool"
    exit 1
fi
echo "run: APPLY done, the tool faded out and ended"
report

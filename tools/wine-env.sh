#!/usr/bin/env bash
# The project's one way of running Windows programs here: a private Wine prefix inside the
# build tree, a virtual display when none is set, and a persistent wineserver.
#
#   wine-env.sh --state DIR up           boot the prefix, start Xvfb/wineserver if needed
#   wine-env.sh --state DIR run PROG ... run a Windows program (starts the environment first)
#   wine-env.sh --state DIR shell CMD ...run a host command (xdotool, import) in the environment
#   wine-env.sh --state DIR down         stop exactly what `up` started
#
# Wine's background services inherit the stdio of whoever starts them first. Booting the
# prefix with its output on /dev/null, and running programs with their output in a file that
# is printed afterwards, keeps those services away from ctest's pipes, so ctest never waits
# for an EOF that does not come.
set -u

state=""
if [ "${1:-}" = "--state" ]; then
    state=$2
    shift 2
fi
state=${state:-${TV_WINE_STATE:-$PWD/wine}}
# Wine wants an absolute prefix path.
state=$(realpath -m "$state")
cmd=${1:-}
shift || true

# Wine's loader picks the 32-bit or the 64-bit side for each program it is given.
WINE=${TV_WINE:-/usr/lib/wine/wine}
WINESERVER=${TV_WINESERVER:-/usr/lib/wine/wineserver}
export WINEPREFIX="$state/prefix"
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono/Gecko install prompts: they would wait for a click nobody gives.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export WINEARCH=win64

pid_alive() { [ -n "${1:-}" ] && kill -0 "$1" 2>/dev/null; }

start_display() {
    if [ -f "$state/display" ] && pid_alive "$(cat "$state/xvfb.pid" 2>/dev/null)"; then
        DISPLAY=$(cat "$state/display")
        export DISPLAY
        return 0
    fi
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 9>&- &
    echo $! >"$state/xvfb.pid"
    echo ":$n" >"$state/display"
    local i
    for i in $(seq 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
    done
    if [ ! -e "/tmp/.X11-unix/X$n" ]; then
        echo "wine-env: Xvfb did not start on :$n" >&2
        return 1
    fi
    export DISPLAY=":$n"
}

# There is no window manager on the virtual display, and Wine waits 2 s for one on every hide
# of a window it hands to the manager (each fade-out, each window a test closes). Windows of
# test programs are left to Wine itself; the tool and the start-up bench's bare window stay
# managed, as on a player's desktop, for the tests and benches that look at them from outside.
# A program that crashes ends without Wine's crash dialog, which would stay on the display
# (over the windows of later tests) and keep its debugger waiting for a click.
apply_settings() {
    local reg="$state/settings.reg"
    cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\AppDefaults\VH-Torv3-NoIntros.exe\X11 Driver]
"Managed"="Y"

[HKEY_CURRENT_USER\Software\Wine\AppDefaults\bare_window.exe\X11 Driver]
"Managed"="Y"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
    timeout 120 "$WINE" regedit /S "$(winepath_of "$reg")" </dev/null >/dev/null 2>&1 9>&-
}

# Wine maps the whole Unix file system to drive Z:.
winepath_of() { printf 'Z:%s' "${1//\//\\}"; }

up() {
    mkdir -p "$state"
    exec 9>"$state/lock"
    flock 9
    if [ -z "${DISPLAY:-}" ] || [ -f "$state/display" ]; then
        start_display || return 1
    fi
    # One prefix runs programs of both builds. A prefix that a 64-bit-only Wine made cannot
    # load 32-bit programs ("could not load kernel32.dll"): it is made again.
    if [ ! -f "$state/booted-wow64" ]; then
        if [ -d "$WINEPREFIX" ]; then
            "$WINESERVER" -k </dev/null >/dev/null 2>&1 9>&-
            rm -rf "$WINEPREFIX" "$state/booted" "$state"/settings-*
        fi
        timeout 180 "$WINE" wineboot -i </dev/null >/dev/null 2>&1 9>&-
        "$WINESERVER" -w </dev/null >/dev/null 2>&1 9>&-
        touch "$state/booted-wow64"
    fi
    if ! pid_alive "$(cat "$state/wineserver.pid" 2>/dev/null)"; then
        setsid "$WINESERVER" -p -f </dev/null >/dev/null 2>&1 9>&- &
        echo $! >"$state/wineserver.pid"
        sleep 0.2
    fi
    if [ ! -f "$state/settings-2" ]; then
        apply_settings
        touch "$state/settings-2"
    fi
    exec 9>&-
}

down() {
    [ -d "$state" ] || return 0
    "$WINESERVER" -k </dev/null >/dev/null 2>&1
    local p
    p=$(cat "$state/wineserver.pid" 2>/dev/null)
    if pid_alive "$p"; then kill "$p" 2>/dev/null; fi
    p=$(cat "$state/xvfb.pid" 2>/dev/null)
    if pid_alive "$p"; then kill "$p" 2>/dev/null; fi
    rm -f "$state/wineserver.pid" "$state/xvfb.pid" "$state/display"
}

case "$cmd" in
up) up ;;
down) down ;;
run | shell)
    up || exit 1
    out=$(mktemp)
    if [ "$cmd" = run ]; then
        timeout --kill-after=5 "${TV_WINE_TIMEOUT:-900}" "$WINE" "$@" </dev/null >"$out" 2>&1
    else
        timeout --kill-after=5 "${TV_WINE_TIMEOUT:-900}" "$@" </dev/null >"$out" 2>&1
    fi
    rc=$?
    cat "$out"
    rm -f "$out"
    exit $rc
    ;;
*)
    echo "usage: wine-env.sh [--state DIR] up|down|run PROG [ARGS...]|shell CMD [ARGS...]" >&2
    exit 2
    ;;
esac

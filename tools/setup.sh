#!/usr/bin/env bash
# Installs the Debian packages this project needs, only when some are missing. Silent when
# everything is there; runs `apt-get update` only when it has something to install.
#
# 32-bit Wine (wine32:i386, through Debian's multiarch) runs the win32 build's programs, the
# release most players of the 32-bit game download. clang and libFuzzer fuzz the stored
# button properties' reader natively (tools/fuzz.sh).
set -eu
packages=(cmake make g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64 wine wine64 wine32:i386
    xvfb xauth googletest xdotool x11-utils imagemagick ffmpeg python3 zip clang libfuzzer-14-dev)
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "setup: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null

#!/usr/bin/env bash
# Builds tocsinet.exe and starts it under Wine: on this display when there is one, otherwise
# on a virtual display, where a screenshot of the main window shows what the user would see.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh
mkdir -p build
if ! { cmake --preset mingw && cmake --build --preset mingw -j2 --target tocsinet; } >build/run-build.log 2>&1; then
    tail -n 60 build/run-build.log
    exit 1
fi

export WINEPREFIX="${TOCSINET_WINEPREFIX:-$root/build/run-prefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing a Wine prefix in $WINEPREFIX (once, about a minute)..."
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
fi
# Wine does not load Debian's Marlett by itself: without it title-bar buttons show as letters.
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
# Wine finds "Courier New" only through a replacement; Liberation Mono has its metrics.
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "Courier New" /d "Liberation Mono" /f >/dev/null 2>&1

# The program is portable: the exe, its version file and its settings live in one folder.
program_dir="$WINEPREFIX/drive_c/Tocsinet"
mkdir -p "$program_dir"
cp build/mingw/tocsinet.exe build/mingw/version.txt "$program_dir/"

xvfb_pid=""
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "Starting Tocsinet on $DISPLAY; close its window to end."
    wine 'C:\Tocsinet\tocsinet.exe'
    exit 0
fi

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
sleep 1
wine explorer /desktop=Tocsinet,640x400 'C:\Tocsinet\tocsinet.exe' &
for _ in $(seq 1 60); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Tocsinet"' && break
    sleep 0.5
done
sleep 1
shot="$root/build/screenshots/main-window.png"
mkdir -p "$(dirname "$shot")"
import -window root -crop 300x240+0+0 "$shot"
echo "No display here: Tocsinet ran on the virtual display $DISPLAY."
echo "Screenshot of its main window: $shot"
if [ "${TOCSINET_KEEP_RUNNING:-0}" = 1 ]; then
    echo "Running until Ctrl+C."
    wait
fi
wineserver -k || true

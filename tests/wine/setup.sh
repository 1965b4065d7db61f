#!/usr/bin/env bash
# Prepares what the Wine tests of one ctest run share: a virtual display and one fresh prefix.
# Everything started here is written to the state file as soon as it runs, so cleanup.sh can
# end it even when a later step fails; "READY=1" is its last line.
set -euo pipefail

state=$1
shift
player=""
recorder=""
while [ $# -gt 0 ]; do
    case $1 in
    --player) player=$2; shift 2 ;;
    --tray-recorder) recorder=$2; shift 2 ;;
    *) echo "wine setup: unknown option $1" >&2; exit 2 ;;
    esac
done
here=$(cd "$(dirname "$0")" && pwd)
work=$(dirname "$state")
mkdir -p "$work"
log=$work/setup.log
: >"$log"

fail() {
    echo "wine setup: $*" >&2
    tail -n 30 "$log" >&2
    exit 1
}
record() { printf '%s=%q\n' "$1" "$2" >>"$state"; }
# Wine's drive Z: is the unix root.
dos_path() { local path=$1; echo "Z:${path//\//\\}"; }

# Leftovers of an interrupted run go first.
[ -f "$state" ] && bash "$here/cleanup.sh" "$state"
: >"$state"

# Xvfb chooses a free display itself and reports its number once it accepts clients.
display_file=$work/display
rm -f "$display_file"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >>"$log" 2>&1 </dev/null &
record XVFB_PID $!
for _ in $(seq 300); do
    [ -s "$display_file" ] && break
    kill -0 "$(sed -n 's/^XVFB_PID=//p' "$state")" 2>/dev/null || fail "Xvfb did not start"
    sleep 0.1
done
[ -s "$display_file" ] || fail "Xvfb gave no display number"
record TOCSINET_WINE_DISPLAY ":$(head -n 1 "$display_file")"

prefix=$work/prefix
rm -rf "$prefix"
mkdir -p "$prefix"
record WINEPREFIX "$prefix"
# Loaded by every user of the state file; quoted so it can be sourced.
record WINEDEBUG "-all"
# No .NET or browser-engine install prompts, no menu entries on the host.
record WINEDLLOVERRIDES "mscoree,mshtml=,winemenubuilder.exe=d"
# Programs started with a shifted clock preload this (launch-shifted.sh).
for library in /usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 /usr/lib/faketime/libfaketime.so.1; do
    if [ -f "$library" ]; then
        record FAKETIME_LIBRARY "$library"
        break
    fi
done
# shellcheck disable=SC1090
source "$state"
export DISPLAY=$TOCSINET_WINE_DISPLAY WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

# A server that stays until cleanup, so no test's wine starts one holding ctest's output open.
wineserver -p >>"$log" 2>&1 </dev/null || fail "wineserver did not start"
record WINESERVER_STARTED 1
wineboot -i >>"$log" 2>&1 </dev/null || fail "wineboot -i failed"
# Wine does not load Debian's Marlett by itself: without it title-bar buttons and scroll arrows
# show as letters.
cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" || fail "marlett.ttf (fonts-wine) is missing"

reg_file=$work/prefix-settings.reg
{
    echo "REGEDIT4"
    echo
    echo "[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]"
    echo "\"ShowCrashDialog\"=dword:00000000"
    echo
    # Wine finds "Courier New" only through a replacement; Liberation Mono has its metrics.
    echo "[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]"
    echo "\"Courier New\"=\"Liberation Mono\""
    if [ -n "$player" ]; then
        # The shell opens the alarm file types with the test player, as it would with the real one.
        for type in mp3 m3u mid wav; do
            echo
            echo "[HKEY_CLASSES_ROOT\\.$type]"
            echo "@=\"tocsinet.testplayer\""
        done
        echo
        echo "[HKEY_CLASSES_ROOT\\tocsinet.testplayer\\shell\\open\\command]"
        command="\"$(dos_path "$player")\" \"%1\""
        command=${command//\\/\\\\}
        command=${command//\"/\\\"}
        echo "@=\"$command\""
    fi
} >"$reg_file"
wine regedit /S "$(dos_path "$reg_file")" >>"$log" 2>&1 </dev/null || fail "the prefix settings were not imported"

if [ -n "$recorder" ]; then
    # The recorder must own the first "Shell_TrayWnd" window before any program adds an icon;
    # it creates its log once that window exists.
    tray_log=$work/tray.log
    rm -f "$tray_log"
    wine "$recorder" "$(dos_path "$tray_log")" >>"$log" 2>&1 </dev/null &
    record RECORDER_PID $!
    record TOCSINET_TRAY_LOG "$tray_log"
    for _ in $(seq 600); do
        [ -f "$tray_log" ] && break
        kill -0 "$(sed -n 's/^RECORDER_PID=//p' "$state")" 2>/dev/null || fail "the tray recorder ended"
        sleep 0.1
    done
    [ -f "$tray_log" ] || fail "the tray recorder did not start"
fi

echo "READY=1" >>"$state"

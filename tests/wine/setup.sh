#!/usr/bin/env bash
# The display and the fresh prefix that the Wine tests of one ctest run share. What it starts goes
# into the state file at once, for cleanup.sh even after a failed step; "READY=1" ends the file.
#   setup.sh <state file> [<test player exe> [<tray recorder exe>]]
# With TOCSINET_WINE_DPI set, programs in the prefix start at that DPI instead of 96.
set -euo pipefail
state=$1 player=${2:-} recorder=${3:-}
work=$(dirname "$state")
log=$work/setup.log
mkdir -p "$work"
: >"$log"
fail() { echo "wine setup: $*" >&2; tail -n 30 "$log" >&2; exit 1; }
record() { printf '%s=%q\n' "$1" "$2" >>"$state"; }
dos_path() { echo "Z:${1//\//\\}"; } # Wine's drive Z: is the unix root
# Waits up to two minutes until the file test "$1 $2" holds.
wait_for() { timeout 120 bash -c 'until [ "$1" "$2" ]; do sleep 0.1; done' _ "$1" "$2" || fail "$3 did not start"; }

[ -f "$state" ] && bash "$(dirname "$0")/cleanup.sh" "$state" # leftovers of an interrupted run
: >"$state"
# Xvfb chooses a free display itself and reports its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >>"$log" 2>&1 </dev/null &
record XVFB_PID $!
wait_for -s "$work/display" Xvfb
record TOCSINET_WINE_DISPLAY ":$(head -n 1 "$work/display")"
rm -rf "$work/prefix" && mkdir -p "$work/prefix"
record WINEPREFIX "$work/prefix"
record WINEDEBUG -all
# No .NET or browser-engine install prompts, no menu entries on the host.
record WINEDLLOVERRIDES "mscoree,mshtml=,winemenubuilder.exe=d"
record FAKETIME_LIBRARY /usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 # for run-in-wine.sh --clock-file
# Sound: ALSA's one device writes the samples Wine plays to a file the tests read.
mkdir -p "$work/home"
echo "pcm.!default { type file; slave.pcm \"null\"; file \"$work/sound.raw\"; format \"raw\" }" >"$work/home/.asoundrc"
record HOME "$work/home"
source "$state"
export DISPLAY=$TOCSINET_WINE_DISPLAY WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

# A server that stays until cleanup, so no test's wine starts one holding ctest's output open.
wineserver -p >>"$log" 2>&1 </dev/null || fail "wineserver did not start"
record WINESERVER_STARTED 1
wineboot -i >>"$log" 2>&1 </dev/null || fail "wineboot -i failed"
# Wine does not load Debian's Marlett by itself: without it title-bar buttons and scroll arrows
# show as letters.
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" || fail "marlett.ttf (fonts-wine) is missing"

# No crash dialog; Wine finds "Courier New" only through a replacement, which has its metrics.
reg=$work/prefix-settings.reg
printf '%s\n' REGEDIT4 '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' '"Courier New"="Liberation Mono"' >"$reg"
[ -n "${TOCSINET_WINE_DPI:-}" ] && printf '%s\n' '[HKEY_CURRENT_USER\Control Panel\Desktop]' \
    "\"LogPixels\"=dword:$(printf %08x "$TOCSINET_WINE_DPI")" >>"$reg"
if [ -n "$player" ]; then
    # The shell opens the alarm file types with the test player, as it would with the real one.
    printf '[HKEY_CLASSES_ROOT\\.%s]\n@="tocsinet.testplayer"\n' mp3 m3u mid wav >>"$reg"
    exe=$(dos_path "$player")
    printf '%s\n' '[HKEY_CLASSES_ROOT\tocsinet.testplayer\shell\open\command]' \
        "@=\"\\\"${exe//\\/\\\\}\\\" \\\"%1\\\"\"" >>"$reg"
fi
wine regedit /S "$(dos_path "$reg")" >>"$log" 2>&1 </dev/null || fail "the prefix settings were not imported"

if [ -n "$recorder" ]; then
    # It must own the first "Shell_TrayWnd" window before any program adds an icon; its log then appears.
    rm -f "$work/tray.log"
    wine "$recorder" "$(dos_path "$work/tray.log")" >>"$log" 2>&1 </dev/null &
    record TOCSINET_TRAY_LOG "$work/tray.log"
    wait_for -f "$work/tray.log" "the tray recorder"
fi

echo "READY=1" >>"$state"

#!/usr/bin/env bash
# Runs a Windows program of the build in the display and prefix that setup.sh prepared:
#   run-in-wine.sh <state file> <program> [arguments...]       as ctest's emulator
#   run-in-wine.sh --clock-file <file holding +|-seconds> <program> [arguments...]
# The driver starts the second form from inside Wine: a Windows process cannot hand libfaketime to a child.
set -euo pipefail
mode=$1 clock=${2:-}
case $mode in
--clock-file) state=$TOCSINET_WINE_STATE && shift 2 ;;
*) state=$1 mode="" && shift ;;
esac
grep -qx "READY=1" "$state" 2>/dev/null ||
    { echo "No prepared Wine prefix ($state): run the tests through ctest, which prepares one." >&2 && exit 1; }
source "$state"
export DISPLAY=$TOCSINET_WINE_DISPLAY WINEPREFIX WINEDEBUG WINEDLLOVERRIDES TOCSINET_TRAY_LOG=${TOCSINET_TRAY_LOG:-}
export TOCSINET_WINE_STATE=$state TOCSINET_SHIFTED_LAUNCHER=$(realpath "$0")
[ -n "$mode" ] || exec wine "$@"
# Read anew at every call, so rewriting the file moves the clock; only the thread-safe library copes.
export FAKETIME_TIMESTAMP_FILE=$clock FAKETIME_NO_CACHE=1 NO_FAKE_STAT=1
export LD_PRELOAD=${FAKETIME_LIBRARY%/*}/libfaketimeMT.so.1
[ -f "$LD_PRELOAD" ] || { echo "run-in-wine.sh: $LD_PRELOAD is missing (Debian package faketime)" >&2 && exit 1; }
# Only the wall clock moves: timers and waits keep the real pace. What Wine says goes to a log.
FAKETIME_DONT_FAKE_MONOTONIC=1 exec wine "$@" </dev/null >>"$(dirname "$state")/shifted-launches.log" 2>&1

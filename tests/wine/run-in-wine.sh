#!/usr/bin/env bash
# Runs a Windows program of the build in the display and prefix that the wine fixture prepared:
#   run-in-wine.sh <state file> <program> [arguments...]       as ctest's emulator
#   run-in-wine.sh --clock <+|-seconds> <program> [arguments...]
#   run-in-wine.sh --clock-file <file holding +|-seconds> <program> [arguments...]
# The end-to-end driver starts the second form from inside Wine to shift the program's wall clock:
# a Windows process cannot hand libfaketime to a child, but a unix script can.
set -euo pipefail
clock="" mode=$1
if [ "$mode" = --clock ] || [ "$mode" = --clock-file ]; then
    clock=$2
    set -- "$TOCSINET_WINE_STATE" "${@:3}"
fi
state=$1
shift
if ! grep -qx "READY=1" "$state" 2>/dev/null; then
    echo "No prepared Wine prefix ($state): run the tests through ctest, which starts wine_setup first." >&2
    exit 1
fi
source "$state"
export DISPLAY=$TOCSINET_WINE_DISPLAY WINEPREFIX WINEDEBUG WINEDLLOVERRIDES TOCSINET_TRAY_LOG=${TOCSINET_TRAY_LOG:-}
export TOCSINET_WINE_STATE=$state TOCSINET_SHIFTED_LAUNCHER=$(realpath "$0")
[ -z "$clock" ] && exec wine "$@"
[ -f "$FAKETIME_LIBRARY" ] || { echo "run-in-wine.sh: libfaketime is missing (Debian package faketime)" >&2; exit 1; }
# Only the wall clock moves: timers and waits keep the real pace. What Wine says goes to a log.
export FAKETIME_DONT_FAKE_MONOTONIC=1 LD_PRELOAD=$FAKETIME_LIBRARY
if [ "$mode" = --clock ]; then
    export FAKETIME=$clock
else # read anew at every call, so rewriting the file moves the clock; only the thread-safe library copes
    export FAKETIME_TIMESTAMP_FILE=$clock FAKETIME_NO_CACHE=1 NO_FAKE_STAT=1 LD_PRELOAD=${FAKETIME_LIBRARY%/*}/libfaketimeMT.so.1
fi
exec wine "$@" </dev/null >>"$(dirname "$state")/shifted-launches.log" 2>&1

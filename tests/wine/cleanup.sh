#!/usr/bin/env bash
# Ends what setup.sh started: every Wine process of the prefix, then Xvfb by its process id.
set -uo pipefail
[ -f "$1" ] || exit 0
source "$1"
if [ -n "${WINESERVER_STARTED:-}" ]; then
    WINEPREFIX=$WINEPREFIX wineserver -k >/dev/null 2>&1
    WINEPREFIX=$WINEPREFIX wineserver -w >/dev/null 2>&1
fi
# Only while that process id still runs the Xvfb started under it.
if grep -qa Xvfb "/proc/${XVFB_PID:-none}/cmdline" 2>/dev/null; then
    kill "$XVFB_PID"
    timeout 5 tail --pid="$XVFB_PID" -f /dev/null || kill -9 "$XVFB_PID" 2>/dev/null
fi
rm -f "$1"

#!/usr/bin/env bash
# Ends what setup.sh started, by the process ids in its state file, and the prefix's wineserver.
set -uo pipefail

state=$1
[ -f "$state" ] || exit 0
# shellcheck disable=SC1090
source "$state"

# A recorded pid is ended only while it still runs the program that was started under it.
end_process() {
    local pid=$1 name=$2
    [ -n "$pid" ] || return 0
    grep -qa -- "$name" "/proc/$pid/cmdline" 2>/dev/null || return 0
    kill "$pid" 2>/dev/null
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null
}

end_process "${RECORDER_PID:-}" tray_recorder
if [ -n "${WINESERVER_STARTED:-}" ] && [ -n "${WINEPREFIX:-}" ]; then
    WINEPREFIX=$WINEPREFIX wineserver -k >/dev/null 2>&1
    WINEPREFIX=$WINEPREFIX wineserver -w >/dev/null 2>&1
fi
end_process "${XVFB_PID:-}" Xvfb
rm -f "$state"
exit 0

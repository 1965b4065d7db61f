#!/usr/bin/env bash
# Runs one Windows program of the build in the display and prefix that the wine fixture prepared.
set -euo pipefail

state=$1
shift
if ! grep -qx "READY=1" "$state" 2>/dev/null; then
    echo "No prepared Wine prefix ($state): run the tests through ctest, which starts wine_setup first." >&2
    exit 1
fi
# shellcheck disable=SC1090
source "$state"
export DISPLAY=$TOCSINET_WINE_DISPLAY WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
export TOCSINET_WINE_STATE=$state TOCSINET_TRAY_LOG=${TOCSINET_TRAY_LOG:-}
export TOCSINET_SHIFTED_LAUNCHER
TOCSINET_SHIFTED_LAUNCHER=$(cd "$(dirname "$0")" && pwd)/launch-shifted.sh
exec wine "$@"

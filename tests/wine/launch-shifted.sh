#!/usr/bin/env bash
# Runs one Windows program with its local clock shifted by whole seconds, in the display and
# prefix of the wine fixture. The end-to-end driver starts it from inside Wine by its Z: path:
# a Windows process cannot hand LD_PRELOAD to a child, but a unix script can.
#   launch-shifted.sh <+seconds|-seconds> <program> [arguments...]
set -euo pipefail

offset=$1
shift
# shellcheck disable=SC1090
source "$TOCSINET_WINE_STATE"
if [ -z "${FAKETIME_LIBRARY:-}" ]; then
    echo "launch-shifted.sh: libfaketime is not installed (Debian package faketime)" >&2
    exit 1
fi
export DISPLAY=$TOCSINET_WINE_DISPLAY WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
# Only the wall clock moves: timers and waits keep the real pace.
export FAKETIME=$offset FAKETIME_DONT_FAKE_MONOTONIC=1 LD_PRELOAD=$FAKETIME_LIBRARY
# What Wine says about these programs goes to the fixture's folder, not to a test's output.
exec wine "$@" </dev/null >>"$(dirname "$TOCSINET_WINE_STATE")/shifted-launches.log" 2>&1

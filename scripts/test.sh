#!/usr/bin/env bash
# Builds everything and runs every test: the core natively under the sanitizers, then the
# Windows program and its tests under Wine on a virtual display.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh || exit 1

# The build's own output is shown only when it fails.
build() {
    mkdir -p build
    local log="build/$1-build.log"
    if ! { cmake --preset "$1" && cmake --build --preset "$1" -j2; } >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "The $1 build failed; the whole output is in $log"
        exit 1
    fi
}

status=0
build native
ctest --preset native || status=1
build mingw
ctest --preset mingw || status=1
exit $status

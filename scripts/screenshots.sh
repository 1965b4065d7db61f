#!/usr/bin/env bash
# Pictures every window of the program, as the user sees it, on a virtual display: the main
# window, the alarm-file picker, the Options window, the folder picker, the About window and the
# icon in the notification area; then the main window and the Options window once more at 144 DPI
# ("-144" in their names). The pictures go to docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh
mkdir -p build
if ! { cmake --preset mingw && cmake --build --preset mingw -j2 --target tocsinet screenshot_tour test_player; } \
    >build/screenshots-build.log 2>&1; then
    tail -n 60 build/screenshots-build.log
    exit 1
fi

out=$root/docs/screenshots
mkdir -p "$out"
state=
trap '[ -z "$state" ] || bash tests/wine/cleanup.sh "$state"' EXIT

# The tour in a fresh prefix at a DPI; the pictures it asks for are kept when their names match
# the pattern, with the suffix added to the name.
tour() {
    local dpi=$1 keep=$2 suffix=$3
    state=$root/build/screenshots-wine/$dpi/state.sh
    TOCSINET_WINE_DPI=$dpi bash tests/wine/setup.sh "$state" "$root/build/mingw/tests/wine/test_player.exe"
    (
        # shellcheck disable=SC1090
        source "$state"
        export DISPLAY=$TOCSINET_WINE_DISPLAY WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
        export TOCSINET_PROGRAM=$root/build/mingw/tocsinet.exe
        request=$WINEPREFIX/drive_c/screenshot-request.txt
        rm -f "$request"
        # A desktop of Wine's own, with a task bar and a notification area, holds the tour.
        wine explorer /desktop=Tocsinet,800x600 "$root/build/mingw/screenshot_tour.exe" 'C:\screenshot-request.txt' &
        tour=$!
        while kill -0 "$tour" 2>/dev/null; do
            if [ -s "$request" ]; then
                read -r name left top width height < <(tr -d "\r" <"$request")
                if [[ $name =~ ^($keep)$ ]]; then
                    # A little margin shows the window's edge against the desktop.
                    import -window root \
                        -crop "$((width + 8))x$((height + 8))+$((left > 4 ? left - 4 : 0))+$((top > 4 ? top - 4 : 0))" \
                        "$out/$name$suffix.png"
                    echo "$out/$name$suffix.png"
                fi
                rm -f "$request"
            fi
            sleep 0.2
        done
        wait "$tour" || { echo "The tour through the windows failed." >&2; exit 1; }
    )
    bash tests/wine/cleanup.sh "$state"
    state=
}

tour 96 '.*' ''
tour 144 'main-window|options' -144

#!/usr/bin/env bash
# Measures Tocsinet under Wine beside a minimal Win32 window program of ours, in one run:
# start-up time and peak memory (also beside a second program of ours that only makes the main
# window's controls, the least a program with this window pays), CPU time while armed and while waiting for a player that never
# comes, the delay from the alarm second to the open request, the picker on a large folder,
# windows and memory over many dialog openings (Wine does not count GDI/USER objects for
# GetGuiResources), and the exe sizes, as built and as shipped in the ZIP (stripped). Prints a
# table and writes it to build/bench/results.md. The default run takes a few minutes;
# BENCH_LONG=1 opens every dialog 200 times and fires the alarm more often (about 25 minutes),
# BENCH_QUICK=1 gives a short smoke run; BENCH_* below set single figures.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

# One of three values by the length of the run: quick, default, long.
by_length() {
    if [ "${BENCH_QUICK:-0}" = 1 ]; then echo "$1"; elif [ "${BENCH_LONG:-0}" = 1 ]; then echo "$3"; else echo "$2"; fi
}
armed_seconds=${BENCH_ARMED_SECONDS:-$(by_length 10 60 60)}
wait_seconds=${BENCH_WAIT_SECONDS:-$(by_length 10 30 30)}
startup_runs=${BENCH_STARTUP_RUNS:-$(by_length 3 15 31)}
firing_runs=${BENCH_FIRING_RUNS:-$(by_length 1 2 4)}
cycles=${BENCH_DIALOG_CYCLES:-$(by_length 5 10 200)}

bash scripts/install-deps.sh
mkdir -p build/bench
if ! { cmake --preset mingw && cmake --build --preset mingw -j2 --target tocsinet bench_probe bench_baseline bench_baseline_controls tray_recorder; } \
    >build/bench/build.log 2>&1; then
    tail -n 60 build/bench/build.log
    exit 1
fi

state=$root/build/bench/wine/state.sh
trap 'bash tests/wine/cleanup.sh "$state"' EXIT
# The notification area's stand-in, for the alarm that goes off from there.
bash tests/wine/setup.sh "$state" "" "$root/build/mingw/tests/wine/tray_recorder.exe"
# shellcheck disable=SC1090
source "$state"
export DISPLAY=$TOCSINET_WINE_DISPLAY WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

bench_dir=$WINEPREFIX/drive_c/bench
mkdir -p "$bench_dir"
cp build/mingw/tocsinet.exe build/mingw/version.txt build/mingw/bench/bench_baseline.exe \
    build/mingw/bench/bench_baseline_controls.exe build/mingw/bench/bench_probe.exe "$bench_dir/"
probe='C:\bench\bench_probe.exe'
program='C:\bench\tocsinet.exe'
baseline='C:\bench\bench_baseline.exe'
with_controls='C:\bench\bench_baseline_controls.exe'

# Runs the probe with the local clock moved so the time of day reads hh:mm:<second>.
shifted_probe() {
    local second=$1
    shift
    local now offset
    now=$(date +%s)
    offset=$(((60 - now % 60 + second) % 60 + 60))
    FAKETIME="+$offset" FAKETIME_DONT_FAKE_MONOTONIC=1 LD_PRELOAD=$FAKETIME_LIBRARY wine "$probe" "$@"
}
value() { sed -n "s/^$1 //p" | tr -d '\r'; }
# Sorted numbers, one a line, as "median (worst)".
median_and_worst() { awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] " (" a[NR] ")" }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }

echo "Start-up and memory ($startup_runs runs each, the three programs in turn)..."
started=$(wine "$probe" startup "$startup_runs" "$program" TocsinetAlarm "$baseline" TocsinetBaseline \
    "$with_controls" TocsinetControlsBaseline | tr -d '\r')
ours=$(echo "$started" | sed -n 's/^0 //p')
theirs=$(echo "$started" | sed -n 's/^1 //p')
controls=$(echo "$started" | sed -n 's/^2 //p')
if [ "$(echo "$ours" | value controls)" != "$(echo "$controls" | value controls)" ]; then
    echo "The controls baseline no longer makes the main window's controls (count and hash of classes and" \
        "styles: $(echo "$ours" | value controls) against $(echo "$controls" | value controls))." >&2
    exit 1
fi

echo "CPU while armed for $armed_seconds s, beside the baseline idle as long..."
wine "$probe" armed-cpu "$program" "$armed_seconds" >build/bench/armed.txt &
wine "$probe" idle-cpu "$baseline" TocsinetBaseline "$armed_seconds" >build/bench/idle.txt
wait
armed=$(value cpu_ms <build/bench/armed.txt)
idle=$(value cpu_ms <build/bench/idle.txt)

echo "CPU during $wait_seconds s of waiting for a player that never appears..."
shifted_probe 35 wait-cpu "$program" "$wait_seconds" >build/bench/wait.txt &
wine "$probe" idle-cpu "$baseline" TocsinetBaseline "$((wait_seconds + 30))" >build/bench/idle-wait.txt
wait
waiting=$(value cpu_ms <build/bench/wait.txt)
idle_wait=$(value cpu_ms <build/bench/idle-wait.txt)

echo "Delay from the alarm second to the open request ($firing_runs firings)..."
delays=$(for _ in $(seq "$firing_runs"); do
    shifted_probe 40 firing-delay "$program" 1 | value delay_ms_median
done | sort -n | median_and_worst)

echo "The built-in alarm sound: alarm second to first audio ($firing_runs firings), CPU while it plays 30 s..."
capture="Z:${state%/*}/sound.raw" # the sound device's samples (tests/wine/setup.sh)
capture=${capture//\//\\}
sound_delays() { for _ in $(seq "$firing_runs"); do shifted_probe 40 sound-delay "$program" "$capture" "$@" | value first_audio_ms; done | sort -n; }
sounds=$(sound_delays | median_and_worst)
sounds_tray=$(sound_delays tray | median_and_worst)
sound_cpu=$(shifted_probe 40 sound-cpu "$program" "$capture" 30 | value cpu_ms)

echo "The alarm-file picker on 5000 files and on an empty folder..."
mkdir -p "$bench_dir/many" "$bench_dir/empty"
for i in $(seq -w 1 5000); do : >"$bench_dir/many/track $i.mp3"; done
many=$(wine "$probe" picker "$program" 'C:\bench\many' 5)
empty=$(wine "$probe" picker "$program" 'C:\bench\empty' 5)

echo "Window objects over $cycles openings of every dialog..."
objects=$(wine "$probe" objects "$program" "$cycles")

size_ours=$(stat -c %s build/mingw/tocsinet.exe)
size_theirs=$(stat -c %s build/mingw/bench/bench_baseline.exe)
# The ZIP holds the exe as linked (stripped); the baseline is stripped by the strip tool to compare.
strip_tool=$(sed -n 's/^CMAKE_STRIP:FILEPATH=//p' build/mingw/CMakeCache.txt)
"$strip_tool" -o build/bench/tocsinet-shipped.exe build/mingw/tocsinet.exe
"$strip_tool" -o build/bench/baseline-shipped.exe build/mingw/bench/bench_baseline.exe
shipped_ours=$(stat -c %s build/bench/tocsinet-shipped.exe)
shipped_theirs=$(stat -c %s build/bench/baseline-shipped.exe)
s_ours=$(echo "$ours" | value startup_ms_median)
s_theirs=$(echo "$theirs" | value startup_ms_median)
m_ours=$(echo "$ours" | value peak_kb_median)
m_theirs=$(echo "$theirs" | value peak_kb_median)
s_controls=$(echo "$controls" | value startup_ms_median)
m_controls=$(echo "$controls" | value peak_kb_median)

{
    echo "| Figure | Tocsinet | Baseline | Ratio |"
    echo "|---|---|---|---|"
    echo "| Start-up to visible window, median ms (worst) | $s_ours ($(echo "$ours" | value startup_ms_worst)) | $s_theirs ($(echo "$theirs" | value startup_ms_worst)) | $(ratio "$s_ours" "$s_theirs") |"
    echo "| Start-up, beside the baseline with the main window's controls, median ms (worst) | $s_ours ($(echo "$ours" | value startup_ms_worst)) | $s_controls ($(echo "$controls" | value startup_ms_worst)) | $(ratio "$s_ours" "$s_controls") |"
    echo "| Start-up, Tocsinet's time over the controls baseline's in the same round, median of $startup_runs rounds | | | $(echo "$controls" | value first_over_this_median) |"
    echo "| Peak working set, KB | $m_ours | $m_theirs | $(ratio "$m_ours" "$m_theirs") |"
    echo "| Peak working set, beside the baseline with the main window's controls, KB | $m_ours | $m_controls | $(ratio "$m_ours" "$m_controls") |"
    echo "| CPU over $armed_seconds s, armed vs idle, ms | $armed | $idle | $(ratio "$armed" "$idle") |"
    echo "| CPU over $wait_seconds s waiting for the player (baseline idle $((wait_seconds + 30)) s), ms | $waiting | $idle_wait | |"
    echo "| Alarm second to open request, median ms (worst, $firing_runs firings) | $delays | | |"
    echo "| Alarm second to the built-in sound's first audio, median ms (worst, $firing_runs firings) | $sounds | | |"
    echo "| The same from the notification area, median ms (worst) | $sounds_tray | | |"
    echo "| CPU over 30 s while the built-in sound plays, ms | $sound_cpu | | |"
    echo "| Picker opening, 5000 files, median ms (worst) | $(echo "$many" | value open_ms_median) ($(echo "$many" | value open_ms_worst)) | | |"
    echo "| Picker opening, empty folder, median ms (worst) | $(echo "$empty" | value open_ms_median) ($(echo "$empty" | value open_ms_worst)) | | |"
    echo "| Dialogs opened and closed | $(echo "$objects" | value dialogs_opened) | | |"
    echo "| Windows of the process before / after | $(echo "$objects" | value windows_before) / $(echo "$objects" | value windows_after) | | |"
    echo "| Resident memory before / after, KB | $(echo "$objects" | value rss_kb_before) / $(echo "$objects" | value rss_kb_after) | | |"
    echo "| Exe size as built, bytes | $size_ours | $size_theirs | $(ratio "$size_ours" "$size_theirs") |"
    echo "| Exe size as shipped in the ZIP (stripped), bytes | $shipped_ours | $shipped_theirs | $(ratio "$shipped_ours" "$shipped_theirs") |"
} | tee build/bench/results.md
echo "Took $SECONDS s."

#!/usr/bin/env bash
# Every figure of the game on this machine, each beside its aim and whether it is met:
#   launch -> main menu (tools/figures/startup_figures.sh);
#   launch -> first race frame for each built-in track, cold and warm, with the game's own
#     settings, vegetation and every effect on (tools/figures/race_load_figures.sh);
#   frames per second at 1024 x 768 over a lap driven by the PID driver, for each graphics
#     preset (tools/figures/lap_figures.sh);
#   the physics' CPU time per simulated second with the PID driver at the wheel (the thread's
#     CPU time of its steps in bench/TrackDriveBench.cpp, built in build-bench/);
#   the peak resident memory in a race (the highest median of the runs above).
# usage: bash tools/figures/game_figures.sh [build folder] [repeats] [processors]
#   repeats: runs of each figure, their medians given (default 3; 1 for a quick look)
#   processors: the taskset list every run is pinned to (default 2,3)
# Each script's own output is kept in <build folder>/figures/.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
repeats=${2:-3}
cores=${3:-2,3}
bench_build=${BENCH_BUILD:-$root/build-bench}
logs="$build/figures"
LAP_TRACK=TestLoop

# The graphics presets. The game names three qualities (low, medium, high) for its textures
# and shadows; its defaults are everything on.
PRESETS=(low medium high "everything on")
PRESET_SETTINGS=(
    '<Texture quality="0"/><Shadow enable="true" quality="0"/><LightMaps enable="false"/><Vegetation enable="false"/><HDR enable="false"/><MotionBlur enable="false"/><AdvancedSky enable="false"/>'
    '<Texture quality="1"/><Shadow enable="true" quality="1"/><LightMaps enable="true"/><Vegetation enable="false"/><HDR enable="false"/><MotionBlur enable="false"/><AdvancedSky enable="false"/>'
    '<Texture quality="2"/><Shadow enable="true" quality="2"/><LightMaps enable="true"/><Vegetation enable="true"/><HDR enable="false"/><MotionBlur enable="false"/><AdvancedSky enable="true"/>'
    ''
)
PRESET_MIN_FPS=("" 60 "" 30)

started=$SECONDS
rm -rf "$logs" && mkdir -p "$logs"
cmake --build "$build" --target quillmor quillmor_racedriver quillmor_media -- --no-print-directory >/dev/null
if [ ! -f "$bench_build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$bench_build" -DCMAKE_BUILD_TYPE=Release -DQUILLMOR_BENCH=ON >/dev/null
fi
cmake --build "$bench_build" --target bench_track_drive -- --no-print-directory >/dev/null

# Prints one figure: what, the value with its unit, the aim ("< 0.3 s", or empty) and whether
# value OP limit holds.
figure() {
    local what=$1 value=$2 unit=$3 op=${4:-} limit=${5:-} verdict="" aim=""
    if [ -n "$op" ]; then
        aim="aim $op $limit $unit"
        if awk -v v="$value" -v l="$limit" -v op="$op" 'BEGIN { exit !(op == "<" ? v < l : v >= l) }'; then
            verdict="met"
        else
            verdict="NOT MET"
        fi
    fi
    printf '%-62s %9s %-4s %-16s %s\n' "$what" "$value" "$unit" "$aim" "$verdict"
}

# The value after "$2" in the last line of file $1 holding it.
value_after() {
    grep -o -- "$2 [0-9.]*" "$1" | tail -n 1 | awk '{ print $NF }'
}

echo "Quillmor figures on $(hostname), $(date -u '+%Y-%m-%d %H:%M UTC'), pinned to processors $cores," \
    "$repeats runs each (medians)"

PIN="taskset -c $cores" bash "$root/tools/figures/startup_figures.sh" "$build" "$repeats" "$cores" >"$logs/startup.txt"
# The start routine's time to the menu's first frame, and before it the libraries' loading
# (a start that ends at once).
read -r routine_ms libraries_ms < <(grep "^launch -> main menu" "$logs/startup.txt" |
    sed 's/.*: median \([0-9.]*\) ms.*a median \([0-9.]*\) ms.*/\1 \2/')
figure "launch -> main menu (${routine_ms} ms + ${libraries_ms} ms libraries)" \
    "$(awk -v a="$routine_ms" -v b="$libraries_ms" 'BEGIN { printf "%.3f", (a + b) / 1000 }')" s "<" 0.3

peaks=()
for map in "$build"/media/maps/*.map; do
    track=$(basename "$map" .map)
    bash "$root/tools/figures/race_load_figures.sh" "$build" "$track" "$repeats" "" "$cores" >"$logs/load_$track.txt"
    for kind in cold warm; do
        line=$(grep "^$track $kind," "$logs/load_$track.txt")
        ms=$(sed 's/.*first race frame after \([0-9.]*\) ms.*/\1/' <<<"$line")
        peaks+=("$(sed 's/.*peak RSS \([0-9.]*\) MB.*/\1/' <<<"$line") $track $kind load")
        limit=1
        [ "$kind" = cold ] && limit=3
        figure "launch -> first race frame, $track, $kind" "$(awk -v ms="$ms" 'BEGIN { printf "%.2f", ms / 1000 }')" s "<" "$limit"
    done
done

for i in "${!PRESETS[@]}"; do
    preset=${PRESETS[$i]}
    bash "$root/tools/figures/lap_figures.sh" "$build" "$LAP_TRACK" "$repeats" "${PRESET_SETTINGS[$i]}" "$cores" \
        >"$logs/lap_${preset// /_}.txt"
    fps=$(value_after "$logs/lap_${preset// /_}.txt" "fps")
    peaks+=("$(value_after "$logs/lap_${preset// /_}.txt" "peak_mb") $LAP_TRACK lap, $preset")
    if [ -n "${PRESET_MIN_FPS[$i]}" ]; then
        figure "fps 1024x768, $LAP_TRACK lap by the PID driver, $preset" "$fps" fps ">=" "${PRESET_MIN_FPS[$i]}"
    else
        figure "fps 1024x768, $LAP_TRACK lap by the PID driver, $preset" "$fps" fps
    fi
done

# The benchmark reads the built media from its bin folder, as the game does.
aggregates=()
[ "$repeats" -gt 1 ] && aggregates=(--benchmark_repetitions="$repeats" --benchmark_report_aggregates_only=true)
(cd "$bench_build/bin" && taskset -c "$cores" ./bench_track_drive --benchmark_filter='^BM_PIDDriverStepOnTestLoop' \
    "${aggregates[@]}") >"$logs/physics.txt" 2>&1
# The CPU column (the thread's CPU time per step, in microseconds) over the step's simulated
# length in milliseconds is the CPU milliseconds per simulated second.
physics=$(awk -v many="$repeats" '/^BM_PIDDriverStepOnTestLoop/ && (many == 1 || /_median/) {
    for (i = 1; i <= NF; ++i) if ($i ~ /^step_ms=/) { split($i, kv, "="); step = kv[2] }
    cpu = $4; if ($5 == "ns") cpu /= 1000; if ($5 == "ms") cpu *= 1000
    printf "%.3f", cpu / step }' "$logs/physics.txt")
[ -n "$physics" ] || { cat "$logs/physics.txt"; echo "no figure from the physics benchmark" >&2; exit 1; }
figure "physics + PID driver CPU per simulated second" "$physics" ms "<" 0.6

read -r peak where < <(printf '%s\n' "${peaks[@]}" | sort -n -k1,1 | tail -n 1)
figure "peak resident memory in a race ($where)" "$peak" MB "<" 250
echo "every script's output: $logs ($((SECONDS - started)) s in all)"

#!/usr/bin/env bash
# Frames per second over one lap of a built-in track driven by the PID computer driver, at
# 1024 x 768 under Xvfb, and the race's peak resident memory: several runs, their medians.
# The frames count from the race's first frame (the countdown and the hand-over to the
# driver included) to the finish.
# usage: bash tools/figures/lap_figures.sh [build folder] [track] [runs] [settings] [processors]
#   settings: elements inside <Graphics> (none: the game's own defaults)
#   processors: a taskset list the game is pinned to (default: not pinned)
#   The build folder must hold a built race driver (--target quillmor_racedriver).
# The last line reads "lap <track>: fps <median> peak_mb <median> runs <n>".
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
track=${2:-TestLoop}
runs=${3:-3}
settings=${4:-}
RACE_CORES=${5:-}
source "$root/tests/e2e/game_harness.sh" "$build"
source "$root/tests/e2e/racedriver_harness.sh"
start_xvfb
LAP_LIMIT=300  # seconds

median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# A first race, left at once, fills the per-user caches (lightmaps): every lap counted is warm.
rm -rf "$USER_DIR"
start_race "$track" "$settings"
end_race
: >"$WORK/laps"
for run in $(seq "$runs"); do
    rm -f "$DEBUG_LOG"
    start_race "$track" "$settings"
    wait_for_more "$DEBUG_LOG" 0 60 "^Race started" || fail "$track: the race did not start"
    hand_to_pid_driver || fail "$track: the PID driver never took the car"
    wait_for_more "$DEBUG_LOG" 0 "$LAP_LIMIT" "^Finish at" || fail "$track: no finish within ${LAP_LIMIT}s"
    end_race
    lap=$(grep -m 1 "^Finish at" "$DEBUG_LOG" | awk '{ print $3 }' | tr -d ,)
    read -r fps peak < <(awk '$1 == "raced" { fps = $2 * 1000 / $5 } $1 == "peak" { mb = $3 / 1024 }
        END { printf "%.1f %.0f\n", fps, mb }' "$WORK/stdout")
    echo "$fps $peak" >>"$WORK/laps"
    echo "$track lap $run: $lap, $fps fps, peak $peak MB"
done
echo "lap $track: fps $(awk '{ print $1 }' "$WORK/laps" | median) peak_mb $(awk '{ print $2 }' "$WORK/laps" | median) runs $runs"

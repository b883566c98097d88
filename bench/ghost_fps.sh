#!/usr/bin/env bash
# What the ghost costs: frames per second on TestLoop while the PID driver races, with and
# without the ghost of an earlier lap (the same driver's, so the ghost drives in view, inside
# and around the car). One lap first records the ghost; then the races alternate between
# without and with it, each pinned to the same cores with taskset, and the median of the
# races' mean frame rates is printed for each.
# usage: bash bench/ghost_fps.sh [build folder] [races of each kind] [cores] [settings]
#   settings: the elements inside <Graphics>; by default those of the whole-race test
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
repeats=${2:-5}
cores=${3:-4-7}
graphics=${4:-'<Texture quality="1"/><Shadow enable="false"/><HDR enable="false"/><MotionBlur enable="false"/><Vegetation enable="false"/><AdvancedSky enable="false"/>'}
cmake --build "$build" --target quillmor_racedriver -- --no-print-directory >/dev/null
source "$root/tests/e2e/game_harness.sh" "$build"
CONTROL="$WORK/control"
GHOST="$USER_DIR/maps/stdHighscore/TestLoop.sde.shadow"
RACE_SECONDS=25  # of driving after the start, on the wall clock

taskset -c "$cores" Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$WORK/display" >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$WORK/display")"
mkdir -p "$USER_DIR"
printf '<GameConfig><Video><Resolution value="800 x 600"/></Video><Graphics>%s</Graphics></GameConfig>\n' "$graphics" >"$USER_DIR/quillmor.cfg"

# One race with the PID driver; $1: "lap" drives until the ghost is saved, else RACE_SECONDS.
race() {
    : >"$WORK/stdout"
    (cd "$BIN_DIR" && exec taskset -c "$cores" ./quillmor_racedriver "$CONTROL" ../media/maps/TestLoop.map >"$WORK/stdout" 2>"$WORK/stderr") &
    GAME_PID=$!
    for _ in $(seq 1200); do grep -q "race ready" "$WORK/stdout" && break; sleep 0.1; done
    press_key a
    if [ "$1" = lap ]; then
        for _ in $(seq 3000); do [ -s "$GHOST" ] && break; sleep 0.1; done
        [ -s "$GHOST" ] || fail "the lap left no ghost"
    else
        for _ in $(seq 600); do grep -q " phase 20$" "$WORK/stdout" && break; sleep 0.1; done
        sleep "$RACE_SECONDS"
    fi
    echo next >"$CONTROL"
    wait_for_exit 60
}

# The mean of the frame rates reported while racing (phase 20), from the start signal on.
racing_fps() {
    awk '$1 == "speed" { racing = ($NF == 20) } $1 == "fps" && racing { sum += $2; n++ }
         END { if (n) printf "%.1f\n", sum / n; else print "none" }' "$WORK/stdout"
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

race lap
cp "$GHOST" "$WORK/ghost"
without=() with=()
for i in $(seq "$repeats"); do
    rm -f "$GHOST"
    race timed
    without+=("$(racing_fps)")
    cp "$WORK/ghost" "$GHOST"
    race timed
    ! grep -q "without a ghost" "$DEBUG_LOG" || fail "the ghost did not load: $(grep "without a ghost" "$DEBUG_LOG")"
    with+=("$(racing_fps)")
    echo "race $i: without the ghost ${without[-1]} fps, with it ${with[-1]} fps (load $(cut -d' ' -f1 /proc/loadavg))"
done
echo "TestLoop, 800 x 600, PID driver, cores $cores, $repeats races each:" \
    "median fps without the ghost $(printf '%s\n' "${without[@]}" | median)," \
    "with it $(printf '%s\n' "${with[@]}" | median)"

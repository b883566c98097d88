#!/usr/bin/env bash
# Frame rate of a race at 1024 x 768 under Xvfb (software GL) with no effects (plain sky
# box), with the advanced sky alone, and with the advanced sky, HDR and speed blur: the
# accelerator held for $SECONDS_DRIVEN s, the two-second frame-rate reports after the first
# $SETTLE s (the car is past the blur's 110 km/h by then) give a run's median, and the
# game's processor time per frame over the same span (the renderer's threads included: on a
# busy machine a steadier figure than the frame rate); each set-up is run $REPEATS times,
# the medians of the runs are reported. Pin it:
#   taskset -c 4-7 bash bench/sky_effects_fps.sh [build folder] [track] [repeats]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
track=${2:-DesertRun}
REPEATS=${3:-3}
SECONDS_DRIVEN=${SECONDS_DRIVEN:-30}
SETTLE=${SETTLE:-12}
# As many rasteriser threads as the cores it is pinned to: more only wait on each other.
export LP_NUM_THREADS=${LP_NUM_THREADS:-$(nproc)}
cmake --build "$build" --target quillmor_racedriver -- --no-print-directory >/dev/null
source "$root/tests/e2e/game_harness.sh" "$build"
source "$root/tests/e2e/racedriver_harness.sh"
start_xvfb
# The lightmaps are baked once, before any run is timed.
start_race "$track" ""
end_race

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "none"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# The game's processor time so far, in clock ticks (user and system, every thread).
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$GAME_PID/stat"; }

# One run: settings $1; prints the median of its frame-rate reports after the settling time
# and the processor milliseconds per frame over them.
run_once() {
    start_race "$track" "<Texture quality=\"1\"/><Shadow quality=\"1\"/>$1"
    xdotool mousemove --window "$(game_window)" 20 20
    xdotool keydown Up
    sleep "$SETTLE"
    local reports ticks
    reports=$(grep -c "^fps" "$WORK/stdout" || true)
    ticks=$(cpu_ticks)
    sleep $((SECONDS_DRIVEN - SETTLE))
    ticks=$(($(cpu_ticks) - ticks))
    xdotool keyup Up
    local speed
    speed=$(current_speed)
    end_race
    local fps frames
    fps=$(awk -v skip="$reports" '$1 == "fps" && ++n > skip { print $2 }' "$WORK/stdout" | median)
    # every report covers two seconds
    frames=$(awk -v skip="$reports" '$1 == "fps" && ++n > skip { f += 2 * $2 } END { print f + 0 }' "$WORK/stdout")
    awk -v fps="$fps" -v ticks="$ticks" -v hz="$(getconf CLK_TCK)" -v frames="$frames" \
        'BEGIN { printf "%s %.0f\n", fps, (frames > 0 ? ticks * 1000 / hz / frames : 0) }'
    echo "$speed" >"$WORK/last_speed"
}

declare -A setups=(
    [nothing]='<HDR enable="false"/><MotionBlur enable="false"/><AdvancedSky enable="false"/>'
    [sky]='<HDR enable="false"/><MotionBlur enable="false"/><AdvancedSky enable="true"/>'
    [everything]='<HDR enable="true"/><MotionBlur enable="true"/><AdvancedSky enable="true"/>'
)
for setup in nothing sky everything; do
    runs=()
    for _ in $(seq "$REPEATS"); do
        runs+=("$(run_once "${setups[$setup]}") $(cat "$WORK/last_speed")")
    done
    fps=$(printf '%s\n' "${runs[@]}" | awk '{ print $1 }' | median)
    cpu=$(printf '%s\n' "${runs[@]}" | awk '{ print $2 }' | median)
    echo "$track 1024x768 $setup: median fps $fps, median processor time $cpu ms per frame; runs (fps, ms, km/h at the end): ${runs[*]}"
done

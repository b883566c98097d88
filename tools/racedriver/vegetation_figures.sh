#!/usr/bin/env bash
# The vegetation's figures on this machine under Xvfb (software GL: llvmpipe), for each
# terrain with trees (TestLoop: grass, DesertRun: desert):
#   the load and its vegetation stage cold (fresh per-user folder) and warm (cached), the warm
#   vegetation stage three times (median); frames per second at 1024 x 768 over 15 s of driving
#   at tree densities 0.333, 0.666 and 1.0, three runs each (median); a screenshot of each.
# usage: bash tools/racedriver/vegetation_figures.sh [build folder] [folder for the shots]
#   CPUS (default 0-2) pins the game with taskset.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
shot_dir=$(mkdir -p "${2:-$build/vegetation-shots}" && cd "${2:-$build/vegetation-shots}" && pwd)
cpus=${CPUS:-0-2}
cmake --build "$build" --target quillmor_racedriver -- --no-print-directory >/dev/null
source "$root/tests/e2e/game_harness.sh" "$build"
start_xvfb
CONTROL="$WORK/control"

median() {
    sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "n/a" }'
}

# One race on track $1 at tree density $2, driving $3 seconds with the accelerator held;
# a screenshot after 5 s of driving goes to $4 when given.
race() {
    local track=$1 density=$2 drive=$3 shot=${4:-}
    mkdir -p "$USER_DIR"
    printf '<GameConfig><Video><Resolution value="1024 x 768"/></Video><Graphics><Texture quality="1"/><Shadow quality="1"/><HDR enable="false"/><AdvancedSky enable="false"/><Vegetation enable="true"><Grass density="1"/><Tree density="%s"/></Vegetation></Graphics></GameConfig>\n' "$density" >"$USER_DIR/quillmor.cfg"
    : >"$WORK/stdout"
    rm -f "$BIN_DIR"/screenshot_*.png
    (cd "$BIN_DIR" && exec taskset -c "$cpus" ./quillmor_racedriver "$CONTROL" "../media/maps/$track.map" >"$WORK/stdout" 2>"$WORK/stderr") &
    GAME_PID=$!
    for _ in $(seq 1200); do grep -q "race ready" "$WORK/stdout" && break; sleep 0.1; done
    grep -q "race ready" "$WORK/stdout" || fail "$track: no race after 120 s"
    if [ "$drive" -gt 0 ]; then
        sleep 4  # the countdown
        xdotool mousemove --window "$(game_window)" 20 20
        xdotool keydown Up
        if [ -n "$shot" ]; then
            sleep 5
            xdotool key F8
            wait_for_file "$BIN_DIR/screenshot_1.png" 60
            cp "$BIN_DIR/screenshot_1.png" "$shot"
            sleep $((drive - 5))
        else
            sleep "$drive"
        fi
        xdotool keyup Up
    fi
    echo next >"$CONTROL"
    wait_for_exit 60
    LOAD_MS=$(grep -o 'loaded in [0-9]* ms' "$WORK/stdout" | awk '{ print $3 }')
    VEGETATION_MS=$(grep -o 'Vegetation built in [0-9]* ms' "$OGRE_LOG" | tail -n 1 | awk '{ print $4 }')
    TREES=$(grep -o 'trees planted: [0-9]*' "$WORK/stdout" | tail -n 1 | awk '{ print $3 }')
    FPS=$(awk '$1 == "raced" { printf "%.1f", $2 * 1000 / $5 }' "$WORK/stdout")
}

for track in TestLoop DesertRun; do
    rm -rf "$USER_DIR"
    race "$track" 1.0 0
    echo "$track density 1.0 cold: load $LOAD_MS ms, vegetation stage $VEGETATION_MS ms, $TREES trees"
    warm=()
    for _ in 1 2 3; do
        race "$track" 1.0 0
        warm+=("$VEGETATION_MS")
        echo "$track density 1.0 warm: load $LOAD_MS ms, vegetation stage $VEGETATION_MS ms"
    done
    echo "$track warm vegetation stage median of 3: $(printf '%s\n' "${warm[@]}" | median) ms"
    for density in 0.333 0.666 1.0; do
        runs=()
        for run in 1 2 3; do
            shot=""
            [ "$run" = 1 ] && shot="$shot_dir/${track}_trees_$density.png"
            race "$track" "$density" 15 "$shot"
            runs+=("$FPS")
        done
        echo "$track density $density, 1024x768, 15 s driving: fps ${runs[*]}, median $(printf '%s\n' "${runs[@]}" | median) ($TREES trees)"
    done
done

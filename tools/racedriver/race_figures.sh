#!/usr/bin/env bash
# The race's figures on this machine under Xvfb (software GL: llvmpipe):
#   launch -> first race frame for a track, cold (fresh per-user folder: lightmaps baked)
#   and warm (everything cached); frames per second at 1024 x 768 over 30 s of driving
#   with each shadow quality; peak resident memory.
# usage: bash tools/racedriver/race_figures.sh [build folder] [track name] [settings]
#   settings: more elements inside <Graphics> for every race, e.g. '<Texture quality="1"/>'
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
track=${2:-FigureEight}
extra=${3:-}
cmake --build "$build" --target quillmor_racedriver -- --no-print-directory >/dev/null
source "$root/tests/e2e/game_harness.sh" "$build"
start_xvfb
CONTROL="$WORK/control"

# One race: settings $1 (inside <Graphics>), $2 seconds of driving with the accelerator held.
race() {
    mkdir -p "$USER_DIR"
    printf '<GameConfig><Video><Resolution value="1024 x 768"/></Video><Graphics>%s%s</Graphics></GameConfig>\n' "$extra" "$1" >"$USER_DIR/quillmor.cfg"
    : >"$WORK/stdout"
    (cd "$BIN_DIR" && exec ./quillmor_racedriver "$CONTROL" "../media/maps/$track.map" >"$WORK/stdout" 2>"$WORK/stderr") &
    GAME_PID=$!
    for _ in $(seq 600); do grep -q "race ready" "$WORK/stdout" && break; sleep 0.1; done
    if [ "$2" -gt 0 ]; then
        xdotool mousemove --window "$(game_window)" 20 20
        xdotool keydown Up
        sleep "$2"
        xdotool keyup Up
    fi
    echo next >"$CONTROL"
    wait_for_exit 60
}

rm -rf "$USER_DIR"
race "" 0
echo "$track cold: $(grep -o 'first race frame after [0-9]* ms' "$WORK/stdout"), $(grep -o 'loaded in [0-9]* ms' "$WORK/stdout")"
race "" 0
echo "$track warm: $(grep -o 'first race frame after [0-9]* ms' "$WORK/stdout"), $(grep -o 'loaded in [0-9]* ms' "$WORK/stdout")"
for quality in 0 1 2; do
    race "<Shadow quality=\"$quality\"/>" 30
    fps=$(awk '$1 == "raced" { printf "%.1f", $2 * 1000 / $5 }' "$WORK/stdout")
    echo "$track shadow quality $quality, 1024x768, 30 s driving: mean fps $fps; $(grep peak "$WORK/stdout")"
done
race '<Shadow quality="1"/><HDR enable="false"/><MotionBlur enable="false"/><AdvancedSky enable="false"/><LightMaps enable="false"/>' 30
fps=$(awk '$1 == "raced" { printf "%.1f", $2 * 1000 / $5 }' "$WORK/stdout")
echo "$track medium shadows, no HDR, blur, advanced sky or lightmaps: mean fps $fps; $(grep peak "$WORK/stdout")"

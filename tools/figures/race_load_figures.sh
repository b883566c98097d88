#!/usr/bin/env bash
# Launch -> first race frame for one track under Xvfb, cold (fresh per-user folder and shader
# cache: lightmaps baked, shaders compiled) and warm (both kept), several runs each, medians; the
# time of every load stage (the debug log's "race load" lines) and the peak resident memory.
# usage: bash tools/figures/race_load_figures.sh [build folder] [track] [runs] [settings] [processors]
#   settings: more elements inside <Graphics>, e.g. '<Texture quality="1"/>'
#   processors: a taskset list the game is pinned to (default: not pinned)
#   The build folder must hold a built race driver (--target quillmor_racedriver).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
track=${2:-DesertRun}
runs=${3:-5}
extra=${4:-}
cpus=${5:-}
source "$root/tests/e2e/game_harness.sh" "$build"
start_xvfb
# The software renderer keeps its compiled shaders in a cache of the user's (by the password
# file's home, not $HOME): a private one makes cold runs cold and warm runs warm.
export MESA_SHADER_CACHE_DIR="$WORK/shader-cache"
CONTROL="$WORK/control"

median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# One race, left as soon as its first frame is drawn; appends its figures to $WORK/$1.
race() {
    mkdir -p "$USER_DIR"
    printf '<GameConfig><Video><Resolution value="1024 x 768"/></Video><Graphics>%s</Graphics></GameConfig>\n' \
        "$extra" >"$USER_DIR/quillmor.cfg"
    local pin=()
    [ -n "$cpus" ] && pin=(taskset -c "$cpus")
    : >"$WORK/stdout"
    (cd "$BIN_DIR" && exec "${pin[@]}" ./quillmor_racedriver "$CONTROL" "../media/maps/$track.map" \
        >"$WORK/stdout" 2>"$WORK/stderr") &
    GAME_PID=$!
    for _ in $(seq 1200); do
        grep -q "race ready\|load failed" "$WORK/stdout" && break
        kill -0 "$GAME_PID" 2>/dev/null || fail "the race driver ended before the race"
        sleep 0.1
    done
    grep -q "race ready" "$WORK/stdout" || fail "no race: $(cat "$WORK/stdout")"
    echo next >"$CONTROL"
    wait_for_exit 60
    {
        echo "frame $(grep -o 'first race frame after [0-9]*' "$WORK/stdout" | grep -o '[0-9]*$')"
        echo "load $(grep -o 'loaded in [0-9]*' "$WORK/stdout" | grep -o '[0-9]*$')"
        echo "rss $(grep -o 'peak rss_kb [0-9]*' "$WORK/stdout" | grep -o '[0-9]*$')"
        sed -n 's/^race load \(.*\): \([0-9]*\) ms, .*/stage \1|\2/p' "$DEBUG_LOG"
    } >>"$WORK/$1"
}

report() {
    local file="$WORK/$1"
    echo "$track $1, $runs runs: first race frame after $(awk '$1 == "frame" { print $2 }' "$file" | median) ms," \
        "load $(awk '$1 == "load" { print $2 }' "$file" | median) ms," \
        "peak RSS $(awk '$1 == "rss" { print int($2 / 1024) }' "$file" | median) MB (medians)"
    sed -n 's/^stage \([^|]*\)|.*/\1/p' "$file" | awk '!seen[$0]++' | while read -r stage; do
        echo "  $stage: $(grep -F "stage $stage|" "$file" | cut -d'|' -f2 | median) ms"
    done
}

for _ in $(seq "$runs"); do
    rm -rf "$USER_DIR" "$MESA_SHADER_CACHE_DIR"
    race cold
done
race warm-up
for _ in $(seq "$runs"); do
    race warm
done
report cold
report warm

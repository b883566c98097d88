#!/usr/bin/env bash
# Launch -> first race frame of one track counted in instructions with callgrind, warm (a
# first run fills the per-user caches) or cold: the same count however busy the machine is.
# Prints the instructions up to the end of the race scene's load, from there to the first
# race frame, and the load's costliest functions; keeps both profiles.
# usage: bash tools/figures/race_load_callgrind.sh [build folder] [track] [warm|cold] [settings] [profile prefix]
#   settings: more elements inside <Graphics>, e.g. '<Texture quality="1"/>'
#   The build folder must hold a built race driver (--target quillmor_racedriver).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
track=${2:-DesertRun}
mode=${3:-warm}
extra=${4:-}
prefix=$(realpath -m "${5:-race-$mode}")
source "$root/tests/e2e/game_harness.sh" "$build"
start_xvfb
# The software renderer keeps its compiled shaders in a cache of the user's (by the password
# file's home, not $HOME): a private one makes cold runs cold and warm runs warm.
export MESA_SHADER_CACHE_DIR="$WORK/shader-cache"
CONTROL="$WORK/control"

# One race, left at its first frame; under callgrind when $1 is set, else under valgrind
# without a tool: the renderer sees valgrind's processor, whose compiled shaders a native run
# would not leave in the cache.
race() {
    mkdir -p "$USER_DIR"
    printf '<GameConfig><Video><Resolution value="1024 x 768"/></Video><Graphics>%s</Graphics></GameConfig>\n' \
        "$extra" >"$USER_DIR/quillmor.cfg"
    local tool=(valgrind --tool=none)
    [ -n "$1" ] && tool=(valgrind --tool=callgrind --callgrind-out-file="$WORK/cg.out" --dump-after='GameScene::load*')
    : >"$WORK/stdout"
    (cd "$BIN_DIR" && exec "${tool[@]}" ./quillmor_racedriver "$CONTROL" "../media/maps/$track.map" \
        >"$WORK/stdout" 2>"$WORK/stderr") &
    GAME_PID=$!
    for _ in $(seq 2400); do
        grep -q "race ready\|load failed" "$WORK/stdout" && break
        kill -0 "$GAME_PID" 2>/dev/null || fail "the race driver ended before the race"
        sleep 0.25
    done
    grep -q "race ready" "$WORK/stdout" || fail "no race: $(cat "$WORK/stdout")"
    # The second part: from the load's end to the first race frame.
    [ -n "$1" ] && callgrind_control -d "$GAME_PID" >/dev/null
    echo next >"$CONTROL"
    wait_for_exit 600
}

[ "$mode" = warm ] && race ""
race callgrind
cp "$WORK/cg.out.1" "$prefix.load.callgrind"
cp "$(ls "$WORK"/cg.out.2* | head -n 1)" "$prefix.frame.callgrind"
total() { grep '^summary:' "$1" | awk '{ print $2 }'; }
echo "$track $mode: launch -> loaded $(total "$prefix.load.callgrind") instructions," \
    "-> first race frame $(total "$prefix.frame.callgrind") more (profiles: $prefix.*.callgrind)"
callgrind_annotate --inclusive=yes "$prefix.load.callgrind" 2>/dev/null | sed -n '/^Ir/,$p' | grep -v '???:0x' | head -60

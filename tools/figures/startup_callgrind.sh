#!/usr/bin/env bash
# Launch -> main menu counted in instructions with callgrind: unlike a time it is the same
# however busy the machine is. Prints the main thread's instructions up to the first frame's
# end (the sound mixer's and the renderer's threads run by the clock, which callgrind slows)
# and its costliest functions (inclusive); keeps the profile for callgrind_annotate.
# usage: bash tools/figures/startup_callgrind.sh [build folder] [profile file] [warm|cold]
#   warm (the default): a first run without callgrind fills the renderer's shader cache, as a
#   player's earlier runs have; cold: that cache starts empty.
#   The build folder must hold a built game (cmake --build <folder> --target quillmor).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
profile=$(realpath -m "${2:-startup.callgrind}")
mode=${3:-warm}
source "$root/tests/e2e/game_harness.sh" "$build"
start_xvfb
# The software renderer keeps its compiled shaders in a cache of the user's (by the password
# file's home, not $HOME): a private one makes cold runs cold and warm runs warm.
export MESA_SHADER_CACHE_DIR="$WORK/shader-cache"

if [ "$mode" = warm ]; then
    # Under valgrind the renderer sees another processor, whose compiled shaders a native run
    # would not leave in the cache: the warm-up runs under valgrind too.
    (cd "$BIN_DIR" && exec valgrind --tool=none ./quillmor >"$WORK/stdout" 2>"$WORK/stderr") &
    GAME_PID=$!
    wait_for_log "first frame after" 120
    press_key Escape
    wait_for_exit 60
    rm -f "$DEBUG_LOG"
fi

# One dump at every frame's end: the first holds everything up to the main menu's first frame.
(cd "$BIN_DIR" && exec valgrind --tool=callgrind --separate-threads=yes --callgrind-out-file="$WORK/cg.out" \
    --dump-before='GameManager::frameEnded*' ./quillmor >"$WORK/stdout" 2>"$WORK/stderr") &
GAME_PID=$!
for _ in $(seq 1200); do
    [ -s "$WORK/cg.out.1-01" ] && break
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its first frame"
    sleep 0.25
done
[ -s "$WORK/cg.out.1-01" ] || fail "no first frame within 300 s under callgrind"
kill "$GAME_PID"
wait "$GAME_PID" 2>/dev/null || true
GAME_PID=""
cp "$WORK/cg.out.1-01" "$profile"
echo "launch -> main menu: $(grep '^summary:' "$profile" | awk '{ print $2 }') instructions in the main thread (profile: $profile)"
callgrind_annotate --inclusive=yes "$profile" 2>/dev/null | sed -n '/^Ir/,$p' | head -40

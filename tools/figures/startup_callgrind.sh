#!/usr/bin/env bash
# Launch -> main menu counted in instructions with callgrind: unlike a time it is the same
# however busy the machine is. Prints the instructions up to the first frame's end and the
# costliest functions (inclusive); keeps the profile for callgrind_annotate or kcachegrind.
# usage: bash tools/figures/startup_callgrind.sh [build folder] [profile file]
#   The build folder must hold a built game (cmake --build <folder> --target quillmor).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
profile=$(realpath -m "${2:-startup.callgrind}")
source "$root/tests/e2e/game_harness.sh" "$build"
start_xvfb

# One dump at every frame's end: the first holds everything up to the main menu's first frame.
(cd "$BIN_DIR" && exec valgrind --tool=callgrind --callgrind-out-file="$WORK/cg.out" \
    --dump-before='GameManager::frameEnded*' ./quillmor >"$WORK/stdout" 2>"$WORK/stderr") &
GAME_PID=$!
for _ in $(seq 1200); do
    [ -s "$WORK/cg.out.1" ] && break
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its first frame"
    sleep 0.25
done
[ -s "$WORK/cg.out.1" ] || fail "no first frame within 300 s under callgrind"
kill "$GAME_PID"
wait "$GAME_PID" 2>/dev/null || true
GAME_PID=""
cp "$WORK/cg.out.1" "$profile"
echo "launch -> main menu: $(grep '^summary:' "$profile" | awk '{ print $2 }') instructions (profile: $profile)"
callgrind_annotate --inclusive=yes "$profile" 2>/dev/null | sed -n '/^Ir/,$p' | head -40

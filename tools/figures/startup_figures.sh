#!/usr/bin/env bash
# Launch -> main menu on this machine under Xvfb: the "first frame after" time of the debug
# log, over several runs of the game pinned to one processor, and their median. The first
# run makes the per-user folder; every run after it starts as a player's usually does.
# usage: bash tools/figures/startup_figures.sh [build folder] [runs] [processor]
#   The build folder must hold a built game (cmake --build <folder> --target quillmor).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-7}
cpu=${3:-2}
source "$root/tests/e2e/game_harness.sh" "$build"
start_xvfb
# The software renderer keeps its compiled shaders in a cache of the user's (by the password
# file's home, not $HOME): a private one makes cold runs cold and warm runs warm.
export MESA_SHADER_CACHE_DIR="$WORK/shader-cache"

times=()
for run in $(seq "$runs"); do
    rm -f "$DEBUG_LOG"
    (cd "$BIN_DIR" && exec ${PIN:-taskset -c "$cpu"} ./quillmor >"$WORK/stdout" 2>"$WORK/stderr") &
    GAME_PID=$!
    wait_for_log "first frame after" 60
    ms=$(grep -o 'first frame after [0-9]*' "$DEBUG_LOG" | grep -o '[0-9]*$')
    times+=("$ms")
    echo "run $run: main menu after $ms ms"
    press_key Escape
    wait_for_exit 30
    [ "$EXIT_STATUS" -eq 0 ] || fail "the game ended with status $EXIT_STATUS"
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
echo "launch -> main menu, processor $cpu, $runs runs: median $median ms (${times[*]})"

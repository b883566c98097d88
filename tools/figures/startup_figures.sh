#!/usr/bin/env bash
# Launch -> main menu on this machine under Xvfb: the "first frame after" time of the debug
# log (counted from the start routine, after the libraries are loaded), over several runs of
# the game pinned to one processor, and their median. A first run, not counted, makes the
# per-user folder and fills the renderer's shader cache, as a player's earlier runs have: it
# is shown on its own. The time before the start routine (loading and linking the libraries)
# is measured apart, by starts that stop at once for want of HOME.
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
pin=(${PIN:-taskset -c "$cpu"})

median() {
    printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# One start to the main menu and out again; its "first frame after" time lands in MS.
menu_run() {
    rm -f "$DEBUG_LOG"
    (cd "$BIN_DIR" && exec "${pin[@]}" ./quillmor >"$WORK/stdout" 2>"$WORK/stderr") &
    GAME_PID=$!
    wait_for_log "first frame after" 60
    MS=$(grep -o 'first frame after [0-9]*' "$DEBUG_LOG" | grep -o '[0-9]*$')
    # The step clock's lines as "step|ms", the first frame's own drawing as the last step.
    STEPS=$(sed -n 's/^start-up \(.*\): \([0-9]*\) ms, \([0-9]*\) ms in all$/\1|\2|\3/p' "$DEBUG_LOG" |
        awk -F'|' -v total="$MS" '{ print $1 "|" $2; done = $3 } END { print "first frame|" total - done }')
    press_key Escape
    wait_for_exit 30
    [ "$EXIT_STATUS" -eq 0 ] || fail "the game ended with status $EXIT_STATUS"
}

menu_run
echo "first run (new per-user folder, empty shader cache): main menu after $MS ms"
times=()
for run in $(seq "$runs"); do
    menu_run
    times+=("$MS")
    echo "$STEPS" >>"$WORK/steps"
    echo "run $run: main menu after $MS ms"
done
# Each step's median over the counted runs, in the order the game takes them.
while IFS= read -r step; do
    echo "  $step: median $(median $(grep -F "$step|" "$WORK/steps" | cut -d'|' -f2)) ms"
done < <(cut -d'|' -f1 "$WORK/steps" | awk '!seen[$0]++')

before=()
for _ in $(seq "$runs"); do
    started=$(date +%s%N)
    (cd "$BIN_DIR" && env -u HOME "${pin[@]}" ./quillmor >/dev/null 2>&1) || true
    before+=($((($(date +%s%N) - started) / 1000000)))
done
echo "launch -> main menu, processor $cpu, $runs runs: median $(median "${times[@]}") ms (${times[*]});" \
    "and a start that ends at once (no HOME) a median $(median "${before[@]}") ms (${before[*]})"

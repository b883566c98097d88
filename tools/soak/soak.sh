#!/usr/bin/env bash
# The soak test, outside the default test run: bash tools/soak/soak.sh [build folder]
#  1. the game started and quit from its menu 20 times;
#  2. in one process, the engine restarted 5 times and a built-in track loaded and unloaded
#     20 times; resident memory after the last cycle of each kind within 10% of after the
#     first, no growth of open file descriptors, no errors in the debug log.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target quillmor quillmor_soak quillmor_png_stats -- --no-print-directory >/dev/null
source "$root/tests/e2e/game_harness.sh" "$build"

start_xvfb
mkdir -p "$USER_DIR"
printf '<GameConfig/>\n' >"$USER_DIR/quillmor.cfg"

for run in $(seq 20); do
    start_game
    wait_for_log "first frame after"
    click_at 0.5 0.43
    wait_for_exit 20
    [ "$EXIT_STATUS" = 0 ] || fail "start $run: exit status $EXIT_STATUS"
    grep -qiE "error|exception|fail" "$DEBUG_LOG" && fail "start $run: errors in the debug log"
    [ -s "$WORK/stderr" ] && grep -qiE "error|exception" "$WORK/stderr" && fail "start $run: errors on stderr"
done
echo "20 starts and quits: all ended with status 0, no errors logged"

(cd "$BIN_DIR" && ./quillmor_soak 5 20 >"$WORK/soak.txt" 2>"$WORK/stderr") || fail "the soak run failed"
cat "$WORK/soak.txt"
grep -qiE "error|exception|fail" "$DEBUG_LOG" && { grep -iE "error|exception|fail" "$DEBUG_LOG"; fail "errors in the debug log"; }

check_growth() {
    local kind=$1
    read -r first last < <(awk -v kind="$kind" '$3 == kind { if (!seen++) first = $5; last = $5 } END { print first, last }' "$WORK/soak.txt")
    awk -v f="$first" -v l="$last" -v k="$kind" 'BEGIN { g = (l - f) * 100 / f; printf "%s cycles: first %d kB, last %d kB, %+.1f%%\n", k, f, l, g; exit !(g <= 10) }' ||
        fail "$kind cycles: resident memory grew more than 10%"
}
check_growth engine
check_growth track
[ "$(awk '{ print $7 }' "$WORK/soak.txt" | sort -u | wc -l)" = 1 ] || fail "open file descriptors changed between cycles"
echo "file descriptors: $(awk 'NR == 1 { print $7 }' "$WORK/soak.txt") in every cycle"
echo "PASS"

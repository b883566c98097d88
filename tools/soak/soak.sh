#!/usr/bin/env bash
# The soak test, outside the default test run: bash tools/soak/soak.sh [build folder] [races]
#  1. the game started and quit from its menu 20 times;
#  2. in one process, the engine restarted 5 times and a built-in track loaded and unloaded
#     20 times; resident memory after the last cycle of each kind within 10% of after the
#     first, no growth of open file descriptors, no errors in the debug log;
#  3. in one more process, 20 whole races through the menus, each built-in track in turn,
#     the PID driver at the wheel and, once a track has been finished, its ghost beside it;
#     back at the main menu after each, resident memory and open descriptors are read: after
#     the last race within 10% of the first round's (each track loaded once), descriptors
#     not one more than after the first race, no errors in the debug log.
# SOAK_CORES (default 2,3) pins the races' game with taskset.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
races=${2:-20}
cmake --build "$build" --target quillmor quillmor_soak quillmor_png_stats -- --no-print-directory >/dev/null
source "$root/tests/e2e/game_harness.sh" "$build"
source "$root/tools/soak/menu_races.sh"

start_xvfb
mkdir -p "$USER_DIR"
printf '<GameConfig/>\n' >"$USER_DIR/quillmor.cfg"

for run in $(seq 20); do
    start_game
    wait_for_log "first frame after"
    click_quit
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

# 3. The races, with the game's own settings (everything on) at 1024 x 768, the size the
# level menu's rows are known at.
rm -rf "$USER_DIR" && mkdir -p "$USER_DIR"
printf '<GameConfig><Video><Resolution value="1024 x 768"/></Video></GameConfig>\n' >"$USER_DIR/quillmor.cfg"
(cd "$BIN_DIR" && exec taskset -c "${SOAK_CORES:-2,3}" ./quillmor >"$WORK/stdout" 2>"$WORK/stderr") &
GAME_PID=$!
wait_for_log "first frame after" 60
started=$SECONDS
for race in $(seq "$races"); do
    menu_race $(((race - 1) % ${#MENU_TRACKS[@]})) >>"$WORK/races.txt"
    tail -n 1 "$WORK/races.txt"
done
press_key Escape
wait_for_exit 30
[ "$EXIT_STATUS" = 0 ] || fail "the racing game ended with status $EXIT_STATUS"
echo "$races races in $((SECONDS - started)) s"
grep -qiE "error|exception|fail" "$DEBUG_LOG" && { grep -iE "error|exception|fail" "$DEBUG_LOG"; fail "errors in the debug log of the races"; }
# A track raced again after a finish shows the ghost of the best run.
awk '{ if (finished[$3] && $6 != "yes") { print "race " $2 " on " $3 " had no ghost"; bad = 1 }
       if ($4 == "finished") finished[$3] = 1 } END { exit bad }' "$WORK/races.txt" ||
    fail "a race after a finish had no ghost"
# Each track brings its own textures and caches: the baseline is after the first round.
round=${#MENU_TRACKS[@]}
[ "$races" -gt "$round" ] || round=1
awk -v round="$round" '{ rss[NR] = $8; fds[NR] = $10; if (NR <= round && $8 > base) base = $8 }
    END { g = (rss[NR] - base) * 100 / base
          printf "races: resident memory after the first round %d kB, after the last %d kB, %+.1f%%; descriptors %d after the first, %d after the last\n", base, rss[NR], g, fds[1], fds[NR]
          exit !(g <= 10 && fds[NR] <= fds[1]) }' "$WORK/races.txt" ||
    fail "races: resident memory grew more than 10% or descriptors were left open"
echo "PASS"

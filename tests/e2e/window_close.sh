# The window manager's close request ends the game as a quit does, at the menu and in a race
# (where the learning driver's training data is written, as leaving the race writes it); when
# the display goes away under the game, it logs that and ends at once, without a crash.
source "$(dirname "$0")/game_harness.sh" "$1"
CLOSE_REQUEST="$BUILD_DIR/tools/quillmor_close_request"

start_xvfb
# Each run's log on its own: a wait must not find the line of the run before.
start_afresh() {
    rm -f "$DEBUG_LOG"
    start_game
    wait_for_log "first frame after"
}
close_and_check() {
    local what=$1
    "$CLOSE_REQUEST" "$(game_window)" || fail "$what: the close request was not sent"
    wait_for_exit 60
    [ "$EXIT_STATUS" = 0 ] || fail "$what: exit status $EXIT_STATUS"
    grep -q "The window was asked to close: the game ends." "$DEBUG_LOG" || fail "$what: no log line"
    ! grep "^X error" "$DEBUG_LOG" || fail "$what: X errors on the way out"
    echo "ok: $what"
}

start_afresh
close_and_check "closed at the main menu"

start_afresh
click_play
wait_for_ogre_log "enter LevelMenuState: done!"
click_at 0.76 0.853  # Next: the first track
wait_for_log "^Race started" 90
# The learning driver, driver 3, takes the car and records what it does.
for _ in $(seq 10); do
    [[ "$(grep "^Driver [0-9]*:" "$DEBUG_LOG" | tail -n 1)" == "Driver 3:"* ]] && break
    steps=$(count_in "$DEBUG_LOG" "^Driver [0-9]*:")
    press_key a
    wait_for_more "$DEBUG_LOG" "$steps" 10 "^Driver [0-9]*:" || true
done
[[ "$(grep "^Driver [0-9]*:" "$DEBUG_LOG" | tail -n 1)" == "Driver 3:"* ]] || fail "the learning driver never took the car"
sleep 3
close_and_check "closed in a race"
grep -q "training samples written to .*speedtraining.data" "$DEBUG_LOG" || fail "closed in a race: no training data written"
[ -s "$BIN_DIR/speedtraining.data" ] || fail "closed in a race: no training file in the working folder"

# The X server ends under the game.
start_afresh
kill "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null || true
XVFB_PID=""
wait_for_exit 60
[ "$EXIT_STATUS" = 1 ] || fail "display gone: exit status $EXIT_STATUS"
grep -q "The X display connection was lost: the game ends." "$DEBUG_LOG" || fail "display gone: no log line"
echo "ok: the display went away"
echo "PASS"

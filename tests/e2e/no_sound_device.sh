# Without any sound device the game starts and quits normally, and says once that sound is off.
# It is tried with the ALSA driver: on a machine without a sound card ALSA prints a page of
# complaints, which go to the log and never to the player's terminal.
ALSOFT_DRIVERS=alsa
source "$(dirname "$0")/game_harness.sh" "$1"

start_xvfb
start_game
wait_for_log "first frame after"
sleep 0.5
if grep -q "no sound device" "$DEBUG_LOG"; then
    [ "$(grep -c "no sound device, sound is off" "$DEBUG_LOG")" = 1 ] || fail "sound-off line not logged exactly once"
    grep -q "the sound drivers said" "$DEBUG_LOG" || fail "the drivers' own words are not in the log"
else
    echo "this machine has a sound device: only the terminal is checked"
fi
click_quit
wait_for_exit 20
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS without a sound device"
if grep -E "ALSA lib|AL lib" "$WORK/stderr"; then
    fail "the sound drivers' messages reached the terminal"
fi
echo "PASS"

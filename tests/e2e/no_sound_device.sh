# Without any sound device the game starts and quits normally, and says once that sound is off.
ALSOFT_DRIVERS=nosuchdriver
source "$(dirname "$0")/game_harness.sh" "$1"

start_xvfb
start_game
wait_for_log "first frame after"
sleep 0.5
[ "$(grep -c "no sound device, sound is off" "$DEBUG_LOG")" = 1 ] || fail "sound-off line not logged exactly once"
click_quit
wait_for_exit 20
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS without a sound device"
echo "PASS"

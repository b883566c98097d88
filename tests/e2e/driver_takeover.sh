# The PID driver takes over from a player who ran off the road and pressed T, in the real
# game (the race test driver, tools/racedriver) on FigureEight: the player drives through the
# first checkpoint, steers off the road, presses T (back to that checkpoint), then "A" hands
# the car to the PID driver, which must take up the road there and finish within five
# minutes of race time. The waits count the race's own clock; once the driver has the car
# the clock runs as fast as the frames allow.
source "$(dirname "$0")/game_harness.sh" "$1"
source "$(dirname "$0")/racedriver_harness.sh"

TRACK=${2:-FigureEight}
LIMIT=300  # seconds of race time after the take-over
KEEP_LOGS_DIR="$BUILD_DIR/e2e-shots/driver_takeover"

# Holds the keys $2... until the race clock is $1 seconds on.
hold_keys_for() {
    local until key
    until=$(awk -v now="$(current_race_time)" -v wait="$1" 'BEGIN { print now + wait }')
    shift
    xdotool mousemove --window "$(game_window)" 20 20
    for key in "$@"; do xdotool keydown "$key"; done
    for _ in $(seq 1200); do
        awk -v now="$(current_race_time)" -v until="$until" 'BEGIN { exit !(now >= until) }' && break
        kill -0 "$GAME_PID" 2>/dev/null || fail "the driver ended while the player drove"
        sleep 0.05
    done
    for key in "$@"; do xdotool keyup "$key"; done
}

start_xvfb
RACE_RESOLUTION="640 x 480" start_race "$TRACK" \
    '<Shadow enable="false"/><HDR enable="false"/><MotionBlur enable="false"/><AdvancedSky enable="false"/>'
wait_for_log "^Race started" 60

# The player: full throttle through the first checkpoint, then three seconds at full left
# lock onto the grass.
xdotool mousemove --window "$(game_window)" 20 20
xdotool keydown Up
wait_for_log_by_race_clock 30 1 "^Checkpoint 1 at" || { xdotool keyup Up; fail "the player never reached checkpoint 1"; }
xdotool keyup Up
hold_keys_for 3 Up Left
echo "the player left the road: $(grep "^speed " "$WORK/stdout" | tail -n 1)"

# T, held long enough for a frame to see it, until the car is back at the checkpoint.
for _ in 1 2 3; do
    xdotool keydown t
    sleep 0.3
    xdotool keyup t
    poll_count "$OGRE_LOG" 1 5 "Car reset to the last checkpoint" && break
done
grep -q "Car reset to the last checkpoint" "$OGRE_LOG" || fail "T did not put the car back"
sleep 0.5
echo "put back: $(grep "^speed " "$WORK/stdout" | tail -n 1)"

hand_to_driver 1 0 || fail "the PID driver never took the car"
taken=$(current_race_time)
send_command "timescale 10" "^timescale"
wait_for_log_by_race_clock "$(awk -v t="$taken" -v limit="$LIMIT" 'BEGIN { print t + limit }')" 1 "^Finish at" ||
    fail "the PID driver did not finish within ${LIMIT}s of race time after the take-over (last: $(grep "^speed " "$WORK/stdout" | tail -n 1))"
finish=$(grep "^Finish at" "$DEBUG_LOG")
grep "^Checkpoint\|^Finish" "$DEBUG_LOG"
echo "the PID driver took the car at race time ${taken}s: $finish"
end_race
echo "PASS"

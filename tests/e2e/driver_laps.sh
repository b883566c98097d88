# Every computer driver races the built-in tracks (or those named) in the real game from the
# start grid, through the race test driver (tools/racedriver): handed the car by "A" during
# the countdown, each must reach the finish through every checkpoint within ten minutes of
# race time. The race clock runs as fast as the frames allow (at most a tenth of a second of
# race a frame, in the physics' fixed steps): the waits count the race's own clock, never the
# wall's. Each lap time is printed. After a race of the learning driver its two training
# files are in the game's working folder, as the debug log says.
# usage: [DRIVERS="1 2 3 4"] driver_laps.sh <build folder> [track...]
#   DRIVERS: 1 PID, 2 self-tuning PID, 3 neural learning, 4 neural driving; all by default.
#   The whole matrix in one process takes about ten minutes on a quiet machine, most of it
#   DesertRun's five-minute laps; the CI runs one race a test, side by side.
source "$(dirname "$0")/game_harness.sh" "$1"
source "$(dirname "$0")/racedriver_harness.sh"

TRACKS=("${@:2}")
if [ ${#TRACKS[@]} = 0 ]; then
    for map in "$BUILD_DIR"/media/maps/*.map; do TRACKS+=("$(basename "$map" .map)"); done
fi
read -r -a DRIVERS <<<"${DRIVERS:-1 2 3 4}"
DRIVER_NAMES=("" PID "Adaptive PID" "Neuronal Net, learning" "Neuronal Net")
LAP_LIMIT=600     # seconds of race time
COUNTDOWN_SCALE=0.2  # the countdown's three seconds take fifteen: time for four presses of "A"
RACE_SCALE=10
KEEP_LOGS_DIR="$BUILD_DIR/e2e-shots/driver_laps"

start_xvfb
rm -f "$BIN_DIR"/speedtraining.data "$BIN_DIR"/steertraining.data
races=()
for track in "${TRACKS[@]}"; do
    for _ in "${DRIVERS[@]}"; do races+=("$track"); done
done
# The game's own settings for what drives (trees and their trunks included); a small window
# without shadows and screen effects for frames enough to run the clock fast.
RACE_RESOLUTION="640 x 480" start_race "${races[*]}" \
    '<Shadow enable="false"/><HDR enable="false"/><MotionBlur enable="false"/><AdvancedSky enable="false"/>'

race=0
learning_races=0
summary=""
for track in "${TRACKS[@]}"; do
    for driver in "${DRIVERS[@]}"; do
        race=$((race + 1))
        wait_for_output "race ready" "$race" 120
        send_command "timescale $COUNTDOWN_SCALE" "^timescale"
        before=$(count_in "$DEBUG_LOG" "^Driver [0-9]*:")
        hand_to_driver "$driver" "$before" || fail "$track: driver $driver never took the car"
        [ "$(count_in "$DEBUG_LOG" "^Race started")" -lt "$race" ] ||
            fail "$track: the countdown ended before driver $driver had the car"
        send_command "timescale $RACE_SCALE" "^timescale"
        wait_for_log_by_race_clock "$LAP_LIMIT" "$race" "^Finish at" ||
            fail "$track: ${DRIVER_NAMES[$driver]} did not finish within ${LAP_LIMIT}s of race time (last: $(grep "^speed " "$WORK/stdout" | tail -n 1))"
        lap=$(grep "^Finish at" "$DEBUG_LOG" | sed -n "${race}p" | sed 's/^Finish at \([0-9:]*\).*/\1/')
        gates=$(awk -v race="$race" '/^Race started/ { ++n } n == race && /^Checkpoint [0-9]* at/ { ++g } END { print g + 0 }' "$DEBUG_LOG")
        summary+="$track	${DRIVER_NAMES[$driver]}	lap $lap	checkpoints $gates"$'\n'
        [ "$driver" = 3 ] && learning_races=$((learning_races + 1))
        echo next >"$CONTROL"
    done
done
wait_for_exit 120
[ "$EXIT_STATUS" = 0 ] || fail "the driver ended with status $EXIT_STATUS"
printf '%s' "$summary"

[ "$learning_races" = 0 ] && { echo "PASS"; exit 0; }
# The learning driver wrote both files at the end of each of its races, the speed file first;
# the last race's are left: a count line, then an input and an output line per sample.
[ "$(count_in "$DEBUG_LOG" "^Neural driver: [0-9]* training samples written to speedtraining.data")" = "$learning_races" ] ||
    fail "the speed training file was not written after each learning race"
[ "$(count_in "$DEBUG_LOG" "^Neural driver: [0-9]* training samples written to steertraining.data")" = "$learning_races" ] ||
    fail "the steer training file was not written after each learning race"
for file in speedtraining.data steertraining.data; do
    [ -f "$BIN_DIR/$file" ] || fail "no $file in the working folder"
    read -r samples inputs outputs <"$BIN_DIR/$file"
    [ "$samples" -gt 1000 ] && [ "$inputs" = 1 ] && [ "$outputs" = 1 ] || fail "$file begins with: $samples $inputs $outputs"
    [ "$(wc -l <"$BIN_DIR/$file")" = $((2 * samples + 1)) ] || fail "$file does not hold its $samples samples"
    echo "$file: $samples samples"
done
echo "PASS"

# FIFOs where a race reads the player's files (the ghost, the training data): the race starts at
# once without them, the log names the ghost, and the race ends normally.
source "$(dirname "$0")/game_harness.sh" "$1"
source "$(dirname "$0")/racedriver_harness.sh"

start_xvfb
mkdir -p "$USER_DIR/maps/stdHighscore"
rm -f "$BIN_DIR/speedtraining.data" "$BIN_DIR/steertraining.data"
# The training files lie in the working folder, the ghost in the per-user one.
mkfifo "$USER_DIR/maps/stdHighscore/TestLoop.sde.shadow" "$BIN_DIR/speedtraining.data" "$BIN_DIR/steertraining.data"
start_race TestLoop '<Vegetation enable="false"/>'
grep -q "Race without a ghost: .*TestLoop.sde.shadow: not a regular file" "$DEBUG_LOG" ||
    fail "no log line naming the ghost that is no file"
end_race
echo "PASS"

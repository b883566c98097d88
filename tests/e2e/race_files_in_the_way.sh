# FIFOs where a race reads the player's files (the ghost, the training data): the race starts at
# once without them, the log names the ghost, and the race ends normally.
source "$(dirname "$0")/game_harness.sh" "$1"
source "$(dirname "$0")/racedriver_harness.sh"

start_xvfb
mkdir -p "$USER_DIR/maps/stdHighscore"
mkfifo "$USER_DIR/maps/stdHighscore/TestLoop.sde.shadow" "$USER_DIR/speedtraining.data" "$USER_DIR/steertraining.data"
start_race TestLoop '<Vegetation enable="false"/>'
grep -q "Race without a ghost: .*TestLoop.sde.shadow: not a regular file" "$DEBUG_LOG" ||
    fail "no log line naming the ghost that is no file"
end_race
echo "PASS"

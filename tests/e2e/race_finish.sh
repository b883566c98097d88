# A race finished end to end, driven only through the menus and keys: Play -> TestLoop ->
# Next -> the countdown -> "A" hands the car to the PID driver, which passes every checkpoint
# and finishes -> the name dialog takes "Ada" -> rank 1, in the table file and beside it the
# ghost, recorded from the start signal until the results were saved -> Race again -> Escape
# -> Restart: the ghost drives the first run again in step with the race clock, and the
# checkpoint shows the difference -> the PID driver finishes again, but the table can't be
# written (a folder in its place): the name dialog says so -> Main menu -> Escape quits with
# status 0.
source "$(dirname "$0")/game_harness.sh" "$1"

RACE_FILES="$BUILD_DIR/tools/quillmor_race_files"
TABLE="$USER_DIR/maps/stdHighscore/TestLoop.sde"
GHOST="$TABLE.shadow"
SHOTS_DIR="$BUILD_DIR/e2e-shots/race_finish"
KEEP_LOGS_DIR="$SHOTS_DIR"  # a failure keeps the game's logs beside the shots
# ctest kills the run at its timeout, logs and all: the waits give up before that.
DEADLINE=$((SECONDS + 420))

start_xvfb
mkdir -p "$USER_DIR"
# Settings software GL draws fast enough for the physics to run in real time even on a busy
# machine: 800 x 600, medium textures, and none of the effects. Vegetation alone took a
# race on TestLoop from 70 to 15 frames a second beside other builds, and below 10 the
# physics, capped at 0.1 s a frame, runs slower than the clock: two races then took more
# than ctest's timeout. The effects have tests of their own.
printf '<GameConfig><Video><Resolution value="800 x 600"/></Video><Graphics><Texture quality="1"/><Shadow enable="false"/><HDR enable="false"/><MotionBlur enable="false"/><Vegetation enable="false"/><AdvancedSky enable="false"/></Graphics></GameConfig>\n' >"$USER_DIR/quillmor.cfg"
rm -f "$BIN_DIR"/screenshot_*.png
rm -rf "$SHOTS_DIR"
mkdir -p "$SHOTS_DIR"

# F8, then waits for the file; the shot is also kept as $SHOTS_DIR/<n>_$1.png.
screenshot() {
    take_screenshot
    cp "$SHOT" "$SHOTS_DIR/${shots}_$1.png"
}

# A shot can show a frame from before the last input: shoots again (up to $2 times) until
# the shell test $3 holds for the new shot; fails with $4.
shoot_until() {
    local name=$1 tries=$2 condition=$3 message=$4
    for _ in $(seq "$tries"); do
        screenshot "$name"
        eval "$condition" && return 0
        rm "$SHOTS_DIR/${shots}_$name.png"
    done
    fail "$message"
}

# Sky blue across the upper screen: a race frame, not a menu.
race_frame() { [ "$(count_pixels 0 100 800 100 60 100 180 200 230 255)" -gt 50000 ]; }

# Pixels of the last shot in the region $1..$4 (x y w h) whose colour lies in the box $5..$10.
count_pixels() {
    "$PNG_STATS" "$SHOT" count "$@"
}

# Waits (up to $3 seconds) for $2 lines matching $1 in the debug log; on a timeout the
# display at that moment is kept as a shot too.
wait_for_debug() {
    local pattern=$1 count=$2 limit=${3:-60}
    local until=$((SECONDS + limit))
    [ "$until" -le "$DEADLINE" ] || until=$DEADLINE
    while [ "$SECONDS" -lt "$until" ]; do
        [ "$(grep -c -- "$pattern" "$DEBUG_LOG")" -ge "$count" ] && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for '$pattern' ($count)"
        sleep 0.05
    done
    screenshot timeout
    fail "no '$pattern' ($count) in the debug log after ${limit}s (or the run's time is up); the display then: $SHOTS_DIR/${shots}_timeout.png"
}

# Hands the car to driver $1 (0: the player, 1: PID). "A" steps to the next driver and the
# game logs each step; a press the game never saw is pressed again.
select_driver() {
    local wanted=$1 last steps
    for _ in $(seq 15); do
        last=$(grep "^Driver [0-9]*:" "$DEBUG_LOG" | tail -n 1 || true)
        [[ "$last" == "Driver $wanted:"* ]] && return 0
        [ -z "$last" ] && [ "$wanted" = 0 ] && return 0
        steps=$(grep -c "^Driver [0-9]*:" "$DEBUG_LOG" || true)
        press_key a
        for _ in $(seq 100); do
            [ "$(grep -c "^Driver [0-9]*:" "$DEBUG_LOG" || true)" -gt "$steps" ] && break
            kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while the drivers were changed"
            sleep 0.1
        done
    done
    fail "driver $wanted never took the car; the last: $last"
}

start_game
wait_for_log "first frame after"
click_play
wait_for_ogre_log "enter LevelMenuState: done!"
click_at 0.3 0.252  # TestLoop, the third built-in track
click_at 0.76 0.853  # Next
wait_for_ogre_log "LoadState: the race runs on ../media/maps/TestLoop.map" 1 120

# 1. The countdown's digits (yellow, in the middle): shot again until a drawn frame shows
# them, as the start-up frames come first.
for try in $(seq 20); do
    screenshot countdown
    digits=$(count_pixels 300 150 200 120 230 190 0 255 240 110)
    [ "$digits" -gt 200 ] && break
    [ "$try" = 20 ] && fail "no countdown digits on the display ($digits pixels)"
    rm "$SHOTS_DIR/${shots}_countdown.png"
done

# 2. The PID driver takes the car once the race runs; its panel shows at the top right (a
# dark panel over the sky, the driver's name in tan).
wait_for_debug "^Race started" 1
select_driver 1
for try in $(seq 20); do
    screenshot ai_driver
    panel=$(count_pixels 515 15 270 55 20 40 70 90 100 130)
    name=$(count_pixels 515 15 100 20 140 120 60 230 200 130)
    [ "$panel" -gt 5000 ] && [ "$name" -gt 20 ] && break
    [ "$try" = 20 ] && fail "the driver's panel does not show ($panel pixels)"
    rm "$SHOTS_DIR/${shots}_ai_driver.png"
done
wait_for_debug "^Checkpoint 1 at" 1 180
wait_for_debug "^Checkpoint 2 at" 1 180
wait_for_debug "^Finish at .*, rank 1" 1 120
screenshot finish  # the display as the car is over the line: looked at, not judged
wait_for_ogre_log "race over: rank 1" 1 30
finish_text=$(grep "^Finish at" "$DEBUG_LOG" | head -n 1 | sed 's/^Finish at \([0-9:]*\),.*/\1/')

# 3. The name dialog asks for a name (its empty black name box); "Ada" goes in at rank 1
# (in white).
shoot_until name_dialog 20 '[ "$(count_pixels 270 278 260 28 0 0 0 12 12 12)" -gt 5000 ]' "no name dialog"
xdotool type --delay 120 Ada
press_key_here Return
shoot_until rank_1 20 '[ "$(count_pixels 225 95 80 20 200 200 200 255 255 255)" -gt 30 ]' "no name at rank 1"
table=$("$RACE_FILES" table "$TABLE") || fail "the table file does not read: $table"
echo "$table"
IFS=$'\t' read -r rank name ms text checkpoints _ < <(sed -n 2p <<<"$table")
[ "$rank" = 1 ] && [ "$name" = Ada ] || fail "rank 1 is not Ada's: $table"
[ "$text" = "$finish_text" ] || fail "the table's time $text is not the finish's $finish_text"
[ "$checkpoints" = 2 ] || fail "the run holds $checkpoints checkpoints, not 2"
ghost=$("$RACE_FILES" ghost "$GHOST") || fail "the ghost file does not read: $ghost"
echo "ghost: $ghost"
# The recording runs from the start signal, a frame each 0.1 s of the race clock, through the
# seconds the car stands after the line until the results are saved: its last frame lies
# within a frame before the run's time and those seconds (counted in physics steps).
read -r _ _ _ _ _ _ _ span <<<"$ghost"
after=$(grep -m 1 "^Race results saved" "$DEBUG_LOG" | sed 's/^Race results saved \([0-9.]*\) s after the finish.*/\1/')
echo "the results were saved ${after}s after the finish"
awk "BEGIN { d = $ms / 1000 + $after - $span; exit !($after >= 3 && d >= 0 && d <= 0.105) }" ||
    fail "the ghost spans ${span}s; the run took ${ms}ms and its results were saved ${after}s after the finish"

# 4. Race again, then Escape -> the in-game menu -> Restart: the restarted race replays the
# ghost again, and the car stands at the start (no driver) for it. The drivers are changed
# during the countdown, which may end first on a fast machine: the neural drivers would then
# take the car off the road for a moment, and the PID driver never finds it again; the
# restart puts the car back.
click_at 0.332 0.853  # Race again
wait_for_ogre_log "Race restarted" 1
select_driver 0
wait_for_debug "^Race started" 2
press_key Escape
wait_for_ogre_log "In-game menu requested" 1
shoot_until ingame_menu 20 '! race_frame' "no in-game menu on the display"
click_at $IN_GAME_RESTART
wait_for_ogre_log "Race restarted" 2
wait_for_debug "^Race started" 3
shoot_until start_again 20 'race_frame && [ "$(count_pixels 300 150 200 120 230 190 0 255 240 110)" -lt 50 ]' \
    "no race frame after the restart"
start_shot=$SHOT
# The road ahead of the standing car, above its roof, changes only when the ghost drives into
# it. On a busy machine the shots come seconds of race time apart, and the ghost is near only
# for a few: a small ghost far ahead counts too (300 pixels; the far side of the loop, where
# the ghost drives later, changes 60 at most).
for try in $(seq 30); do
    screenshot ghost_ahead
    ghost_pixels=$("$PNG_STATS" "$start_shot" diff "$SHOT" 300 280 200 65)
    [ "$ghost_pixels" -gt 300 ] && race_frame && break
    [ "$try" = 30 ] && fail "no ghost drives ahead of the standing car ($ghost_pixels pixels changed)"
    rm "$SHOTS_DIR/${shots}_ghost_ahead.png"
done
# The PID driver follows it to the first checkpoint, which shows the difference to rank 1.
select_driver 1
wait_for_debug "^Checkpoint 1 at .* to the best" 1 120
for try in $(seq 6); do
    screenshot difference
    difference=$(count_pixels 250 75 300 45 230 200 40 255 245 120)
    [ "$difference" -gt 100 ] && break
    [ "$try" = 6 ] && fail "no checkpoint difference on the display ($difference pixels)"
    rm "$SHOTS_DIR/${shots}_difference.png"
done

# The ghost keeps step with the race clock: it reaches its last frame when the clock shows the
# recording's span. As its frames were taken at the clock's tenths from the start signal on
# (the span checked above), it crosses the line within a frame of the recorded time. The car
# goes back to the player (and coasts) so that it does not finish first.
select_driver 0
wait_for_debug "^Ghost at its last frame" 1 120
ghost_end=$(grep -m 1 "^Ghost at its last frame" "$DEBUG_LOG")
echo "$ghost_end"
read -r race played run < <(sed 's/.* race time \([0-9.]*\) s, \([0-9.]*\) s played of its \([0-9.]*\) s run.*/\1 \2 \3/' <<<"$ghost_end")
# The race clock counts whole physics steps, the ghost every frame's time: a step apart at most.
awk "BEGIN { d = $race - $played; exit !(d > -0.02 && d < 0.02) }" ||
    fail "the ghost played ${played}s while the race clock counted ${race}s"
awk "BEGIN { d = $run - $span; exit !(d > -0.001 && d < 0.001) }" ||
    fail "the ghost played a ${run}s run, its file spans ${span}s"

# 5. The PID driver finishes the second run, but a folder stands where the table goes: the
# results can't be saved, and the name dialog says why (in yellow) instead of asking for a
# name; no temporary file is left behind.
rm "$TABLE"
mkdir "$TABLE"
select_driver 1
wait_for_debug "^Finish at" 2 180
wait_for_ogre_log "race over: rank" 2 30
grep -q "^Error saving the race results: .*TestLoop.sde: a folder, not a file" "$DEBUG_LOG" ||
    fail "the failed save is not in the debug log"
shoot_until save_failed 20 '[ "$(count_pixels 260 315 280 70 230 190 100 255 230 160)" -gt 100 ]' \
    "the name dialog does not show why the results were not saved"
[ -d "$TABLE" ] || fail "the folder in the table's place was replaced"
files=$(ls -A "$(dirname "$TABLE")" | tr '\n' ' ')
[ "$files" = "TestLoop.sde TestLoop.sde.shadow " ] || fail "temporary files left beside the table: $files"
press_key_here Return
shoot_until dialog_closed 20 '[ "$(count_pixels 260 315 280 70 230 190 100 255 230 160)" -lt 20 ]' \
    "the dialog stays open after OK"

# 6. The table's Main menu -> Escape quits.
click_at $HIGH_SCORE_MAIN_MENU
wait_for_ogre_log "load layout MainMenu.xml" 2
shoot_until main_menu 20 '! race_frame && [ "$(count_pixels 0 350 200 100 0 50 0 90 255 70)" -gt 5000 ]' \
    "no main menu on the display"
press_key Escape
wait_for_exit 30
[ "$EXIT_STATUS" = 0 ] || fail "the game ended with status $EXIT_STATUS"
! grep -iE "error|exception" "$DEBUG_LOG" | grep -vE "TestLoop.sde'?: a folder, not a file" ||
    fail "errors in the debug log"
grep "^Race started\|^Checkpoint\|^Finish\|^Ghost\|^Driver" "$DEBUG_LOG"
echo "screenshots in $SHOTS_DIR"
echo "PASS"

# A race finished end to end, driven only through the menus and keys: Play -> TestLoop ->
# Next -> the countdown -> "A" hands the car to the PID driver, which passes every checkpoint
# and finishes -> the name dialog takes "Ada" -> rank 1, in the table file and beside it the
# ghost -> Race again: the ghost drives the first run and the checkpoint shows the difference
# -> Escape -> Restart -> Escape -> Main menu -> Escape quits with status 0.
source "$(dirname "$0")/game_harness.sh" "$1"

RACE_FILES="$BUILD_DIR/tools/quillmor_race_files"
TABLE="$USER_DIR/maps/stdHighscore/TestLoop.sde"
GHOST="$TABLE.shadow"
SHOTS_DIR="$BUILD_DIR/e2e-shots/race_finish"

start_xvfb
mkdir -p "$USER_DIR"
# Settings software GL draws fast enough for the physics to run near real time (see
# race_drive.sh): 800 x 600, simple shadows, no HDR, the plain sky box.
printf '<GameConfig><Video><Resolution value="800 x 600"/></Video><Graphics><Shadow quality="1"/><HDR enable="false"/><AdvancedSky enable="false"/></Graphics></GameConfig>\n' >"$USER_DIR/quillmor.cfg"
rm -f "$BIN_DIR"/screenshot_*.png
rm -rf "$SHOTS_DIR"
mkdir -p "$SHOTS_DIR"

shots=0
# F8, then waits for the file; the shot is also kept as $SHOTS_DIR/<n>_$1.png.
screenshot() {
    shots=$((shots + 1))
    press_key_here F8
    wait_for_file "$BIN_DIR/screenshot_$shots.png"
    SHOT="$BIN_DIR/screenshot_$shots.png"
    cp "$SHOT" "$SHOTS_DIR/${shots}_$1.png"
}

# Pixels of the last shot in the region $1..$4 (x y w h) whose colour lies in the box $5..$10.
count_pixels() {
    "$PNG_STATS" "$SHOT" count "$@"
}

# Waits (up to $3 seconds) for $2 lines matching $1 in the debug log; on a timeout the
# display at that moment is kept as a shot too.
wait_for_debug() {
    local pattern=$1 count=$2 limit=${3:-60}
    for _ in $(seq $((limit * 20))); do
        [ "$(grep -c -- "$pattern" "$DEBUG_LOG")" -ge "$count" ] && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for '$pattern' ($count)"
        sleep 0.05
    done
    screenshot timeout
    fail "no '$pattern' ($count) in the debug log after ${limit}s; the display then: $SHOTS_DIR/${shots}_timeout.png"
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
press_key a
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

# 3. The name dialog asks for a name; "Ada" goes in at rank 1.
screenshot name_dialog
xdotool type --delay 120 Ada
press_key_here Return
sleep 1
screenshot rank_1
table=$("$RACE_FILES" table "$TABLE") || fail "the table file does not read: $table"
echo "$table"
IFS=$'\t' read -r rank name ms text checkpoints _ < <(sed -n 2p <<<"$table")
[ "$rank" = 1 ] && [ "$name" = Ada ] || fail "rank 1 is not Ada's: $table"
[ "$text" = "$finish_text" ] || fail "the table's time $text is not the finish's $finish_text"
[ "$checkpoints" = 2 ] || fail "the run holds $checkpoints checkpoints, not 2"
ghost=$("$RACE_FILES" ghost "$GHOST") || fail "the ghost file does not read: $ghost"
echo "ghost: $ghost"
# The recording runs from the start signal to the finish, a frame each 0.1 s: its span ends
# within a frame of the run's time (not three seconds of standing after it).
read -r _ _ _ _ _ _ _ span <<<"$ghost"
awk "BEGIN { d = $ms / 1000 - $span; exit !(d >= 0 && d <= 0.11) }" ||
    fail "the ghost spans ${span}s, the run took ${ms}ms"

# 4. Race again: the first run drives as the ghost. The car stands a moment (no driver) so
# the ghost pulls ahead into view, then the PID driver follows it to the checkpoint.
click_at 0.332 0.853  # Race again
wait_for_ogre_log "Race restarted" 1
for _ in 1 2 3 4; do press_key a; done  # PID -> adaptive -> learning -> neural -> none
wait_for_debug "^Race started" 2
screenshot start_again
start_shot=$SHOT
# The road ahead of the standing car, above its roof, changes only when the ghost drives into it.
for try in $(seq 30); do
    screenshot ghost_ahead
    ghost_pixels=$("$PNG_STATS" "$start_shot" diff "$SHOT" 300 280 200 55)
    [ "$ghost_pixels" -gt 800 ] && break
    [ "$try" = 30 ] && fail "no ghost drives ahead of the standing car ($ghost_pixels pixels changed)"
    rm "$SHOTS_DIR/${shots}_ghost_ahead.png"
done
press_key a
wait_for_debug "^Checkpoint 1 at .* to the best" 1 120
for try in $(seq 6); do
    screenshot difference
    difference=$(count_pixels 250 75 300 45 230 200 40 255 245 120)
    [ "$difference" -gt 100 ] && break
    [ "$try" = 6 ] && fail "no checkpoint difference on the display ($difference pixels)"
    rm "$SHOTS_DIR/${shots}_difference.png"
done

# 5. Escape -> the in-game menu -> Restart -> Escape -> Main menu -> Escape quits.
press_key Escape
wait_for_ogre_log "In-game menu requested" 1
sleep 1
screenshot ingame_menu
click_at 0.5 0.48  # Restart
wait_for_ogre_log "Race restarted" 2
press_key Escape
wait_for_ogre_log "In-game menu requested" 2
sleep 1
click_at 0.5 0.58  # Main menu
wait_for_ogre_log "load layout MainMenu.layout" 2
sleep 1
screenshot main_menu
press_key Escape
wait_for_exit 30
[ "$EXIT_STATUS" = 0 ] || fail "the game ended with status $EXIT_STATUS"
! grep -qiE "error|exception" "$DEBUG_LOG" || fail "errors in the debug log"
grep "^Race started\|^Checkpoint\|^Finish" "$DEBUG_LOG"
echo "screenshots in $SHOTS_DIR"
echo "PASS"

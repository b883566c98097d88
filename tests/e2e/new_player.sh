# A new player's first hour in one game process, with the mouse and the keys only: main menu
# -> Options: the costly effects off, Save -> Play: each built-in track raced briefly (Up held,
# a steer) and left through the in-game menu -> Editor: a new track laid with the mouse (start,
# road, checkpoint, finish) and saved under a new name -> Play it: the PID driver (the A key)
# drives it to the finish, the name goes in at rank 1 -> Race again: the ghost of that run
# drives ahead, the player holds Up all the way and beats its time -> Race again: the A key
# steps through every computer driver and back to the player -> Main menu -> Quit, status 0.
# Every step is shot; the shots are kept in $KEEP_SHOTS_DIR (the build's e2e-shots/new_player
# by default), and with them the logs when a step fails.
source "$(dirname "$0")/game_harness.sh" "$1"
source "$(dirname "$0")/editor_harness.sh"

RACE_FILES="$BUILD_DIR/tools/quillmor_race_files"
SHOTS_DIR=${KEEP_SHOTS_DIR:-$BUILD_DIR/e2e-shots/new_player}
KEEP_LOGS_DIR="$SHOTS_DIR"
SETTINGS="$USER_DIR/quillmor.cfg"
TRACK_NAME="My First Track"
MAPS="$USER_DIR/maps"
# ctest kills the run at its timeout, logs and all: the waits give up before that.
DEADLINE=$((SECONDS + 370))

start_xvfb
rm -f "$BIN_DIR"/screenshot_*.png
rm -rf "$SHOTS_DIR"
mkdir -p "$SHOTS_DIR"

# F8, then waits for the file; the shot is kept as $SHOTS_DIR/<nn>_$1.png.
screenshot() {
    take_screenshot
    cp "$SHOT" "$SHOTS_DIR/$(printf %02d "$shots")_$1.png"
}

# A shot can show a frame from before the last input: shoots again (up to $2 times) until
# the shell test $3 holds for the new shot; fails with $4.
shoot_until() {
    local name=$1 tries=$2 condition=$3 message=$4
    for _ in $(seq "$tries"); do
        screenshot "$name"
        eval "$condition" && return 0
        rm "$SHOTS_DIR/$(printf %02d "$shots")_$name.png"
        sleep 0.2
    done
    fail "$message"
}

# Pixels of the last shot in the region $1..$4 (x y w h) whose colour lies in the box $5..$10.
count_pixels() { "$PNG_STATS" "$SHOT" count "$@"; }

# Waits (up to $4 seconds, never past the run's deadline) until file $1 holds $3 lines
# matching $2; on a timeout the display at that moment is kept as a shot too.
wait_lines() {
    local file=$1 pattern=$2 count=$3 limit=${4:-60}
    local until=$((SECONDS + limit))
    [ "$until" -le "$DEADLINE" ] || until=$DEADLINE
    while [ "$SECONDS" -lt "$until" ]; do
        [ "$(grep -c -- "$pattern" "$file" 2>/dev/null)" -ge "$count" ] && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for '$pattern' ($count)"
        sleep 0.05
    done
    screenshot timeout
    fail "no '$pattern' ($count) in $(basename "$file") after ${limit}s (or the run's time is up); the display then: $SHOTS_DIR/$(printf %02d "$shots")_timeout.png"
}

# Clicks at ($1, $2) until the log $3 gains a line matching $4: the first click after a screen
# appears can come before the game reads the pointer.
click_until() {
    local x=$1 y=$2 file=$3 pattern=$4
    click_until_lines "$x" "$y" "$file" $(($(count_in "$file" "$pattern") + 1)) "$pattern" 3 && return 0
    screenshot timeout
    fail "clicks at $x $y: no new '$pattern' in $(basename "$file")"
}

# Sky blue across the upper screen: a race frame, not a menu.
race_frame() { [ "$(count_pixels 0 100 1024 100 60 100 180 200 230 255)" -gt 50000 ]; }
# The speed's second digit (white, bottom right): the car is under way.
moving() { [ "$(count_pixels 887 683 30 22 235 235 235 255 255 255)" -gt 20 ]; }

# Hands the car to driver $1 (0: the player, 1: PID). "A" steps to the next driver and the
# game logs each step; a press the game never saw is pressed again.
select_driver() {
    local wanted=$1 last steps
    for _ in $(seq 15); do
        last=$(grep "^Driver [0-9]*:" "$DEBUG_LOG" | tail -n 1 || true)
        [[ "$last" == "Driver $wanted:"* ]] && return 0
        [ -z "$last" ] && [ "$wanted" = 0 ] && return 0
        steps=$(count_in "$DEBUG_LOG" "^Driver [0-9]*:")
        press_key a
        for _ in $(seq 100); do
            [ "$(count_in "$DEBUG_LOG" "^Driver [0-9]*:")" -gt "$steps" ] && break
            kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while the drivers were changed"
            sleep 0.1
        done
    done
    fail "driver $wanted never took the car; the last: $last"
}

# The main menu's buttons and the ways back to it.
MAIN_MENU_LAYOUT="load layout MainMenu.xml"
to_main_menu_from_race() {
    local menus
    menus=$(count_in "$OGRE_LOG" "In-game menu requested")
    press_key Escape
    wait_lines "$OGRE_LOG" "In-game menu requested" $((menus + 1)) 30
    shoot_until "$1_paused" 20 '! race_frame' "no in-game menu on the display"
    click_until $IN_GAME_MAIN_MENU "$OGRE_LOG" "$MAIN_MENU_LAYOUT"
}

# ---- 1. the main menu, as a new player first sees it (no settings file yet) ----
start_game
wait_for_log "first frame after"
move_pointer 0.9 0.9
shoot_until main_menu 20 '[ "$(count_pixels 0 350 200 100 0 50 0 90 255 70)" -gt 5000 ]' "no main menu on the display"

# ---- 2. Options: the costly effects off (software GL draws the races fast enough then) ----
click_until 0.5 0.564 "$DEBUG_LOG" "enter OptionsMenuState: done"
screenshot options_video
click_at 0.233 0.143  # the Graphics tab
sleep 0.3
screenshot options_graphics
click_at 0.35 0.281   # Shadows
click_at 0.335 0.41   # HDR
click_at 0.35 0.474   # Motion blur
click_at 0.37 0.539   # Advanced sky
click_at 0.72 0.217   # Vegetation
move_pointer 0.9 0.97
screenshot options_effects_off
click_until 0.764 0.887 "$DEBUG_LOG" "Settings saved to"  # Save
for effect in Shadow HDR MotionBlur AdvancedSky Vegetation; do
    grep -q "<$effect enable=\"false\"" "$SETTINGS" || fail "$effect is not off in the settings file"
done
grep -q "restarting" "$DEBUG_LOG" && fail "switching effects off restarted the engine"
wait_lines "$OGRE_LOG" "$MAIN_MENU_LAYOUT" 2 30
shoot_until back_in_main_menu 20 '[ "$(count_pixels 0 350 200 100 0 50 0 90 255 70)" -gt 5000 ]' "Save did not lead back to the main menu"

# ---- 3. each built-in track, raced briefly ----
# The level menu's rows (fractions of the window) of DesertRun, FigureEight, TestLoop, then
# the player's first track.
row_y() { awk "BEGIN{print 0.185 + 0.026 * $1}"; }
# Races the level menu's row $1, the track $2 (shots named $3, or after the track).
race_track() {
    local row=$1 name=$2 shot_name=${3:-$2}
    local races
    races=$(count_in "$DEBUG_LOG" "^Race started")
    click_until 0.5 0.383 "$OGRE_LOG" "enter LevelMenuState: done!"  # Play
    click_at 0.3 "$(row_y "$row")"
    # A stray click in the list's empty part keeps the chosen track (highlighted in blue).
    [ "$row" = 0 ] && click_at 0.3 0.6
    move_pointer 0.9 0.97
    shoot_until "level_menu_$shot_name" 10 "[ \"\$(count_pixels 150 $((133 + 20 * row)) 300 16 50 50 150 90 90 200)\" -gt 3000 ]" \
        "the level menu does not show $name chosen"
    local loads
    loads=$(count_in "$OGRE_LOG" "LoadState: the race runs")
    click_until 0.76 0.853 "$OGRE_LOG" "Creating World"  # Next
    wait_lines "$OGRE_LOG" "LoadState: the race runs" $((loads + 1)) 90
    grep "LoadState: the race runs" "$OGRE_LOG" | tail -n 1 | grep -q "/$name.map" ||
        fail "the level menu's row $row did not load $name: $(grep "LoadState: the race runs" "$OGRE_LOG" | tail -n 1)"
    wait_lines "$DEBUG_LOG" "^Race started" $((races + 1)) 90
}
drive_briefly() {
    local name=$1
    local window
    window=$(game_window)
    xdotool mousemove --window "$window" 20 20
    xdotool keydown Up
    shoot_until "${name}_under_way" 20 'race_frame && moving' "the car does not move on $name under the held Up"
    xdotool keydown Left
    sleep 0.6
    xdotool keyup Left
    xdotool keydown Right
    sleep 0.6
    xdotool keyup Right
    xdotool keyup Up
    screenshot "${name}_steered"
}
for track in 0:DesertRun 1:FigureEight 2:TestLoop; do
    race_track "${track%%:*}" "${track#*:}"
    drive_briefly "${track#*:}"
    to_main_menu_from_race "${track#*:}"
done

# ---- 4. the editor: a new track laid with the mouse and saved under a new name ----
click_until 0.5 0.474 "$OGRE_LOG" "enter EditorMenuState: done!"  # Editor
move_pointer 0.3 0.95
screenshot editor_empty
lay_straight_track
move_pointer 0.3 0.95
screenshot editor_track_laid
laid=$("$PNG_STATS" "$SHOTS_DIR/$(printf %02d "$((shots - 1))")_editor_empty.png" diff "$SHOT" $TRACK_PANE)
[ "$laid" -gt 2000 ] || fail "the tiles laid with the mouse do not show on the grid ($laid pixels changed)"
click_at 0.5 0.83  # Save
sleep 0.5
click_at 0.5 0.4   # the name box
xdotool type --delay 60 "$TRACK_NAME"
move_pointer 0.9 0.97
screenshot editor_save_dialog
click_at 0.62 0.53  # the dialog's Save
wait_for_file "$MAPS/$TRACK_NAME.map"
[ "$(grep -c '<TrackObject' "$MAPS/$TRACK_NAME.map")" -eq 6 ] || fail "the track file does not hold the six tiles"
move_pointer 0.9 0.97
screenshot editor_saved
click_until 0.08 0.93 "$OGRE_LOG" "$MAIN_MENU_LAYOUT"  # Back

# ---- 5. the new track raced to the finish by the PID driver ----
race_track 3 "$TRACK_NAME" own_track
shoot_until own_track_start 20 'race_frame' "no race frame on the new track"
select_driver 1
wait_lines "$DEBUG_LOG" "^Finish at .*, rank 1" 1 90
screenshot own_track_finish
wait_lines "$OGRE_LOG" "race over: rank 1" 1 30
first_time=$(grep "^Finish at" "$DEBUG_LOG" | tail -n 1 | sed 's/^Finish at \([0-9:]*\),.*/\1/')
# The name dialog (its empty black name box) takes the player's name for rank 1 (in white).
shoot_until name_dialog 20 '[ "$(count_pixels 345 370 330 38 0 0 0 12 12 12)" -gt 5000 ]' "no name dialog"
xdotool type --delay 120 Ada
press_key_here Return
shoot_until first_table 20 '[ "$(count_pixels 290 125 100 25 200 200 200 255 255 255)" -gt 30 ]' "no name at rank 1"
TABLE="$MAPS/$TRACK_NAME.sde"
GHOST="$TABLE.shadow"
wait_for_file "$GHOST"
first_ms=$("$RACE_FILES" table "$TABLE" | sed -n 2p | cut -f 3)

# ---- 6. Race again: the ghost of that run drives ahead, the player beats its time ----
races=$(count_in "$DEBUG_LOG" "^Race started")
click_until 0.332 0.853 "$OGRE_LOG" "Race restarted"  # Race again
select_driver 0
wait_lines "$DEBUG_LOG" "^Race started" $((races + 1)) 60
shoot_until second_start 20 'race_frame && [ "$(count_pixels 380 190 260 150 230 190 0 255 240 110)" -lt 50 ]' \
    "no race frame after the countdown"
start_shot=$SHOT
# The road ahead of the standing car changes only when the ghost drives into it.
for try in $(seq 30); do
    screenshot ghost_ahead
    ghost_pixels=$("$PNG_STATS" "$start_shot" diff "$SHOT" 380 350 260 85)
    [ "$ghost_pixels" -gt 300 ] && race_frame && break
    [ "$try" = 30 ] && fail "no ghost drives ahead of the standing car ($ghost_pixels pixels changed)"
    rm "$SHOTS_DIR/$(printf %02d "$shots")_ghost_ahead.png"
done
window=$(game_window)
xdotool mousemove --window "$window" 20 20
xdotool keydown Up
wait_lines "$DEBUG_LOG" "^Finish at" 2 60
xdotool keyup Up
second=$(grep "^Finish at" "$DEBUG_LOG" | tail -n 1)
echo "first run: $first_time; second: $second"
[[ "$second" == *", rank 1, -"*" to the best" ]] || fail "the second run did not beat the first: $second"
# The finish shows that difference (yellow, above the car).
shoot_until second_finish 20 '[ "$(count_pixels 400 70 224 45 230 200 40 255 245 120)" -gt 150 ]' \
    "no difference to the best run on the display at the finish"
wait_lines "$OGRE_LOG" "race over: rank 1" 2 30
shoot_until second_name_dialog 20 '[ "$(count_pixels 345 370 330 38 0 0 0 12 12 12)" -gt 5000 ]' "no name dialog for the new record"
xdotool type --delay 120 Ada
press_key_here Return
# Both runs in the table, the new one first: the dialog gone, a name at ranks 1 and 2.
shoot_until second_table 20 '[ "$(count_pixels 345 370 330 38 0 0 0 12 12 12)" -lt 1000 ] &&
    [ "$(count_pixels 290 125 100 25 200 200 200 255 255 255)" -gt 30 ] &&
    [ "$(count_pixels 290 165 100 25 200 200 200 255 255 255)" -gt 30 ]' "no new name at rank 1 above the first run"
table=$("$RACE_FILES" table "$TABLE") || fail "the table file does not read: $table"
echo "$table"
[ "$(sed -n 3p <<<"$table" | cut -f 3)" = "$first_ms" ] || fail "the first run is not at rank 2: $table"
[ "$(sed -n 2p <<<"$table" | cut -f 3)" -lt "$first_ms" ] || fail "rank 1 is not faster than the first run: $table"

# ---- 7. Race again: the A key hands the car to each computer driver, then back ----
races=$(count_in "$DEBUG_LOG" "^Race started")
click_until 0.332 0.853 "$OGRE_LOG" "Race restarted"  # Race again
wait_lines "$DEBUG_LOG" "^Race started" $((races + 1)) 60
# The driver's panel (dark, over the sky at the top right) with its name (in tan).
panel_shown() {
    [ "$(count_pixels 740 15 270 55 20 40 70 90 100 130)" -gt 5000 ] &&
        [ "$(count_pixels 740 15 120 20 140 120 60 230 200 130)" -gt 20 ]
}
for driver in 1 2 3 4; do
    select_driver "$driver"
    shoot_until "driver_$driver" 20 'race_frame && panel_shown' "the panel of driver $driver does not show"
done
select_driver 0
grep "^Driver" "$DEBUG_LOG" | tail -n 5
shoot_until driver_player 20 'race_frame && ! panel_shown' "the driver's panel stays when the player has the car"

# ---- 8. Main menu -> Quit ----
to_main_menu_from_race own_track
shoot_until main_menu_again 20 '[ "$(count_pixels 0 350 200 100 0 50 0 90 255 70)" -gt 5000 ]' "no main menu on the display"
click_at 0.5 0.655  # Quit
wait_for_exit 30
[ "$EXIT_STATUS" = 0 ] || fail "the game ended with status $EXIT_STATUS"
! grep -qiE "error|exception" "$DEBUG_LOG" || fail "errors in the debug log: $(grep -iE "error|exception" "$DEBUG_LOG")"
echo "screenshots in $SHOTS_DIR"
echo "PASS"

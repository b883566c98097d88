# The options menu end to end: Accelerate rebound to W, shadows, HDR and vegetation switched
# off, Save -> the settings file holds them -> a race is built without them, the Up arrow no
# longer drives and W does. Then a new resolution -> Save -> the engine starts again at that
# size. A settings file that cannot be written -> Save says so and the menu stays.
source "$(dirname "$0")/game_harness.sh" "$1"

start_xvfb
mkdir -p "$USER_DIR"
# A window smaller than the display: software GL draws the race faster, and the display lists
# only its own size, so 1024 x 768 is the other resolution to choose.
printf '<GameConfig><Video><Resolution value="800 x 600"/></Video></GameConfig>\n' >"$USER_DIR/quillmor.cfg"
SETTINGS="$USER_DIR/quillmor.cfg"
OGRE_LOG="$USER_DIR/logs/Ogre.log"
rm -f "$BIN_DIR"/screenshot_*.png
# Takes a screenshot; its path lands in SHOT.
screenshot() {
    sleep 0.4
    take_screenshot
    sleep 0.2
}
keep_shot() {
    mkdir -p "$BUILD_DIR/e2e-shots" && cp "$SHOT" "$BUILD_DIR/e2e-shots/options_$1.png"
}
size_of() {
    "$PNG_STATS" "$1" | awk '{print $1 " x " $2}'
}
# Pixels of a region that differ between two screenshots.
changed() {
    "$PNG_STATS" "$1" diff "$2" "$3" "$4" "$5" "$6"
}

# Waits (up to $4 seconds) until file $1 holds at least $3 lines matching $2.
wait_for_count() {
    local file=$1 pattern=$2 count=$3 limit=${4:-30}
    for _ in $(seq $((limit * 10))); do
        [ "$(grep -c -- "$pattern" "$file" 2>/dev/null)" -ge "$count" ] && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for '$pattern'"
        sleep 0.1
    done
    fail "no $count lines '$pattern' in $(basename "$file") after ${limit}s"
}

# Clicks at ($4, $5) until file $1 holds $3 lines matching $2: on a busy machine the first
# click after a screen appears can come before the game reads the pointer.
click_until() {
    local file=$1 pattern=$2 count=$3 x=$4 y=$5
    click_until_lines "$x" "$y" "$file" "$count" "$pattern" 8 ||
        fail "clicks at $x $y: no $count lines '$pattern' in $(basename "$file")"
}
# Opens the options menu from the main menu, its $1-th entry in this run of the game.
open_options() { click_until "$DEBUG_LOG" "enter OptionsMenuState: done" "$1" 0.5 0.564; }
click_tab() {
    case $1 in
    Video) click_at 0.16 0.143 ;;
    Graphics) click_at 0.233 0.143 ;;
    Sound) click_at 0.31 0.143 ;;
    Controls) click_at 0.385 0.143 ;;
    esac
    sleep 0.3
}
click_save() { click_at 0.764 0.887; }

# ---- bindings and graphics ----
start_game
wait_for_log "first frame after"
open_options 1
screenshot
keep_shot Video
[ "$(size_of "$SHOT")" = "800 x 600" ] || fail "the window is $(size_of "$SHOT"), not the configured 800 x 600"

click_tab Controls
click_at 0.582 0.337  # Accelerate: waits for a key
sleep 0.3
press_key_here w
click_tab Graphics
click_at 0.35 0.281  # Shadows
click_at 0.335 0.41  # HDR
click_at 0.72 0.217  # Vegetation
screenshot
keep_shot GraphicsOff
click_until "$DEBUG_LOG" "Settings saved to" 1 0.764 0.887  # Save
grep -q "restarting" "$DEBUG_LOG" && fail "bindings and graphics switches restarted the engine"
grep -q '<Accelerate type="1" data="17" />' "$SETTINGS" || fail "Accelerate is not W in the settings file"
grep -q '<Shadow enable="false"' "$SETTINGS" || fail "shadows are not off in the settings file"
grep -q '<HDR enable="false"' "$SETTINGS" || fail "HDR is not off in the settings file"
grep -q '<Vegetation enable="false"' "$SETTINGS" || fail "vegetation is not off in the settings file"
grep -q '<Resolution value="800 x 600" />' "$SETTINGS" || fail "the resolution changed"

click_until "$OGRE_LOG" "enter LevelMenuState: done!" 1 0.5 0.383  # Play
click_until "$OGRE_LOG" "Creating World" 1 0.76 0.853                 # Next: the first track
wait_for_count "$OGRE_LOG" "LoadState: the race runs" 1 60
grep -q "Race graphics: shadows off, HDR off, vegetation off" "$OGRE_LOG" || fail "the race was not built without them"
! grep -q "Creating HDR Effect" "$OGRE_LOG" || fail "the race made the HDR effect"

wait_for_log "Race started" 60
screenshot
racing=$SHOT
keep_shot Racing
# The speed figure (bottom right) and the road with the car (below the countdown).
SPEED="640 512 70 24"
ROAD="0 280 800 200"
window=$(game_window)
xdotool mousemove --window "$window" 20 20
xdotool keydown Up
sleep 2
xdotool keyup Up
screenshot
speed=$(changed "$racing" "$SHOT" $SPEED)
road=$(changed "$racing" "$SHOT" $ROAD)
echo "Up held: $speed pixels of the speed changed, $road of the road"
# A few pixels flicker between frames; a moving car changes most of the view.
[ "$speed" -lt 20 ] && [ "$road" -lt 16000 ] || fail "the Up arrow still drives the car"
xdotool keydown w
moved=0
for _ in $(seq 20); do
    sleep 1
    screenshot
    speed=$(changed "$racing" "$SHOT" $SPEED)
    road=$(changed "$racing" "$SHOT" $ROAD)
    [ "$speed" -ge 20 ] && [ "$road" -gt 64000 ] && { moved=1; break; }
done
xdotool keyup w
keep_shot RaceW
echo "W held: $speed pixels of the speed changed, $road of the road"
[ "$moved" = 1 ] || fail "W does not drive the car"
kill "$GAME_PID"
wait_for_exit 20

# ---- the resolution: a restart at the new size ----
start_game
wait_for_log "first frame after"
open_options 1
click_at 0.709 0.285  # open the resolution list: 1024 x 768, then the window's 800 x 600
sleep 0.5
click_at 0.5 0.34
sleep 0.3
click_save
wait_for_log "restarting the engine"
wait_for_count "$DEBUG_LOG" "first frame after" 2
[ "$(grep -c "savePath:" "$DEBUG_LOG")" = 2 ] || fail "no second start in the debug log"
grep -q '<Resolution value="1024 x 768" />' "$SETTINGS" || fail "the new resolution is not in the settings file"
sleep 0.5
screenshot
keep_shot Restarted
[ "$(size_of "$SHOT")" = "1024 x 768" ] || fail "after the restart the window is $(size_of "$SHOT")"

# ---- a save that cannot be written ----
# A folder where the settings file goes: it can neither be read nor replaced.
rm -f "$SETTINGS"
mkdir "$SETTINGS"
open_options 2
screenshot
unsaved=$SHOT
click_save
wait_for_log "settings not saved"
screenshot
keep_shot SaveFailed
# the message line above the buttons
[ "$(changed "$unsaved" "$SHOT" 100 600 830 60)" -gt 200 ] || fail "the failed save is not shown"
press_key_here Escape
sleep 1
click_quit
wait_for_exit 20
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS"
echo "PASS"

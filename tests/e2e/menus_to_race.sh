# The menus lead to a race: main menu -> Play -> the level menu lists the built-in tracks (a
# damaged track of the player's is skipped and named) -> pick the second -> its picture shows ->
# Next -> the loading captions -> the race; Back returns from the level menu and Escape in the
# main menu quits with status 0.
source "$(dirname "$0")/game_harness.sh" "$1"

start_xvfb
mkdir -p "$USER_DIR/maps"
printf '<Map name="Broken" terrain="NoSuchTerrain" highscore="Broken.sde">\n' >"$USER_DIR/maps/Broken.map"
rm -f "$BIN_DIR"/screenshot_*.png
screenshot() {
    sleep 0.4
    take_screenshot
    sleep 0.3
}

start_game
wait_for_log "first frame after"
screenshot  # 1: main menu
click_play
wait_for_ogre_log "enter LevelMenuState: done!"
grep -q "populate MapList: skipped .*Broken.map" "$OGRE_LOG" || fail "the damaged track was not named in the log"
screenshot  # 2: level menu, first track
click_at 0.3 0.216  # second track in the list
screenshot  # 3: level menu, second track chosen
changed=$("$PNG_STATS" "$BIN_DIR/screenshot_2.png" diff "$BIN_DIR/screenshot_3.png" 560 150 300 300)
[ "$changed" -gt 1000 ] || fail "the picture did not change with the track ($changed pixels)"

click_at 0.24 0.853  # Back
wait_for_ogre_log "load layout MainMenu.xml" 2
click_play
wait_for_ogre_log "enter LevelMenuState: done!" 2
click_at 0.3 0.216
click_at 0.76 0.853  # Next
wait_for_ogre_log "Creating World..."
wait_for_ogre_log "Building Track..."
wait_for_ogre_log "LoadState: the race runs" 
wait_for_log "^Race started" 60
screenshot  # 4: the race, the car standing at the start

# The accelerator held moves the car: the display's speed (white, at the bottom right) grows
# a second digit. Shot again until it does, as the car answers a few frames late.
read -r width height _ < <("$PNG_STATS" "$BIN_DIR/screenshot_4.png")
second_digit() {
    "$PNG_STATS" "$BIN_DIR/screenshot_$shots.png" count $((width - 137)) $((height - 85)) 30 22 235 235 235 255 255 255
}
[ "$(second_digit)" -lt 5 ] || fail "the car is moving before the accelerator"
window=$(game_window)
xdotool mousemove --window "$window" 20 20
xdotool keydown Up
for try in $(seq 20); do
    screenshot  # 5: the car under way
    [ "$(second_digit)" -gt 20 ] && break
    [ "$try" = 20 ] && { xdotool keyup Up; fail "the speed shows no second digit under the held accelerator"; }
    rm "$BIN_DIR/screenshot_$shots.png"
done
xdotool keyup Up

# The clean way out: Escape -> the in-game menu -> Main menu -> Escape quits with status 0.
press_key Escape
wait_for_ogre_log "In-game menu requested"
click_at $IN_GAME_MAIN_MENU
wait_for_ogre_log "load layout MainMenu.xml" 3
press_key Escape
wait_for_exit 30
[ "$EXIT_STATUS" = 0 ] || fail "the game ended with status $EXIT_STATUS"
rm -rf "$BUILD_DIR/e2e-shots/menus_to_race"
mkdir -p "$BUILD_DIR/e2e-shots/menus_to_race"
cp "$BIN_DIR"/screenshot_*.png "$BUILD_DIR/e2e-shots/menus_to_race/"
echo "PASS"

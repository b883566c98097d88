# The track editor end to end: main menu -> Editor -> Save refuses the empty track (Escape
# closes the error) -> the Desert terrain -> pick tiles in the palette and lay start, road, a
# checkpoint and the finish on the grid with the mouse -> Save refuses a name with a path, then
# saves as "E2E Test" -> the track file and an empty high-score table exist, no ghost -> Back ->
# Play -> the level menu lists the track -> it loads and a race runs on it -> back in the
# editor, Load shows the same cells -> saving again asks before it replaces the track and its
# ghost. The preview turns between two screenshots; the scroll bars' arrows move the grid;
# the dialogs' Back buttons and Escape close them.
source "$(dirname "$0")/game_harness.sh" "$1"
source "$(dirname "$0")/editor_harness.sh"

start_xvfb
rm -f "$BIN_DIR"/screenshot_*.png
screenshot() {
    sleep 0.4
    take_screenshot
    sleep 0.3
    # KEEP_SHOTS names a folder to keep the screenshots in, for looking at them.
    if [ -n "${KEEP_SHOTS:-}" ]; then cp "$SHOT" "$KEEP_SHOTS/"; fi
}
OGRE_LOG="$USER_DIR/logs/Ogre.log"
wait_for_ogre_log() {
    local pattern=$1 count=${2:-1}
    for _ in $(seq 1200); do
        [ "$(grep -c -- "$pattern" "$OGRE_LOG" 2>/dev/null)" -ge "$count" ] && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for '$pattern'"
        sleep 0.05
    done
    fail "no '$pattern' in Ogre.log"
}

# The scroll bars' arrows are small: clicked at points inside them for the pointer read exactly
# or a few pixels up and left, as the game reads it under Xvfb.
click_pixel() { click_at "$(awk "BEGIN{print ($1 + 0.5) / 1024}")" "$(awk "BEGIN{print ($2 + 0.5) / 768}")"; }
arrow_left() { click_pixel 29 531; }
arrow_right() { click_pixel 632 531; }
arrow_up() { click_pixel 653 31; }
arrow_down() { click_pixel 653 513; }
# The preview's pixel rectangle (x y w h) at 1024 x 768.
PREVIEW="692 446 256 256"
MAPS="$USER_DIR/maps"

start_game
wait_for_log "first frame after"
click_at 0.5 0.474  # Editor
wait_for_ogre_log "enter EditorMenuState: done!"

click_at 0.5 0.83  # Save, with nothing on the track
wait_for_ogre_log "EditorMenuState: The track has to consist of at least a start"
press_key_here Escape  # closes the error dialog, stays in the editor
click_at 0.22 0.83  # Terrain: the list starts with Desert
sleep 0.5
press_key_here Return
sleep 0.5

lay_straight_track
move_pointer 0.3 0.95
screenshot  # 1: the track laid out, the finish turning in the preview
sleep 1.5
screenshot  # 2: the same track, the preview turned further
turned=$("$PNG_STATS" "$BIN_DIR/screenshot_1.png" diff "$BIN_DIR/screenshot_2.png" $PREVIEW)
[ "$turned" -gt 500 ] || fail "the preview does not turn ($turned pixels changed)"
laid=$("$PNG_STATS" "$BIN_DIR/screenshot_1.png" diff "$BIN_DIR/screenshot_2.png" $TRACK_PANE)
[ "$laid" -lt 50 ] || fail "the track pane changes by itself ($laid pixels)"

# The scroll bars' arrows move the grid a cell a click, quick clicks too: right twice, left
# once leaves it a cell off; left once more and the vertical arrows down and up bring it back.
grid_moved() { "$PNG_STATS" "$BIN_DIR/screenshot_1.png" diff "$BIN_DIR/screenshot_$shots.png" $TRACK_PANE; }
arrow_right; arrow_right; arrow_left
move_pointer 0.3 0.95
screenshot  # 3: the grid a cell to the left
[ "$(grid_moved)" -gt 1000 ] || fail "the scroll bar's arrows do not move the grid"
arrow_left; arrow_down; arrow_up
move_pointer 0.3 0.95
screenshot  # 4: back where it was
moved=$(grid_moved)
[ "$moved" -lt 50 ] || fail "the arrows do not bring the grid back ($moved pixels differ)"

click_at 0.5 0.83  # Save
sleep 0.5
xdotool type --delay 60 "../E2E"
press_key_here Return
wait_for_ogre_log "EditorMenuState: The track name may hold only"
press_key_here Escape  # the error closes, the save dialog stays
sleep 0.3
xdotool key --delay 40 BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type --delay 60 "E2E Test"
press_key_here Return
wait_for_file "$MAPS/E2E Test.map"
wait_for_file "$MAPS/E2E Test.sde"
[ ! -e "$MAPS/E2E Test.sde.shadow" ] || fail "a ghost exists for the new track"
grep -q 'name="E2E Test.map"' "$MAPS/E2E Test.map" || fail "the track file does not name the track"
[ "$(grep -c '<TrackObject' "$MAPS/E2E Test.map")" -eq 6 ] || fail "the track file does not hold the six tiles"
grep -q 'checkpoint="1"' "$MAPS/E2E Test.map" || fail "the checkpoint has no number"
grep -q 'terrain="Desert"' "$MAPS/E2E Test.map" || fail "the track does not keep the chosen terrain"
[ -z "$(find "$USER_DIR" -name 'E2E.*')" ] || fail "the refused name wrote a file"
move_pointer 0.3 0.95
screenshot  # 5: saved, the dialog closed

click_at 0.08 0.93  # Back
wait_for_ogre_log "load layout MainMenu.xml" 2
click_play
wait_for_ogre_log "enter LevelMenuState: done!"
grep -q "populate MapList: skipped .*E2E Test" "$OGRE_LOG" && fail "the level menu refused the new track"
# The built-in tracks come first, then the player's: the new one is the fourth.
click_at 0.3 0.265
screenshot  # 6: the level menu with the new track chosen
click_at 0.76 0.853  # Next
wait_for_ogre_log "LoadState: the race runs on .*E2E Test.map"
sleep 2
screenshot  # 7: the race on the new track
press_key Escape
sleep 1
click_at $IN_GAME_MAIN_MENU  # the in-game menu's main menu
wait_for_ogre_log "load layout MainMenu.xml" 3
click_at 0.5 0.474  # Editor
wait_for_ogre_log "enter EditorMenuState: done!" 2
click_at 0.36 0.83  # Load
sleep 0.5
screenshot  # 8: the load dialog listing the track
press_key_here Return
sleep 1
move_pointer 0.3 0.95
screenshot  # 9: the loaded track
same=$("$PNG_STATS" "$BIN_DIR/screenshot_1.png" diff "$BIN_DIR/screenshot_9.png" $TRACK_PANE)
[ "$same" -lt 50 ] || fail "the loaded track does not show the saved cells ($same pixels differ)"

# Saving over the track asks first; only the answer deletes its ghost.
echo "ghost" >"$MAPS/E2E Test.sde.shadow"
click_at 0.5 0.83  # Save: the name box holds the loaded track's name
sleep 0.5
press_key_here Return
sleep 1
[ -e "$MAPS/E2E Test.sde.shadow" ] || fail "the track was replaced without asking"
press_key_here Return  # Replace
for _ in $(seq 100); do [ -e "$MAPS/E2E Test.sde.shadow" ] || break; sleep 0.05; done
[ ! -e "$MAPS/E2E Test.sde.shadow" ] || fail "replacing the track kept its ghost"
[ "$(grep -c "Editor: saved track \"E2E Test\"" "$DEBUG_LOG")" -eq 2 ] || fail "the second save was not made"

# Each dialog's Back closes it, and so does Escape: the track pane shows through again.
move_pointer 0.3 0.95
screenshot
no_dialog=$SHOT
for opener in "0.5 0.83 Save" "0.36 0.83 Load" "0.22 0.83 Terrain" "0.36 0.83 Load:Escape"; do
    read -r x y name <<<"$opener"
    click_at "$x" "$y"
    sleep 0.5
    move_pointer 0.3 0.95
    screenshot
    covered=$("$PNG_STATS" "$no_dialog" diff "$SHOT" $TRACK_PANE)
    [ "$covered" -gt 1000 ] || fail "$name: no dialog over the track pane ($covered pixels changed)"
    if [ "${name#*:}" = Escape ]; then press_key_here Escape; else click_at 0.3775 0.537; fi  # the dialog's Back
    move_pointer 0.3 0.95
    screenshot
    left=$("$PNG_STATS" "$no_dialog" diff "$SHOT" $TRACK_PANE)
    [ "$left" -lt 50 ] || fail "$name: the dialog stays open ($left pixels differ)"
done

press_key Escape
wait_for_ogre_log "load layout MainMenu.xml" 4
kill "$GAME_PID"
wait_for_exit 20
echo "PASS"

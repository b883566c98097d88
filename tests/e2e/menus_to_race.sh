# The menus lead to a race: main menu -> Play -> the level menu lists the built-in tracks (a
# damaged track of the player's is skipped and named) -> pick the second -> its picture shows ->
# Next -> the loading captions -> the race; Back returns from the level menu and Escape in the
# main menu quits with status 0.
source "$(dirname "$0")/game_harness.sh" "$1"

start_xvfb
mkdir -p "$USER_DIR/maps"
printf '<Map name="Broken" terrain="NoSuchTerrain" highscore="Broken.sde">\n' >"$USER_DIR/maps/Broken.map"
rm -f "$BIN_DIR"/screenshot_*.png
shots=0
screenshot() {
    shots=$((shots + 1))
    sleep 0.4
    press_key_here F8
    wait_for_file "$BIN_DIR/screenshot_$shots.png"

    sleep 0.3
}

OGRE_LOG="$USER_DIR/logs/Ogre.log"
# Waits until the engine's log holds at least $2 lines matching $1.
wait_for_ogre_log() {
    local pattern=$1 count=${2:-1}
    for _ in $(seq 600); do
        [ "$(grep -c -- "$pattern" "$OGRE_LOG" 2>/dev/null)" -ge "$count" ] && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for '$pattern'"
        sleep 0.05
    done
    fail "no '$pattern' in Ogre.log"
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
wait_for_ogre_log "load layout MainMenu.layout" 2
click_play
wait_for_ogre_log "enter LevelMenuState: done!" 2
click_at 0.3 0.216
click_at 0.76 0.853  # Next
wait_for_ogre_log "Creating World..."
wait_for_ogre_log "Building Track..."
wait_for_ogre_log "LoadState: the race runs" 
sleep 1
screenshot  # 4: the race
press_key Escape
sleep 1

kill "$GAME_PID"
wait_for_exit 20
echo "PASS"

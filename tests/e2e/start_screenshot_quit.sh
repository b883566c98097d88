# The game starts with a fresh HOME, shows its main menu, writes screenshot_1.png on F8
# and quits with status 0 from the menu's Quit button.
source "$(dirname "$0")/game_harness.sh" "$1"

start_xvfb
rm -f "$BIN_DIR"/screenshot_*.png
launched=$(date +%s%N)
start_game
wait_for_log "first frame after"
shown=$(date +%s%N)
echo "launch to main menu: $(( (shown - launched) / 1000000 )) ms (game's own count: $(grep -o 'first frame after [0-9]* ms' "$DEBUG_LOG"))"

for folder in logs maps maps/stdHighscore tmp; do
    [ -d "$USER_DIR/$folder" ] || fail "missing $USER_DIR/$folder"
done
[ "$(stat -c %a "$USER_DIR")" = 700 ] || fail "the per-user folder is not private"
grep -q "^savePath: $USER_DIR/$" "$DEBUG_LOG" || fail "no savePath line in debug.txt"
grep -q "savePath: $USER_DIR/" "$USER_DIR/logs/Ogre.log" || fail "no savePath line in Ogre.log"

press_key F8
wait_for_file "$BIN_DIR/screenshot_1.png"
sleep 0.5
read -r width height colours brightness < <("$PNG_STATS" "$BIN_DIR/screenshot_1.png")
echo "screenshot: ${width}x${height}, $colours colours, mean brightness $brightness"
[ "$width" = 1024 ] && [ "$height" = 768 ] || fail "screenshot is ${width}x${height}"
[ "$colours" -gt 500 ] || fail "screenshot looks blank ($colours colours)"
# The backdrop's sky is dark blue at the top, its grass green near the bottom.
read -r r g b < <("$PNG_STATS" "$BIN_DIR/screenshot_1.png" 512 20)
[ "$b" -gt "$r" ] || fail "no sky at the top of the menu (rgb $r $g $b)"
read -r r g b < <("$PNG_STATS" "$BIN_DIR/screenshot_1.png" 60 740)
[ "$g" -gt "$r" ] && [ "$g" -gt "$b" ] || fail "no grass at the bottom of the menu (rgb $r $g $b)"
rm -f "$BIN_DIR/screenshot_1.png"

# The statistics overlay on and off again: its font and panel must not upset the shutdown.
press_key F12
sleep 0.3
press_key F12
click_at 0.5 0.43
wait_for_exit 20
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS after Quit"
! grep -qi "error" "$WORK/stderr" || fail "errors on stderr"
echo "PASS"

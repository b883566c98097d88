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

# The mouse cursor is drawn where the pointer is: the grass under it changes when it moves away.
move_pointer 0.2 0.85
sleep 0.3
press_key_here F8
wait_for_file "$BIN_DIR/screenshot_2.png"
move_pointer 0.8 0.85
sleep 0.3
press_key_here F8
wait_for_file "$BIN_DIR/screenshot_3.png"
sleep 0.5
changed=$("$PNG_STATS" "$BIN_DIR/screenshot_2.png" diff "$BIN_DIR/screenshot_3.png" 200 650 30 30)
[ "$changed" -gt 20 ] || fail "no mouse cursor drawn at the pointer ($changed pixels changed)"

# F12 shows the statistics panel with its yellow text in the bottom-left corner. A screenshot
# is of the last frame drawn: on a busy machine F8 can come before the first frame with the
# panel, so it is taken again until one shows it.
press_key_here F12
yellow=0
for shot in 4 5 6 7 8; do
    sleep 1.2
    press_key_here F8
    wait_for_file "$BIN_DIR/screenshot_$shot.png"
    sleep 0.5
    yellow=$("$PNG_STATS" "$BIN_DIR/screenshot_$shot.png" count 5 668 260 40 180 180 0 255 255 170)
    [ "$yellow" -gt 30 ] && break
done
[ "$yellow" -gt 30 ] || fail "no statistics text on screen after F12 ($yellow yellow pixels)"
before=$("$PNG_STATS" "$BIN_DIR/screenshot_3.png" count 5 668 260 40 180 180 0 255 255 170)
[ "$before" -lt 5 ] || fail "statistics text shown before F12 ($before yellow pixels)"
press_key_here F12
rm -f "$BIN_DIR"/screenshot_*.png

click_quit
wait_for_exit 20
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS after Quit"
! grep -qi "error" "$WORK/stderr" || fail "errors on stderr"
echo "PASS"

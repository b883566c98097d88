# Damaged input at the game's start and on F8: each case starts the game to its menu (or
# refuses at once with the file's name), never crashes or hangs, and says what it did.
source "$(dirname "$0")/game_harness.sh" "$1"

start_xvfb

# Starts the game with the given settings file content, waits for its menu, quits from it.
start_to_menu() {
    local what=$1
    start_game
    wait_for_log "first frame after"
    click_quit
    wait_for_exit 60
    [ "$EXIT_STATUS" = 0 ] || fail "$what: exit status $EXIT_STATUS"
}

fresh_user_folder() {
    rm -rf "$HOME/.Quillmor"
    mkdir -p "$USER_DIR"
}

with_resolution() {
    local value=$1 expected_log=$2
    fresh_user_folder
    printf '<GameConfig><Video><Resolution value="%s"/></Video></GameConfig>' "$value" >"$USER_DIR/quillmor.cfg"
    start_to_menu "resolution \"$value\""
    grep -qF -- "$expected_log" "$DEBUG_LOG" || fail "resolution \"$value\": no log line '$expected_log'"
    echo "ok: resolution \"$value\""
}
# The display's own mode is taken as the settings name it (no padding in ours).
fresh_user_folder
start_to_menu "default resolution"
! grep -q '"Video Mode" value .* is not offered' "$DEBUG_LOG" || fail "the default resolution was not taken"
echo "ok: default resolution"
with_resolution "800x600" 'Video/Resolution "800x600" is not valid'
with_resolution "4096 x 3072" '"Video Mode" value "4096 x 3072" is not offered by the display'

# The settings file as a folder or a FIFO: defaults, at once.
# (a folder, "/dev/zero" and the other readers' cases are unit tests)
fresh_user_folder
mkfifo "$USER_DIR/quillmor.cfg"
start_to_menu "settings file a FIFO"
grep -q "quillmor.cfg' not used (not a regular file)" "$DEBUG_LOG" || fail "settings file a FIFO: no log line"
echo "ok: settings file a FIFO"

# FIFOs in place of the engine's, the GUI's and the physics' logs: the game runs without them.
fresh_user_folder
mkdir -p "$USER_DIR/logs"
mkfifo "$USER_DIR/logs/Ogre.log" "$USER_DIR/logs/CEGUI.log" "$USER_DIR/logs/NxOgre.physics.log"
start_to_menu "logs that are FIFOs"
echo "ok: logs that are FIFOs"

# Temporaries that killed saves left beside the settings and a table are removed at the start;
# a player's file of a like name stays.
fresh_user_folder
mkdir -p "$USER_DIR/maps/stdHighscore"
: >"$USER_DIR/quillmor.cfg.tmp-Ab12Cd"
: >"$USER_DIR/maps/stdHighscore/TestLoop.sde.tmp-x9Y8z7"
echo mine >"$USER_DIR/quillmor.cfg.backup"
start_to_menu "stale temporaries"
[ ! -e "$USER_DIR/quillmor.cfg.tmp-Ab12Cd" ] && [ ! -e "$USER_DIR/maps/stdHighscore/TestLoop.sde.tmp-x9Y8z7" ] ||
    fail "stale temporaries were left"
[ "$(cat "$USER_DIR/quillmor.cfg.backup")" = mine ] || fail "a player's file was removed"
echo "ok: stale temporaries"

# A resource list outside the game's folder is not used; one that is missing, a folder, a FIFO
# or no resource list at all (the plug-in list) is not used either: the default list serves.
fresh_user_folder
printf '<GameConfig><Resources file="/etc/passwd"/></GameConfig>' >"$USER_DIR/quillmor.cfg"
start_to_menu "resource list outside the game"
grep -qF 'Resources file "/etc/passwd" is not valid' "$DEBUG_LOG" || fail "resource list outside: no log line"
echo "ok: resource list outside the game's folder"
for kind in missing folder fifo plugins; do
    fresh_user_folder
    name=bad_$kind.cfg
    case $kind in
    folder) mkdir "$BIN_DIR/$name" ;;
    fifo) mkfifo "$BIN_DIR/$name" ;;
    plugins) name=Plugins.cfg ;;
    esac
    printf '<GameConfig><Resources file="%s"/></GameConfig>' "$name" >"$USER_DIR/quillmor.cfg"
    start_to_menu "resource list $kind"
    grep -qF "the resource list \"$name\" is not used" "$DEBUG_LOG" || fail "resource list $kind: no log line naming it"
    grep -qF 'using "resources_high.cfg"' "$DEBUG_LOG" || fail "resource list $kind: the default list is not named"
    [ "$kind" = plugins ] || rm -rf "${BIN_DIR:?}/$name"
    echo "ok: resource list $kind"
done

# Screenshots: 0644 under umask 000, a symbolic link in the way is left alone, and a working
# folder that can't be written only costs the screenshot.
fresh_user_folder
ln -s "$WORK/link-target" "$BIN_DIR/screenshot_1.png"
old_umask=$(umask)
umask 000
start_game
umask "$old_umask"
wait_for_log "first frame after"
press_key F8
wait_for_file "$BIN_DIR/screenshot_2.png"
[ "$(stat -c %a "$BIN_DIR/screenshot_2.png")" = 644 ] || fail "screenshot mode $(stat -c %a "$BIN_DIR/screenshot_2.png")"
[ ! -e "$WORK/link-target" ] || fail "the screenshot was written through a symbolic link"
rm -f "$BIN_DIR"/screenshot_*.png
echo "ok: screenshot mode and symbolic link"
# The game's working folder is deleted under it: nothing can be written there any more.
mv "$BIN_DIR" "$WORK/run/gone"
rm -rf "$WORK/run/gone"
press_key F8
wait_for_log "screenshot not written"
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended on F8 in a folder it can't write"
click_quit
wait_for_exit 60
[ "$EXIT_STATUS" = 0 ] || fail "F8 in an unwritable folder: exit status $EXIT_STATUS"
mkdir -p "$BIN_DIR"
ln -s "$BUILD_DIR"/bin/* "$BIN_DIR/"
echo "ok: F8 in a folder that can't be written"

# A per-user folder that can't be written: the game runs and says so once on stderr.
rm -rf "$HOME/.Quillmor"
printf 'not a folder' >"$HOME/.Quillmor"
start_game
game_window >/dev/null
sleep 3
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended without a writable per-user folder"
click_quit
wait_for_exit 60
[ "$EXIT_STATUS" = 0 ] || fail "unwritable per-user folder: exit status $EXIT_STATUS"
[ "$(grep -c "cannot write to the folder \"$HOME/.Quillmor/0.7/\"" "$WORK/stderr")" = 1 ] ||
    fail "unwritable per-user folder: not said once on stderr"
rm -f "$HOME/.Quillmor"
echo "ok: per-user folder that can't be written"
echo "PASS"

# A missing or truncated GUI file (here the skin's scheme) stops the start with the GUI
# start-up message on standard error and exit status 1, not a crash; the log names the file.
# A missing track preview imageset, read at the GUI's start too, does the same. A menu layout
# missing or damaged ends the game when its screen opens, the message and the debug log naming
# the state, the file and which of the two it is.
source "$(dirname "$0")/game_harness.sh" "$1"

start_xvfb
mkdir -p "$WORK/bin" "$WORK/empty"
cp "$BIN_DIR/Plugins.cfg" "$WORK/bin/"
# The resource lists beside a game run from $WORK/bin: every location stays absolute or relative
# to bin/, but section $1 takes its GUI files from folder $2.
gui_files_of() {
    local section=$1 folder=$2 file
    for file in "$BIN_DIR"/resources_*.cfg; do
        sed -e "s|=\.\./media|=$BUILD_DIR/media|" "$file" |
            awk -v section="[$section]" -v folder="$folder" \
                '/^\[/{current=$0} current==section && /media\/gui$/{print "FileSystem=" folder; next} {print}' \
            >"$WORK/bin/$(basename "$file")"
    done
}
gui_files_of Schemes "$WORK/empty"
status=0
(cd "$WORK/bin" && "$BIN_DIR/quillmor" >"$WORK/stdout" 2>"$WORK/stderr") || status=$?
[ "$status" = 1 ] || fail "exit status $status"
grep -q "^Quillmor Error: CEGUI startup error!!" "$WORK/stderr" || fail "no GUI start-up message"
grep -q "Please report this error in the Quillmor forum." "$WORK/stderr" || fail "message incomplete"
echo "ok: missing scheme"

# The scheme cut short: the parser's "unclosed token" comes with the file's name.
head -c 200 "$BUILD_DIR/media/gui/TaharezLookSkin.scheme" >"$WORK/empty/TaharezLookSkin.scheme"
status=0
(cd "$WORK/bin" && "$BIN_DIR/quillmor" >"$WORK/stdout" 2>"$WORK/stderr") || status=$?
[ "$status" = 1 ] || fail "truncated scheme: exit status $status"
grep -q "GUI start-up failed: \"TaharezLookSkin.scheme\": " "$USER_DIR/logs/Ogre.log" ||
    fail "truncated scheme: the log doesn't name the file: $(grep 'GUI start-up failed' "$USER_DIR/logs/Ogre.log")"
echo "ok: truncated scheme"

# A track preview imageset is read with the others at the GUI's start: without one the start
# stops with the GUI start-up message, and the log names the file.
mkdir -p "$WORK/gui"
for file in "$BUILD_DIR"/media/gui/*; do
    [ "$(basename "$file")" = Map1.imageset ] || ln -s "$file" "$WORK/gui/"
done
ln -s "$BUILD_DIR/media" "$WORK/media"
gui_files_of Imagesets "$WORK/gui"
status=0
(cd "$WORK/bin" && "$BIN_DIR/quillmor" >"$WORK/stdout" 2>"$WORK/stderr") || status=$?
[ "$status" = 1 ] || fail "missing preview imageset: exit status $status"
grep -q "^Quillmor Error: CEGUI startup error!!" "$WORK/stderr" || fail "missing preview imageset: no GUI start-up message"
grep -q 'GUI start-up failed: .*Map1.imageset' "$USER_DIR/logs/Ogre.log" ||
    fail "missing preview imageset: the log doesn't name the file: $(grep 'GUI start-up failed' "$USER_DIR/logs/Ogre.log")"
echo "ok: missing preview imageset"

# The layouts from a folder of links to the build's, in which one file is missing or cut short.
mkdir -p "$WORK/layouts"
gui_files_of Layouts "$WORK/layouts"
start_with_layout() {
    local kind=$1 layout=$2
    rm -f "$WORK/layouts"/*
    for file in "$BUILD_DIR"/media/gui/*; do ln -s "$file" "$WORK/layouts/"; done
    rm "$WORK/layouts/$layout"
    [ "$kind" = damaged ] && head -c 200 "$BUILD_DIR/media/gui/$layout" >"$WORK/layouts/$layout"
    rm -f "$DEBUG_LOG"
    (cd "$WORK/bin" && exec "$BIN_DIR/quillmor" >"$WORK/stdout" 2>"$WORK/stderr") &
    GAME_PID=$!
}

check_ended() {
    local kind=$1 layout=$2 state=$3
    wait_for_exit 60
    [ "$EXIT_STATUS" = 1 ] || fail "$layout $kind: exit status $EXIT_STATUS"
    grep -q "^Quillmor Error: $state Error!!" "$WORK/stderr" || fail "$layout $kind: no message for $state"
    grep -qF "the layout '$layout' is $kind" "$WORK/stderr" || fail "$layout $kind: the message doesn't name the file"
    grep -qF "$state: the layout '$layout' is $kind" "$DEBUG_LOG" || fail "$layout $kind: no debug log line"
    echo "ok: $layout $kind"
}

to_main_menu() { wait_for_log "first frame after"; }
to_level_menu() {
    to_main_menu
    click_play
}
to_loading() {
    to_level_menu
    wait_for_ogre_log "enter LevelMenuState: done!"
    click_at 0.76 0.853  # Next: the first track
}
to_in_game_menu() {
    to_loading
    wait_for_log "^Race started" 90
    press_key Escape
}
to_options() {
    to_main_menu
    click_at 0.5 0.564
}
to_editor() {
    to_main_menu
    click_at 0.5 0.474
}

while read -r kind layout state way; do
    start_with_layout "$kind" "$layout"
    [ "$way" = "-" ] || "$way"
    check_ended "$kind" "$layout" "$state"
done <<'CASES'
missing MainMenu.xml MainMenuState -
damaged LevelMenu.xml LevelMenuState to_level_menu
missing LoadMenu.xml LoadState to_loading
damaged InGameMenu.xml InGameMenuState to_in_game_menu
missing OptionsMenu_linux.xml OptionsMenuState to_options
damaged EditorMenu.xml EditorMenuState to_editor
missing SaveDialog.xml EditorMenuState to_editor
CASES
echo "PASS"

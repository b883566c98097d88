# A menu layout missing or damaged ends the game when its screen opens, with exit status 1, and
# both the message on standard error and the debug log name the state, the file and which of
# the two it is. One layout of each screen the menus reach without a finished race.
source "$(dirname "$0")/game_harness.sh" "$1"

start_xvfb
mkdir -p "$WORK/bin" "$WORK/gui"
cp "$BIN_DIR/Plugins.cfg" "$WORK/bin/"
ln -s "$BUILD_DIR/media" "$WORK/media"
# Every location as it was, but the layouts come from a folder of links to the build's, in
# which one file is missing or cut short.
for file in "$BIN_DIR"/resources_*.cfg; do
    sed -e "s|=\.\./media|=$BUILD_DIR/media|" "$file" |
        awk -v gui="$WORK/gui" '/^\[/{section=$0} section=="[Layouts]" && /media\/gui$/{print "FileSystem=" gui; next} {print}' \
        >"$WORK/bin/$(basename "$file")"
done

start_with_layout() {
    local kind=$1 layout=$2
    rm -f "$WORK/gui"/*
    for file in "$BUILD_DIR"/media/gui/*; do ln -s "$file" "$WORK/gui/"; done
    rm "$WORK/gui/$layout"
    [ "$kind" = damaged ] && head -c 200 "$BUILD_DIR/media/gui/$layout" >"$WORK/gui/$layout"
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
missing MainMenu.layout MainMenuState -
damaged LevelMenu.layout LevelMenuState to_level_menu
missing LoadMenu.layout LoadState to_loading
damaged InGameMenu.layout InGameMenuState to_in_game_menu
missing OptionsMenu_linux.layout OptionsMenuState to_options
damaged EditorMenu.layout EditorMenuState to_editor
missing SaveDialog.layout EditorMenuState to_editor
CASES
echo "PASS"

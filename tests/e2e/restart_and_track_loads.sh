# The game's engine restarted twice in one process (the options menu's restart path) and a
# built-in track loaded and unloaded twice as a race does: every cycle ends cleanly, and in
# a sanitizer build start-up, restart, track load and shutdown are checked for leaks.
source "$(dirname "$0")/game_harness.sh" "$1"

start_xvfb
mkdir -p "$USER_DIR"
printf '<GameConfig/>\n' >"$USER_DIR/quillmor.cfg"
(cd "$BIN_DIR" && ./quillmor_soak 2 2 >"$WORK/stdout" 2>"$WORK/stderr") || fail "the restart and load cycles failed"
cat "$WORK/stdout"
[ "$(grep -c " engine " "$WORK/stdout")" = 3 ] || fail "not the start and two restarts"
[ "$(grep -c " track " "$WORK/stdout")" = 2 ] || fail "not two track cycles"
! grep -qiE "error|exception" "$DEBUG_LOG" || fail "errors in the debug log"
echo "PASS"

# Start-up failures end with a clear message and exit status 1: no HOME, no X display (the
# renderer plug-in fails while it loads), no usable render system. An earlier run's screenshot is never overwritten.
source "$(dirname "$0")/game_harness.sh" "$1"

status=0
(cd "$BIN_DIR" && env -u HOME ./quillmor >"$WORK/stdout" 2>"$WORK/stderr") || status=$?
[ "$status" = 1 ] || fail "without HOME: exit status $status"
grep -q "^Quillmor Error: HOME is not set" "$WORK/stderr" || fail "without HOME: no clear message"
echo "ok: no HOME"

status=0
(cd "$BIN_DIR" && env -u DISPLAY ./quillmor >"$WORK/stdout" 2>"$WORK/stderr") || status=$?
[ "$status" = 1 ] || fail "without an X display: exit status $status"
grep -q '^Quillmor Error: The engine plug-in "RenderSystem_GL" did not start: .*X display' "$WORK/stderr" ||
    fail "without an X display: no clear message"
echo "ok: no X display"

start_xvfb
# A working folder whose plug-in list has no renderer.
mkdir -p "$WORK/bin"
cp "$BIN_DIR"/resources_*.cfg "$WORK/bin/"
grep -v '^Plugin=RenderSystem_GL' "$BIN_DIR/Plugins.cfg" >"$WORK/bin/Plugins.cfg"
status=0
(cd "$WORK/bin" && "$BIN_DIR/quillmor" >"$WORK/stdout" 2>"$WORK/stderr") || status=$?
[ "$status" = 1 ] || fail "without a renderer: exit status $status"
grep -q '^Quillmor Error: No render system "OpenGL Rendering Subsystem"' "$WORK/stderr" ||
    fail "without a renderer: no clear message"
echo "ok: no render system"

# screenshot_1.png from an earlier run stays; the next free number is taken.
printf 'earlier run' >"$BIN_DIR/screenshot_1.png"
start_game
wait_for_log "first frame after"
press_key F8
wait_for_file "$BIN_DIR/screenshot_2.png"
[ "$(cat "$BIN_DIR/screenshot_1.png")" = "earlier run" ] || fail "screenshot_1.png was overwritten"
rm -f "$BIN_DIR/screenshot_1.png" "$BIN_DIR/screenshot_2.png"
click_quit
wait_for_exit 20
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS after Quit"
echo "ok: screenshots keep earlier ones"
echo "PASS"

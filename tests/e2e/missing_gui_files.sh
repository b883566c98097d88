# A missing or truncated GUI file (here the skin's scheme) stops the start with the GUI
# start-up message on standard error and exit status 1, not a crash; the log names the file.
source "$(dirname "$0")/game_harness.sh" "$1"

start_xvfb
mkdir -p "$WORK/bin" "$WORK/empty"
cp "$BIN_DIR/Plugins.cfg" "$WORK/bin/"
for file in "$BIN_DIR"/resources_*.cfg; do
    # Every location stays absolute or relative to bin/, but the schemes point at an empty folder.
    sed -e "s|=\.\./media|=$BUILD_DIR/media|" "$file" |
        awk -v empty="$WORK/empty" '/^\[/{section=$0} section=="[Schemes]" && /^FileSystem=/{print "FileSystem=" empty; next} {print}' \
        >"$WORK/bin/$(basename "$file")"
done
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
echo "PASS"

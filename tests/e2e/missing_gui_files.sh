# A missing or truncated GUI file (here the skin's scheme) stops the start with the GUI
# start-up message on standard error and exit status 1, not a crash; the log names the file.
# A missing track preview imageset, read at the GUI's start too, does the same.
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

# A track preview imageset is read with the others at the GUI's start: without one the start
# stops with the GUI start-up message, and the log names the file.
mkdir -p "$WORK/gui"
for file in "$BUILD_DIR"/media/gui/*; do
    [ "$(basename "$file")" = Map1.imageset ] || ln -s "$file" "$WORK/gui/"
done
ln -s "$BUILD_DIR/media" "$WORK/media"
for file in "$BIN_DIR"/resources_*.cfg; do
    sed -e "s|=\.\./media|=$BUILD_DIR/media|" "$file" |
        awk -v gui="$WORK/gui" '/^\[/{section=$0} section=="[Imagesets]" && /media\/gui$/{print "FileSystem=" gui; next} {print}' \
        >"$WORK/bin/$(basename "$file")"
done
status=0
(cd "$WORK/bin" && "$BIN_DIR/quillmor" >"$WORK/stdout" 2>"$WORK/stderr") || status=$?
[ "$status" = 1 ] || fail "missing preview imageset: exit status $status"
grep -q "^Quillmor Error: CEGUI startup error!!" "$WORK/stderr" || fail "missing preview imageset: no GUI start-up message"
grep -q 'GUI start-up failed: .*Map1.imageset' "$USER_DIR/logs/Ogre.log" ||
    fail "missing preview imageset: the log doesn't name the file: $(grep 'GUI start-up failed' "$USER_DIR/logs/Ogre.log")"
echo "ok: missing preview imageset"
echo "PASS"

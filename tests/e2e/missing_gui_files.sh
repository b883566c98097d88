# A missing GUI file (here the skin's scheme) stops the start with the GUI start-up message
# on standard error and exit status 1, not a crash.
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
echo "PASS"

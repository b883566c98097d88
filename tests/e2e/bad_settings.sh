# Broken or foreign settings files: the game starts with defaults (saying so in its log),
# quits normally, and leaves the user's file as it was.
source "$(dirname "$0")/game_harness.sh" "$1"

start_xvfb
check_settings() {
    local what=$1 content=$2 expected_log=$3
    rm -rf "$HOME/.Quillmor"
    mkdir -p "$USER_DIR"
    printf '%s' "$content" >"$USER_DIR/quillmor.cfg"
    cp "$USER_DIR/quillmor.cfg" "$WORK/original.cfg"
    start_game
    wait_for_log "first frame after"
    grep -q -- "$expected_log" "$DEBUG_LOG" || fail "$what: no log line '$expected_log'"
    click_quit
    wait_for_exit 20
    [ "$EXIT_STATUS" = 0 ] || fail "$what: exit status $EXIT_STATUS"
    cmp -s "$USER_DIR/quillmor.cfg" "$WORK/original.cfg" || fail "$what: the settings file was changed"
    echo "ok: $what"
}

check_settings "empty file" "" "not used"
check_settings "truncated file" '<GameConfig><Video><Resolution value="800 x 600"/>' "not used"
check_settings "not XML" 'fullscreen = yes' "not used"
check_settings "unknown renderer" '<GameConfig><Video><Renderer name="Software"/></Video></GameConfig>' "Unknown render system"
check_settings "renderer this build lacks" \
    '<GameConfig><Video><Renderer name="Direct3D9 Rendering Subsystem"/></Video></GameConfig>' \
    'Render system "Direct3D9 Rendering Subsystem" is not available; using "OpenGL Rendering Subsystem"'
echo "PASS"

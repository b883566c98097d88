# Shared by the end-to-end scripts: runs the game from the build's bin folder under its own
# Xvfb server with a fresh HOME, and offers waits and input through xdotool.
# Source it with the build folder as $1.
set -euo pipefail

BUILD_DIR=$(cd "$1" && pwd)
PNG_STATS="$BUILD_DIR/tools/quillmor_png_stats"
WORK=$(mktemp -d /tmp/quillmor-e2e-XXXXXX)
# The game runs from a private copy of the bin folder (links to the build's files, with
# "../media/" beside it), so screenshots and anything else it writes into its working
# folder never meet another test's.
BIN_DIR="$WORK/run/bin"
mkdir -p "$BIN_DIR"
ln -s "$BUILD_DIR"/bin/* "$BIN_DIR/"
ln -s "$BUILD_DIR/media" "$WORK/run/media"
export HOME="$WORK/home"
mkdir -p "$HOME"
USER_DIR="$HOME/.Quillmor/0.7"
DEBUG_LOG="$USER_DIR/logs/debug.txt"
OGRE_LOG="$USER_DIR/logs/Ogre.log"
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
# In a sanitizer build the reports go to files of their own and do not change the game's exit
# status (the GL driver's leaks would fail every run): tools/sanitizer-check.sh judges them
# when the script ends, failing it on any sanitizer error or leak with a frame in our code.
SOURCE_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}log_path=$WORK/sanitizer"
export LSAN_OPTIONS="suppressions=$SOURCE_DIR/tools/lsan.supp:print_suppressions=0:exitcode=0"
GAME_PID=""
XVFB_PID=""

cleanup() {
    local status=$?
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    bash "$SOURCE_DIR/tools/sanitizer-check.sh" "$WORK"/sanitizer.* "$WORK/stderr" || status=1
    rm -rf "$WORK"
    exit "$status"
}
trap cleanup EXIT

# A script may set KEEP_LOGS_DIR: a failure copies the game's logs there, beside its shots.
fail() {
    echo "FAIL: $*" >&2
    if [ -n "${KEEP_LOGS_DIR:-}" ]; then
        mkdir -p "$KEEP_LOGS_DIR"
        cp "$DEBUG_LOG" "$OGRE_LOG" "$WORK/stderr" "$WORK/stdout" "$KEEP_LOGS_DIR/" 2>/dev/null || true
    fi
    # Whether a game that stopped answering was busy (its CPU time grows) or blocked.
    [ -n "$GAME_PID" ] && ps -o pid=,stat=,etime=,time=,wchan:32= -p "$GAME_PID" 2>/dev/null |
        sed 's/^/game process (pid, state, elapsed, cpu, waiting in): /' >&2
    [ -f "$DEBUG_LOG" ] && { echo "--- debug.txt"; cat "$DEBUG_LOG"; } >&2
    [ -f "$WORK/stderr" ] && { echo "--- stderr"; cat "$WORK/stderr"; } >&2
    for report in "$WORK"/sanitizer.*; do
        [ -f "$report" ] && { echo "--- $(basename "$report")"; cat "$report"; } >&2
    done
    exit 1
}

start_xvfb() {
    # The server picks a free display itself, so parallel screen tests never race for one.
    local fifo="$WORK/xvfb-display"
    mkfifo "$fifo"
    # -noreset: by default the server resets when its last client leaves, refusing connections
    # for a moment, and an engine restart closes the game's only connection before it reopens one.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    local display
    read -r -t 20 display <"$fifo" || fail "no Xvfb display could be started"
    export DISPLAY=":$display"
    for _ in $(seq 50); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "Xvfb on $DISPLAY does not answer"
}

# Starts the game in the background; its working directory is bin/, as the player's is.
start_game() {
    (cd "$BIN_DIR" && exec ./quillmor >"$WORK/stdout" 2>"$WORK/stderr") &
    GAME_PID=$!
}

# Waits (up to $2 seconds) for a line matching $1 in the debug log.
wait_for_log() {
    local pattern=$1 limit=${2:-30}
    for _ in $(seq $((limit * 20))); do
        grep -q -- "$pattern" "$DEBUG_LOG" 2>/dev/null && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for '$pattern'"
        sleep 0.05
    done
    fail "no '$pattern' in the debug log after ${limit}s"
}

# Polls (up to $3 seconds) until the file $1 holds at least $2 lines matching $4; 1 when it
# never does. A game that ends meanwhile fails the test.
poll_count() {
    local file=$1 count=$2 limit=$3 pattern=$4
    for _ in $(seq $((limit * 20))); do
        [ "$(count_in "$file" "$pattern")" -ge "$count" ] && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for '$pattern' ($count)"
        sleep 0.05
    done
    return 1
}

# Clicks at ($1, $2) until file $3 holds $4 lines matching $5, waiting $6 seconds after each
# of three clicks: the first click after a screen appears can come before the game reads the
# pointer. 1 when none is answered.
click_until_lines() {
    for _ in 1 2 3; do
        click_at "$1" "$2"
        poll_count "$3" "$4" "$6" "$5" && return 0
    done
    return 1
}

# Waits (up to $3 seconds) until the log file $1 holds at least $2 lines matching $4.
wait_for_count() {
    poll_count "$@" || fail "no '$4' ($2) in $(basename "$1") after ${3}s"
}

# Waits until the engine's log holds at least $2 lines matching $1, up to $3 seconds.
wait_for_ogre_log() {
    wait_for_count "$OGRE_LOG" "${2:-1}" "${3:-30}" "$1"
}

wait_for_file() {
    local file=$1 limit=${2:-20}
    for _ in $(seq $((limit * 20))); do
        [ -s "$file" ] && return 0
        [ -n "$GAME_PID" ] && ! kill -0 "$GAME_PID" 2>/dev/null && fail "the game ended before $file was written"
        sleep 0.05
    done
    fail "$file was not written"
}

# Waits for the game to end; its exit status lands in EXIT_STATUS.
wait_for_exit() {
    local limit=${1:-30}
    EXIT_STATUS=0
    for _ in $(seq $((limit * 20))); do
        if ! kill -0 "$GAME_PID" 2>/dev/null; then
            wait "$GAME_PID" || EXIT_STATUS=$?
            GAME_PID=""
            return 0
        fi
        sleep 0.05
    done
    fail "the game did not end within ${limit}s"
}

# The number of lines in file $1 matching $2 (0 for a file not yet written).
count_in() { grep -c -- "$2" "$1" 2>/dev/null || true; }

# Waits (up to $3 s) until file $1 holds more than $2 lines matching $4; 1 when it never does.
wait_for_more() {
    poll_count "$1" $(($2 + 1)) "$3" "$4"
}

# In a race the player has just started, steps the drivers ("A") until the PID driver, driver
# 1, has the car; a press the game never saw is pressed again. 1 when it never takes it.
hand_to_pid_driver() {
    local steps
    for _ in $(seq 10); do
        steps=$(count_in "$DEBUG_LOG" "^Driver [0-9]*:")
        press_key a
        wait_for_more "$DEBUG_LOG" "$steps" 10 "^Driver [0-9]*:" || continue
        [[ "$(grep "^Driver [0-9]*:" "$DEBUG_LOG" | tail -n 1)" == "Driver 1:"* ]] && return 0
    done
    return 1
}

# Hands the car to driver $1 (1 PID, 2 self-tuning PID, 3 neural learning, 4 neural driving)
# in a race whose selector still starts at the player, $2 being the number of "Driver" lines
# in the debug log when the race began: "A" until $1 presses have been logged since (a press
# the game never saw is pressed again). 1 when the driver does not have the car.
hand_to_driver() {
    local wanted=$1 before=$2 steps
    for _ in $(seq $((wanted * 3))); do
        steps=$(count_in "$DEBUG_LOG" "^Driver [0-9]*:")
        [ $((steps - before)) -ge "$wanted" ] && break
        press_key a
        wait_for_more "$DEBUG_LOG" "$steps" 10 "^Driver [0-9]*:" || true
    done
    [[ "$(grep "^Driver [0-9]*:" "$DEBUG_LOG" | tail -n 1)" == "Driver $wanted:"* ]]
}

# Key presses and clicks go to the game's window (pointer inside it first, as a player's is).
# Waits up to a minute for it, but not for a game that has ended: "xdotool search --sync"
# would wait for ever.
game_window() {
    local window
    for _ in $(seq 600); do
        window=$(xdotool search --name '^Quillmor$' 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && { echo "$window"; return 0; }
        [ -z "$GAME_PID" ] || kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended; it has no window"
        sleep 0.1
    done
    fail "no game window after a minute"
}

press_key() {
    local window
    window=$(game_window)
    xdotool mousemove --window "$window" 20 20
    xdotool key --delay 80 "$1"
}

# Moves the pointer to a point given in fractions of the window.
move_pointer() {
    local window
    window=$(game_window)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove --window "$window" "$(awk "BEGIN{print int($1*$WIDTH)}")" "$(awk "BEGIN{print int($2*$HEIGHT)}")"
}

# A key press with the pointer left where it is.
press_key_here() {
    xdotool key --delay 80 "$1"
}

# Presses F8 and waits up to $1 seconds (60 by default: a race under the sanitizers beside
# seven other games once took more than 20 s) for the game's next screenshot, counted in
# "shots" from the script's start; its path lands in SHOT.
shots=0
take_screenshot() {
    shots=$((shots + 1))
    press_key_here F8
    wait_for_file "$BIN_DIR/screenshot_$shots.png" "${1:-60}"
    SHOT="$BIN_DIR/screenshot_$shots.png"
}

# Clicks at a point given in fractions of the window.
click_at() {
    local window width height
    window=$(game_window)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove --window "$window" "$(awk "BEGIN{print int($1*$WIDTH)}")" "$(awk "BEGIN{print int($2*$HEIGHT)}")"
    sleep 0.2
    xdotool mousedown 1
    sleep 0.1
    xdotool mouseup 1
}

# The main menu's buttons, in fractions of the window.
click_play() { click_at 0.5 0.383; }
click_quit() { click_at 0.5 0.655; }
# The in-game menu's buttons, side by side (x y).
IN_GAME_RESTART="0.5 0.515"
IN_GAME_MAIN_MENU="0.695 0.515"
# The high-score table's way back to the main menu.
HIGH_SCORE_MAIN_MENU="0.668 0.853"

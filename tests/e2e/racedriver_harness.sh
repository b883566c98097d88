# Shared by the scripts that race through the race test driver (tools/racedriver): starts it
# on one track with given settings, and sends it commands through its control file.
# Source it after game_harness.sh.
CONTROL="$WORK/control"

# Starts the driver on track $1 (several, separated by blanks, are raced in turn, each after
# "next") with $2 inside <Graphics> at 1024 x 768 (or RACE_RESOLUTION) and waits for the first
# race; RACE_CORES, when set, is the taskset list it is pinned to.
start_race() {
    mkdir -p "$USER_DIR"
    printf '<GameConfig><Video><Resolution value="%s"/></Video><Graphics>%s</Graphics></GameConfig>\n' \
        "${RACE_RESOLUTION:-1024 x 768}" "$2" >"$USER_DIR/quillmor.cfg"
    : >"$WORK/stdout"
    local pin=() maps=() track
    [ -n "${RACE_CORES:-}" ] && pin=(taskset -c "$RACE_CORES")
    for track in $1; do maps+=("../media/maps/$track.map"); done
    (cd "$BIN_DIR" && exec "${pin[@]}" ./quillmor_racedriver "$CONTROL" "${maps[@]}" >"$WORK/stdout" 2>"$WORK/stderr") &
    GAME_PID=$!
    wait_for_output "race ready" 1 120
}

# Waits until the driver's output has $2 lines matching $1, up to $3 seconds.
wait_for_output() {
    local pattern=$1 count=$2 limit=${3:-60}
    for _ in $(seq $((limit * 20))); do
        [ "$(grep -c -- "$pattern" "$WORK/stdout" 2>/dev/null)" -ge "$count" ] && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the driver ended while waiting for '$pattern'"
        sleep 0.05
    done
    fail "no '$pattern' ($count) from the driver after ${limit}s"
}

# Sends command $1 and waits for the driver's answer matching $2 (one more than before).
send_command() {
    local before
    before=$(grep -c -- "$2" "$WORK/stdout" || true)
    echo "$1" >"$CONTROL"
    wait_for_output "$2" $((before + 1)) 60
}

# A screenshot of the race into $1.
take_shot() {
    send_command "shot $1" "^shot $1 "
    grep -q "^shot $1 written" "$WORK/stdout" || fail "$(grep "^shot $1 " "$WORK/stdout")"
}

# The newest speed, in km/h.
current_speed() {
    grep "^speed " "$WORK/stdout" | tail -n 1 | awk '{ print $2 }'
}

# Holds the accelerator until the car is faster than $1 km/h, up to $2 seconds of racing.
drive_to_speed() {
    local until
    until=$(awk -v now="$(current_race_time)" -v wait="$2" 'BEGIN { print now + wait }')
    xdotool mousemove --window "$(game_window)" 20 20
    xdotool keydown Up
    # By the race clock: a machine loaded by other tests draws fewer frames a second. The wall
    # clock only stops a race that no longer runs.
    for _ in $(seq $(($2 * 20))); do
        awk -v limit="$1" '{ exit !($1 > limit) }' <<<"$(current_speed)" && return 0
        awk -v now="$(current_race_time)" -v until="$until" 'BEGIN { exit !(now >= until) }' && break
        kill -0 "$GAME_PID" 2>/dev/null || fail "the driver ended on the way to $1 km/h"
        sleep 0.1
    done
    fail "the car is not faster than $1 km/h after $2 s of racing (last: $(current_speed) km/h at $(current_place), race clock $(current_race_time) s)"
}

# The race clock of the newest report, in seconds.
current_race_time() {
    grep "^speed " "$WORK/stdout" | tail -n 1 | awk '{ print $15 + 0 }'
}

# The car's newest place on the ground: x z.
current_place() {
    grep "^speed " "$WORK/stdout" | tail -n 1 | awk '{ print $4, $5 }'
}

# The newest heading, in degrees.
current_heading() {
    grep "^speed " "$WORK/stdout" | tail -n 1 | awk '{ print $7 }'
}

# Drives a left turn until the car has turned by $1 degrees (either way round), up to $2 seconds.
turn_left_by() {
    local start
    start=$(current_heading)
    xdotool mousemove --window "$(game_window)" 20 20
    xdotool keydown Up keydown Left
    for _ in $(seq $(($2 * 10))); do
        if awk -v a="$start" -v b="$(current_heading)" -v turn="$1" \
            'BEGIN { d = (b - a + 720) % 360; if (d > 180) d = 360 - d; exit !(d >= turn) }'; then
            xdotool keyup Left keyup Up
            return 0
        fi
        kill -0 "$GAME_PID" 2>/dev/null || fail "the driver ended while turning"
        sleep 0.1
    done
    xdotool keyup Left keyup Up
    fail "the car did not turn by $1 degrees in $2 s (heading $start -> $(current_heading))"
}

# Leaves the race; the driver then ends.
end_race() {
    xdotool keyup Up 2>/dev/null || true
    echo next >"$CONTROL"
    wait_for_exit 60
    [ "$EXIT_STATUS" = 0 ] || fail "the driver ended with status $EXIT_STATUS"
}

# Waits until the race clock of the current race (since its "race ready") reaches $1 seconds or the debug log holds $2
# lines matching $3; 1 when the clock got there first. The wall clock only stops a race that
# no longer runs (nothing reported for two minutes).
wait_for_log_by_race_clock() {
    local limit=$1 count=$2 pattern=$3 last="" still=0
    while [ "$(count_in "$DEBUG_LOG" "$pattern")" -lt "$count" ]; do
        awk -v limit="$limit" '/race ready/ { now = 0 } /^speed / { now = $15 } END { exit !(now >= limit) }' \
            "$WORK/stdout" && return 1
        kill -0 "$GAME_PID" 2>/dev/null || fail "the driver ended while waiting for '$pattern' ($count)"
        if [ "$(grep -c "^speed " "$WORK/stdout")" = "$last" ]; then
            still=$((still + 1))
            [ "$still" -lt 1200 ] || fail "no report from the race for two minutes"
        else
            last=$(grep -c "^speed " "$WORK/stdout")
            still=0
        fi
        sleep 0.1
    done
}

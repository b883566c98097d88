# A race on each built-in track through the race test driver: the accelerator held makes
# the car move, steering turns it, the reset key puts it back, Escape asks for the in-game
# menu; a screenshot of each shows the sky, the terrain, the road and the car. The first
# track is raced again at the end: its lightmap then comes from the cache, not baked. The
# default settings grow trees on the grass and the desert terrain.
source "$(dirname "$0")/game_harness.sh" "$1"

TRACKS=(TestLoop FigureEight DesertRun TestLoop)
OGRE_LOG="$USER_DIR/logs/Ogre.log"
CONTROL="$WORK/control"

start_xvfb
mkdir -p "$USER_DIR"
# Settings software GL draws fast enough at: 800 x 600, medium textures (no anisotropic
# filtering), no HDR, the plain sky box. The waits below count the race's own clock, so a
# slow frame rate makes the test longer, never wrong.
printf '<GameConfig><Video><Resolution value="800 x 600"/></Video><Graphics><Texture quality="1"/><Shadow quality="1"/><HDR enable="false"/><AdvancedSky enable="false"/></Graphics></GameConfig>\n' >"$USER_DIR/quillmor.cfg"
rm -f "$BIN_DIR"/screenshot_*.png
args=()
for track in "${TRACKS[@]}"; do args+=("../media/maps/$track.map"); done
(cd "$BIN_DIR" && exec ./quillmor_racedriver "$CONTROL" "${args[@]}" >"$WORK/stdout" 2>"$WORK/stderr") &
GAME_PID=$!

# Waits until the driver's output has $2 lines matching $1.
wait_for_output() {
    local pattern=$1 count=$2 limit=${3:-120}
    for _ in $(seq $((limit * 20))); do
        [ "$(grep -c -- "$pattern" "$WORK/stdout" 2>/dev/null)" -ge "$count" ] && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the driver ended while waiting for '$pattern'"
        sleep 0.05
    done
    fail "no '$pattern' ($count) from the driver after ${limit}s"
}

# The newest speed report of the current race (the RACE-th "race ready" on): "speed <km/h> at
# <x> <z> heading <degrees> throttle <0..1> gear <n> rpm <n> race <seconds> phase <n>". An
# earlier race's last report would let a slow load pass for a started race.
RACE=1
last_report() {
    awk -v race="$RACE" '/race ready/ { ++ready } ready >= race && /^speed / { last = $0 } END { print last }' \
        "$WORK/stdout"
}

race_seconds() {
    awk '{ print $15 }' <<<"$1"
}

# Waits for a speed report that the awk condition $2 accepts (fields: $2 speed, $4 $5
# position, $7 heading, $15 race seconds, $NF phase) within $3 seconds of race time (the
# physics' own, which software GL may run slower than the clock); fails with $1 otherwise.
# The report lands in REPORT.
wait_for_report() {
    local message=$1 condition=$2 race_limit=${3:-10}
    local since
    since=$(race_seconds "$(last_report)")
    # the clock's limit only catches a game that stopped reporting
    for _ in $(seq 1500); do
        REPORT=$(last_report)
        awk "{ exit !($condition) }" <<<"$REPORT" && return 0
        awk -v since="${since:-0}" -v limit="$race_limit" '{ exit !($15 - since > limit) }' <<<"$REPORT" &&
            fail "$message within ${race_limit}s of race time (last report: $REPORT)"
        kill -0 "$GAME_PID" 2>/dev/null || fail "the driver ended: $message (last report: $REPORT)"
        sleep 0.1
    done
    fail "$message: no report for 150s (last report: $REPORT)"
}

count_in_log() {
    grep -c -- "$1" "$OGRE_LOG" || true
}

# Waits for $2 lines matching $1 in the engine's log; fails with $3. A frame reads the keys:
# the limit is long enough for the slowest frame of software GL.
wait_for_log_count() {
    for _ in $(seq 600); do
        [ "$(count_in_log "$1")" -ge "$2" ] && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the driver ended: $3"
        sleep 0.1
    done
    fail "$3"
}

escapes=0
for i in "${!TRACKS[@]}"; do
    track=${TRACKS[$i]}
    n=$((i + 1))
    wait_for_output "race ready" "$n"
    RACE=$n
    # The accelerator goes down once the countdown has let the car go (phase 20: racing), as a
    # player's does; held through the countdown the car launches at the limiter and spins its wheels.
    wait_for_report "$track: the race does not start" '$NF == 20' 10
    read -r _ speed0 _ x0 z0 _ heading0 _ < <(last_report)
    window=$(game_window)
    xdotool mousemove --window "$window" 20 20
    xdotool keydown Up
    wait_for_report "$track: the car does not reach 20 km/h" '$2 > 20' 5
    read -r _ speed1 _ x1 z1 _ heading1 _ <<<"$REPORT"
    echo "$track: held accelerator: $speed0 -> $speed1 km/h, ($x0, $z0) -> ($x1, $z1)"
    take_screenshot
    xdotool keydown Left
    # more than 10 degrees either way (the heading wraps at 360)
    wait_for_report "$track: steering does not turn the car" \
        "(\$7 - $heading1 + 360) % 360 > 10 && (\$7 - $heading1 + 360) % 360 < 350" 3
    xdotool keyup Left
    xdotool keyup Up
    read -r _ speed2 _ x2 z2 _ heading2 _ <<<"$REPORT"
    echo "$track: steered left: heading $heading1 -> $heading2"
    # Held until the reset is logged: the driving input reads the key once a frame, and a
    # held reset key resets once.
    resets=$(count_in_log "Car reset to the last checkpoint")
    xdotool keydown t
    wait_for_log_count "Car reset to the last checkpoint" $((resets + 1)) "$track: no car reset logged"
    xdotool keyup t
    xdotool key Escape
    escapes=$((escapes + 1))
    wait_for_log_count "In-game menu requested" "$escapes" "$track: no in-game menu request logged"
    echo next >"$CONTROL"
done
wait_for_exit 60
[ "$EXIT_STATUS" = 0 ] || fail "the driver ended with status $EXIT_STATUS"
grep "loaded in\|first race frame\|peak" "$WORK/stdout"

# Three tracks baked their terrain lightmap once; the second TestLoop read it from the cache.
[ "$(count_in_log "Creating Lightmap...")" = 3 ] || fail "lightmaps baked $(count_in_log "Creating Lightmap...") times, not 3"
# Vegetation is on by default: the grass and the desert terrain plant trees, the valley none.
! grep -q "Vegetation failed" "$OGRE_LOG" || fail "$(grep "Vegetation failed" "$OGRE_LOG")"
planted=$(grep -c "^trees planted: [1-9]" "$WORK/stdout" || true)
[ "$planted" = 3 ] || fail "trees planted in $planted races, not 3"

for shot in $(seq "$shots"); do
    png="$BIN_DIR/screenshot_$shot.png"
    read -r width height colours brightness < <("$PNG_STATS" "$png")
    # sky at the top, ground (terrain or road) at the bottom, the car in the middle
    read -r sr sg sb < <("$PNG_STATS" "$png" 400 20)
    road=$("$PNG_STATS" "$png" count 200 480 400 110 30 30 30 200 200 200)
    echo "shot $shot (${TRACKS[$((shot - 1))]}): $colours colours, brightness $brightness, sky $sr $sg $sb, grey $road"
    [ "$colours" -gt 500 ] || fail "shot $shot looks blank"
    [ "$sb" -gt "$sr" ] || fail "shot $shot: no sky at the top"
    mkdir -p "$BUILD_DIR/e2e-shots" && cp "$png" "$BUILD_DIR/e2e-shots/race_$shot.png"
done
! grep -qiE "error|exception" "$DEBUG_LOG" || fail "errors in the debug log"
echo "PASS"

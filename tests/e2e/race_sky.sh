# The race's advanced sky and screen effects on DesertRun at 1024 x 768: screenshots at
# fixed times of day (the driver stands the sky's clock; the race itself keeps 10:00), then
# with the bloom on, at the start and at speed with the speed blur. Judged by pixel stats:
# a blue day sky, a warm dusk, a dark night with stars, sunlit ground by day, a brighter
# picture under the bloom, and the speed blur switched on above 110 km/h. The shots are kept in e2e-shots/race_sky.
source "$(dirname "$0")/game_harness.sh" "$1"
source "$(dirname "$0")/racedriver_harness.sh"

TRACK=DesertRun
SHOTS="$BUILD_DIR/e2e-shots/race_sky"
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
start_xvfb

# The mean colour of a region of shot $1: x y w h.
mean() { "$PNG_STATS" "$SHOTS/$1.png" mean "${@:2}"; }
# Pixels of the region x y w h of shot $1 in the colour box r0 g0 b0 r1 g1 b1.
count() { "$PNG_STATS" "$SHOTS/$1.png" count "${@:2}"; }
brightness() { awk '{ printf "%d", ($1 + $2 + $3) / 3 }' <<<"$1"; }

SKY_BAND="0 0 1024 120"  # above the horizon at every time of day
start_race "$TRACK" '<Texture quality="1"/><Shadow quality="1"/><HDR enable="false"/><MotionBlur enable="false"/>'
grep -q "Advanced sky failed" "$OGRE_LOG" && fail "the advanced sky failed: $(grep 'Advanced sky failed' "$OGRE_LOG")"
for moment in "morning 8" "noon 12" "dusk 17.6" "night 0"; do
    read -r name hour <<<"$moment"
    send_command "sky $hour" "^sky at"
    take_shot "$SHOTS/$name.png"
    echo "$name ($hour h): sky $(mean "$name" $SKY_BAND), ground $(mean "$name" 0 600 1024 168)"
done
# Every track starts northwards and the sun rises in the east: turned west, the car faces the
# evening sun standing low over the desert.
wait_for_output "^speed .* phase 20$" 1 60
turn_left_by 80 40
send_command "sky 17.3" "^sky at"
take_shot "$SHOTS/sunset.png"
end_race

# Day: a blue sky, brightest at noon. Dusk: warmer than noon. Night: dark, with stars.
read -r nr ng nb <<<"$(mean noon $SKY_BAND)"
read -r dr dg db <<<"$(mean dusk $SKY_BAND)"
read -r mr mg mb <<<"$(mean morning $SKY_BAND)"
[ "$nb" -gt "$nr" ] && [ "$nb" -gt 120 ] || fail "the noon sky is not blue ($nr $ng $nb)"
[ "$mb" -gt "$mr" ] || fail "the morning sky is not blue ($mr $mg $mb)"
awk -v d="$dr $db" -v n="$nr $nb" 'BEGIN { split(d, a); split(n, b); exit !(a[1] / (a[2] + 1) > b[1] / (b[2] + 1) + 0.2) }' ||
    fail "dusk ($dr $dg $db) is no warmer than noon ($nr $ng $nb)"
night=$(brightness "$(mean night $SKY_BAND)")
[ "$night" -lt 40 ] && [ "$night" -lt "$(brightness "$nr $ng $nb")" ] || fail "the night sky is not dark ($night)"
stars=$(count night $SKY_BAND 110 110 110 255 255 255)
[ "$stars" -gt 20 ] || fail "no stars at night ($stars bright pixels)"
echo "bright pixels in the sky band: $stars at night"
# Stars are points, not smudges: a few pixels each (smeared ones spread over thirty).
read -r spots spot_size <<<"$("$PNG_STATS" "$SHOTS/night.png" spots $SKY_BAND 40)"
[ "$spot_size" -le 9 ] || fail "the stars are smudges ($spots spots of $spot_size pixels, the median)"
echo "stars: $spots spots of $spot_size pixels (the median)"
# The sun's disc: a small patch of near-white above the horizon.
sun=$(count sunset 0 0 1024 384 245 235 200 255 255 255)
[ "$sun" -gt 10 ] && [ "$sun" -lt 5000 ] || fail "no sun disc in the evening sky ($sun near-white pixels)"
echo "sun disc: $sun near-white pixels"
# Sunlight, not skylight: the desert by day is sand-coloured (red over blue), not blue-green.
read -r gr gg gb <<<"$(mean noon 0 360 300 60)"
[ "$gr" -gt "$gb" ] && [ "$gr" -ge "$gg" ] || fail "the sand at noon is not sand-coloured ($gr $gg $gb)"

# The bloom and the speed blur at noon: the bloom alone at the start, with the blur at speed.
start_race "$TRACK" '<Texture quality="1"/><Shadow quality="1"/><HDR enable="true"/><MotionBlur enable="true"/>'
grep -q "Creating HDR Effect..." "$OGRE_LOG" || fail "no HDR effect created"
send_command "sky 12" "^sky at"
take_shot "$SHOTS/bloom.png"
drive_to_speed 125 90
wait_for_output "^motion blur on" 1 30
take_shot "$SHOTS/bloom_blur.png"
end_race
grep -q "FAILED" "$OGRE_LOG" && fail "an effect failed: $(grep -B1 FAILED "$OGRE_LOG")"
echo "frame rate with the sky, bloom and blur: $(grep '^fps' "$WORK/stdout" | awk '{ printf "%s ", $2 }')"
grep -A8 "Creating MotionBlur Effect..." "$OGRE_LOG" | grep -q "DONE" || fail "the speed blur was not built"
grep -A8 "Creating HDR Effect..." "$OGRE_LOG" | grep -q "DONE" || fail "the bloom was not built"
# The bloom's tone mapping brightens the day sky over the plain picture's.
[ "$(brightness "$(mean bloom $SKY_BAND)")" -gt "$(brightness "$nr $ng $nb")" ] ||
    fail "the bloom leaves the sky as it was ($(mean bloom $SKY_BAND) against $nr $ng $nb)"
# Brighter, but not washed out towards white: the blue stands out from the red about as much
# as in the plain picture.
for shot in bloom bloom_blur; do
    read -r er eg eb <<<"$(mean $shot $SKY_BAND)"
    [ "$eb" -gt "$er" ] || fail "$shot: no blue sky under the effects ($er $eg $eb)"
    awk -v e="$er $eb" -v n="$nr $nb" 'BEGIN { split(e, a); split(n, b); exit !((a[2] - a[1]) / a[2] >= 0.85 * (b[2] - b[1]) / b[2]) }' ||
        fail "$shot: the sky is washed out ($er $eg $eb against $nr $ng $nb without the effects)"
done
# Opaque shots, as the window shows them: left-over alpha makes a viewer show the night grey.
for shot in night bloom; do
    [ "$(od -An -tu1 -j25 -N1 "$SHOTS/$shot.png" | tr -d ' ')" = 2 ] || fail "$shot.png is not an opaque RGB picture"
done
echo "PASS"

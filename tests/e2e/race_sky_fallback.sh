# What a race does with broken sky or effect media, on a copy of the media folder: without
# "SkyGradient.png", or with a sky program that does not compile, the race falls back to the
# sky box and the sun light of its own, and the engine's log says why; a broken HDR or speed
# blur compositor is logged as FAILED and switched off, and the race goes on without it.
source "$(dirname "$0")/game_harness.sh" "$1"
source "$(dirname "$0")/racedriver_harness.sh"

TRACK=DesertRun
SHOTS="$BUILD_DIR/e2e-shots/race_sky_fallback"
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
start_xvfb

# The game's media folder becomes a copy: links to every folder but the sky's and the effects'.
use_media_copy() {
    rm -rf "$WORK/run/media"
    mkdir -p "$WORK/run/media"
    for folder in "$BUILD_DIR"/media/*; do ln -s "$folder" "$WORK/run/media/"; done
    rm "$WORK/run/media/sky" "$WORK/run/media/compositors"
    cp -r "$BUILD_DIR/media/sky" "$BUILD_DIR/media/compositors" "$WORK/run/media/"
}

# The race runs on: its clock moves on after the load.
check_race_runs() {
    wait_for_output "^speed .* race [1-9]" 1 60
}

# A race on the sky box: the driver cannot move its clock, and the sky stays a day sky.
check_sky_box() {
    send_command "sky 0" "^sky"
    tail -n 40 "$WORK/stdout" | grep -q "^sky: the race has no advanced sky" || fail "$1: the race has an advanced sky"
    take_shot "$SHOTS/$1.png"
    read -r r g b < <("$PNG_STATS" "$SHOTS/$1.png" mean 0 0 1024 120)
    echo "$1: sky box $r $g $b"
    [ "$b" -gt "$r" ] && [ "$b" -gt 100 ] || fail "$1: no sky box at the top ($r $g $b)"
}

# Without trees, on the desert's long first straight: the car is past the blur's speed before
# the first bend.
EFFECTS='<Texture quality="1"/><Shadow quality="1"/><HDR enable="true"/><MotionBlur enable="true"/><Vegetation enable="false"/>'

use_media_copy
rm "$WORK/run/media/sky/SkyGradient.png"
echo "compositor \"HDR\" { technique { target_output { " >"$WORK/run/media/compositors/HDR.compositor"
echo "compositor \"Motion Blur\" { broken" >"$WORK/run/media/compositors/MotionBlur.compositor"
start_race "$TRACK" "$EFFECTS"
check_race_runs
grep -q "Advanced sky failed, using the sky box: .*SkyGradient.png" "$OGRE_LOG" ||
    fail "no log line naming the missing gradient: $(grep -i 'sky' "$OGRE_LOG" | tail -n 5)"
grep -A8 "Creating HDR Effect..." "$OGRE_LOG" | grep -q "FAILED" || fail "the broken HDR effect is not logged as FAILED"
grep -A8 "Creating MotionBlur Effect..." "$OGRE_LOG" | grep -q "FAILED" ||
    fail "the broken blur effect is not logged as FAILED"
check_sky_box missing_gradient
# Switched off for the race: fast enough for the blur, and none is built again.
drive_to_speed 115 90
grep -q "^motion blur on" "$WORK/stdout" && fail "the failed blur was switched on"
[ "$(grep -c "Creating HDR Effect..." "$OGRE_LOG")" = 1 ] || fail "the failed HDR effect was built again"
end_race
echo "ok: missing gradient, broken compositors"

use_media_copy
printf 'void main() { gl_Position = undefinedThing; }\n' >"$WORK/run/media/sky/SkyLightAbsorption.glsl"
start_race "$TRACK" '<Texture quality="1"/><Shadow quality="1"/><HDR enable="false"/><MotionBlur enable="false"/><Vegetation enable="false"/>'
check_race_runs
grep -q "Advanced sky failed, using the sky box: .*sky shader" "$OGRE_LOG" ||
    fail "no log line about the sky program: $(grep -i 'sky' "$OGRE_LOG" | tail -n 5)"
check_sky_box broken_program
end_race
echo "ok: broken sky program"

# Without the compositor scripts: the log names each effect and the file it lacks.
use_media_copy
rm "$WORK/run/media/compositors/HDR.compositor" "$WORK/run/media/compositors/MotionBlur.compositor"
start_race "$TRACK" "$EFFECTS"
check_race_runs
grep -qF 'The compositor "HDR" is not defined: its script "HDR.compositor" was not found' "$OGRE_LOG" ||
    fail "the missing HDR script is not named: $(grep -A3 'Creating HDR Effect' "$OGRE_LOG")"
grep -qF 'The compositor "Motion Blur" is not defined: its script "MotionBlur.compositor" was not found' "$OGRE_LOG" ||
    fail "the missing blur script is not named: $(grep -A3 'Creating MotionBlur Effect' "$OGRE_LOG")"
end_race
echo "ok: missing compositor scripts"

# The sun's mesh and a tree's cut short: refused by name, the race goes on with the sky box and
# without trees instead of drawing them in part.
use_media_copy
rm "$WORK/run/media/trees"
cp -r "$BUILD_DIR/media/trees" "$WORK/run/media/"
for mesh in sky/sphere.mesh trees/palmtree.mesh; do
    head -c 2000 "$BUILD_DIR/media/$mesh" >"$WORK/run/media/$mesh"
done
start_race "$TRACK" '<Texture quality="1"/><Shadow quality="1"/><HDR enable="false"/><MotionBlur enable="false"/><Vegetation enable="true"/>'
check_race_runs
grep -q 'Advanced sky failed, using the sky box: .*mesh "sphere.mesh": cut short' "$OGRE_LOG" ||
    fail "the cut sun mesh is not named: $(grep -i 'sky failed' "$OGRE_LOG")"
grep -q 'Vegetation failed, switched off: .*mesh "palmtree.mesh": cut short' "$OGRE_LOG" ||
    fail "the cut tree mesh is not named: $(grep -i 'vegetation' "$OGRE_LOG" | tail -n 3)"
check_sky_box cut_meshes
end_race
echo "ok: meshes cut short"
echo "PASS"

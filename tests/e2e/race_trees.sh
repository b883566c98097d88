# Trees in real races: a broad-leaf tree and a pine on TestLoop and a palm on DesertRun, each a
# tree the loader planted standing alone off the track. A ray at trunk height hits the tree's
# own collider at its bark (and, for the broad-leaf tree and the pine, misses just above the
# collider's top). Then the car, stood 25 units before the tree, is driven at it: once from
# rest with the accelerator held, where it stops against the trunk and stays there; then set
# going at 50, 100 and 150 km/h with the accelerator held, where it never gets past the trunk
# and comes up to it. The shots of the car at each tree are kept in e2e-shots/race_trees.
source "$(dirname "$0")/game_harness.sh" "$1"
source "$(dirname "$0")/racedriver_harness.sh"

SHOTS="$BUILD_DIR/e2e-shots/race_trees"
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
KEEP_LOGS_DIR="$SHOTS"
start_xvfb

RUN_UP=25  # units from where the car is stood to the trunk

# The newest "speed" line's field $1 (2 speed, 4 x, 5 z, 15 race time).
latest() {
    grep "^speed " "$WORK/stdout" | tail -n 1 | awk -v field="$1" '{ print $field }'
}

# Waits until the race clock is $1 seconds further on, up to $2 seconds of wall time.
wait_race_seconds() {
    local until
    until=$(awk -v now="$(latest 15)" -v wait="$1" 'BEGIN { print now + wait }')
    for _ in $(seq $(($2 * 10))); do
        awk -v now="$(latest 15)" -v until="$until" 'BEGIN { exit !(now >= until) }' && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the driver ended while the race ran"
        sleep 0.1
    done
    fail "the race clock did not run $1 s in $2 s"
}

# Holds the accelerator until the car is 6 units short of the trunk or $1 s of race time have
# passed; the key stays down.
accelerate_to_tree() {
    local until
    until=$(awk -v now="$(latest 15)" -v wait="$1" 'BEGIN { print now + wait }')
    xdotool mousemove --window "$(game_window)" 20 20
    xdotool keydown Up
    for _ in $(seq 1200); do
        awk -v at="$(latest 4)" -v x="$tree_x" 'BEGIN { exit !(at > x - 6) }' && return 0
        awk -v now="$(latest 15)" -v until="$until" 'BEGIN { exit !(now < until) }' || return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the driver ended on the way to the tree"
        sleep 0.05
    done
}

# Picks a lone tree of entity $1 (with a clear run-up along +x) into tree_x, tree_y, tree_z.
pick_tree() {
    send_command "tree 30 $1" "^tree"
    local line
    line=$(grep "^tree" "$WORK/stdout" | tail -n 1)
    read -r _ _ tree_x tree_y tree_z _ kind <<<"$line"
    [ "${kind:-}" = "$1" ] || fail "no lone $1 to drive at: $line"
    echo "the tree: $kind at $tree_x $tree_y $tree_z"
}

# Stands the car $RUN_UP units before the tree, facing it; its neighbourhood of trunk colliders
# is made in the physics steps after the move.
stand_before_tree() {
    start_x=$(awk -v x="$tree_x" -v r="$RUN_UP" 'BEGIN { print x - r }')
    send_command "put $start_x $tree_z 0" "^put at"
    wait_race_seconds 1 30
    local at
    at=$(latest 4)
    awk -v at="$at" -v start="$start_x" 'BEGIN { exit !(at > start - 1 && at < start + 1) }' ||
        fail "the car is at x $at, not at $start_x where it was put"
}

# Casts a ray along +x from 3 units before the trunk, $1 units above its foot: the first hit's
# fields land in ray_result, ray_actor, ray_distance, actor_x, actor_z.
ray_at_height() {
    local origin
    origin=$(awk -v x="$tree_x" -v y="$tree_y" -v z="$tree_z" -v up="$1" 'BEGIN { print x - 3, y + up, z }')
    send_command "ray $origin 1 0 0 6" "^ray"
    read -r _ ray_result ray_actor _ ray_distance _ _ actor_x _ actor_z <<<"$(grep "^ray" "$WORK/stdout" | tail -n 1)"
}

# The ray at trunk height hits this tree's collider (actors named $1...) between $2 and $3 units
# on; with $4, a ray that high up misses (the collider's top is below it).
check_collider() {
    ray_at_height 1
    [ "$ray_result" = hit ] || fail "the ray at trunk height missed the tree: $(grep "^ray" "$WORK/stdout" | tail -n 1)"
    echo "ray at trunk height: hit $ray_actor at $ray_distance, the actor at $actor_x $actor_z"
    [[ "$ray_actor" == "$1"* ]] || fail "the ray hit $ray_actor, not a tree"
    awk -v d="$ray_distance" -v low="$2" -v high="$3" 'BEGIN { exit !(d > low && d < high) }' ||
        fail "the ray met the trunk $ray_distance units on, not $2 to $3"
    awk -v ax="$actor_x" -v az="$actor_z" -v x="$tree_x" -v z="$tree_z" \
        'BEGIN { exit !((ax - x) ^ 2 + (az - z) ^ 2 < 0.01) }' || fail "the collider hit stands at $actor_x $actor_z, not at the tree"
    [ -z "${4:-}" ] && return 0
    ray_at_height "$4"
    [ "$ray_result" = missed ] || fail "the ray $4 units up hit something: $(grep "^ray" "$WORK/stdout" | tail -n 1)"
}

# From rest, the accelerator held: the car drives up to the trunk and, pushed against it, then
# held by the handbrake, stays there, rocking at most. (The speed the driver reports is the
# driven wheels', which spin on against the trunk: not the car's.)
drive_from_rest() {
    stand_before_tree
    accelerate_to_tree 30
    wait_race_seconds 2 60
    xdotool keyup Up keydown space
    wait_race_seconds 1 60
    local held_from
    held_from=$(grep -c "^speed " "$WORK/stdout")
    wait_race_seconds 1 60
    take_shot "$SHOTS/$1_from_rest.png"
    xdotool keyup space
    local furthest stopped_at
    furthest=$(grep "^speed " "$WORK/stdout" | awk -v start="$start_x" '$4 - start > max { max = $4 - start } END { print max + 0 }')
    stopped_at=$(latest 4)
    echo "from rest: drove at most $furthest units on, stands at x $stopped_at (the trunk at $tree_x)"
    awk -v d="$furthest" -v r="$RUN_UP" 'BEGIN { exit !(d > r - 5) }' || fail "the car drove only $furthest units towards the tree"
    awk -v d="$furthest" -v r="$RUN_UP" 'BEGIN { exit !(d < r - 1) }' || fail "the car went through the tree ($furthest units on, the trunk $RUN_UP on)"
    local held
    held=$(grep "^speed " "$WORK/stdout" | tail -n +$((held_from + 1)) | awk '{ printf "%s %s, ", $2, $4 }')
    grep "^speed " "$WORK/stdout" | tail -n +$((held_from + 1)) | awk -v trunk="$tree_x" '
        NR == 1 { low = high = $4 } { low = $4 < low ? $4 : low; high = $4 > high ? $4 : high }
        END { exit !(NR > 0 && high - low < 1.0 && high < trunk - 1) }' ||
        fail "the car is not held at the trunk (km/h and x over the last second: $held)"
}

# Set going at $2 km/h straight at the trunk, the accelerator held: the car comes up to the
# trunk at about that speed (measured from its places, frame by frame) and never gets past it.
drive_at_speed() {
    stand_before_tree
    xdotool mousemove --window "$(game_window)" 20 20
    xdotool keydown Up
    send_command "launch $2" "^launched"
    local from
    from=$(grep -c "^speed " "$WORK/stdout")
    accelerate_to_tree 3
    # At the trunk: from there on the car goes wherever the blow sends it.
    take_shot "$SHOTS/$1_at_$2.png"
    wait_race_seconds 1 60
    xdotool keyup Up
    # The places since the launch: the furthest, and the speed over the run-up until the car
    # first came within half a unit of it.
    local run furthest approach
    run=$(grep "^speed " "$WORK/stdout" | tail -n +$((from + 1)))
    furthest=$(awk '$4 > max || NR == 1 { max = $4 } END { print max }' <<<"$run")
    approach=$(awk -v far="$furthest" 'NR == 1 { x0 = $4; t0 = $15 } !done && $4 > far - 0.5 { x = $4; t = $15; done = 1 }
        END { printf "%.0f", (t > t0 ? (x - x0) / (t - t0) * 3.6 : 0) }' <<<"$run")
    echo "at $2 km/h: came on at $approach km/h, furthest at x $furthest (the trunk at $tree_x), now at $(latest 4) $(latest 5)"
    # The gearbox finds its gear as the car rolls on: a few km/h are lost on the way.
    awk -v v="$approach" -v want="$2" 'BEGIN { exit !(v > 0.85 * want) }' || fail "the car came on at $approach km/h, not $2"
    awk -v at="$furthest" -v x="$tree_x" 'BEGIN { exit !(at < x - 1) }' ||
        fail "the car went through the tree at $2 km/h (furthest at x $furthest, the trunk at $tree_x)"
    awk -v at="$furthest" -v x="$tree_x" 'BEGIN { exit !(at > x - 6) }' ||
        fail "the car stopped short of the tree at $2 km/h (furthest at x $furthest, the trunk at $tree_x)"
}

# Every test of one tree kind $1 (shots named $2), whose actors are named $3..., its ray at
# trunk height meeting the bark between $4 and $5 units on, missing at $6 units up.
drive_at_tree() {
    pick_tree "$1"
    check_collider "$3" "$4" "$5" "${6:-}"
    drive_from_rest "$2"
    for speed in 50 100 150; do
        drive_at_speed "$2" "$speed"
    done
}

# The sparsest forest of the options: the quickest load, and trees that stand apart.
SETTINGS='<Texture quality="1"/><Shadow quality="1"/><HDR enable="false"/><MotionBlur enable="false"/><AdvancedSky enable="false"/><Vegetation enable="true"><Tree density="0.333"/></Vegetation>'

start_race TestLoop "$SETTINGS"
grep -q "^trees planted: [1-9]" "$WORK/stdout" || fail "no trees planted"
wait_for_output "^speed .* phase 20$" 1 60  # the countdown is over
send_command "report 1" "^reporting"
# The broad-leaf trunk is a box 0.5 wide, turned with the tree: 0.25 to 0.36 from its axis.
drive_at_tree m_Entity1 broadleaf GrassTreesStaticActor 2.63 2.76 4.3
# A pine's is a capsule of radius 0.1 up to 2.1 units.
drive_at_tree m_Entity2 pine GrassTreesStaticActor 2.88 2.92 2.4
end_race

start_race DesertRun "$SETTINGS"
wait_for_output "^speed .* phase 20$" 1 60
send_command "report 1" "^reporting"
# A palm collides as its own model, whose trunk is about 0.26 thick at that height.
drive_at_tree m_VG_Palmtree palm DesertTreesStaticActor 2.6 2.85
end_race

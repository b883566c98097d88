#!/usr/bin/env bash
# Runs the track driver twice under Xvfb with one fresh per-user folder: the first run
# bakes the tile lightmaps into the cache, the second bakes none and takes every one from
# it. The two load times are printed, not compared: a busy machine can swap them.
# usage: trackdriver.sh <quillmor_trackdriver> <build folder> <output folder>
set -euo pipefail
xvfb_run=$(cd "$(dirname "$0")/.." && pwd)/xvfb-run.sh
driver=$1
build=$2
out=$3
user=$(mktemp -d)
trap 'rm -rf "$user"' EXIT
fail() { echo "FAIL $*"; exit 1; }

declare -a loads tallies
for run in 1 2; do
    mkdir -p "$out/run$run"
    (cd "$build/bin" && "$xvfb_run" "$driver" "$build/bin/Plugins.cfg" "$user" "$out/run$run") \
        | tee "$out/run$run/output.txt" || fail "run $run: the driver failed"
    loads[$run]=$(awk '/^track load/ { print $3 }' "$out/run$run/output.txt")
    tallies[$run]=$(grep -o "Tile lightmaps: [0-9]* baked, [0-9]* from the cache" "$user/logs/debug.txt") ||
        fail "run $run: no lightmap tally in the debug log"
    echo "run $run: ${tallies[$run]}; load ${loads[$run]} s"
done
read -r baked1 cached1 < <(echo "${tallies[1]}" | awk '{ print $3, $5 }')
read -r baked2 cached2 < <(echo "${tallies[2]}" | awk '{ print $3, $5 }')
[ "$baked1" -gt 0 ] || fail "the first run baked nothing"
[ "$baked2" = 0 ] || fail "the second run baked $baked2 lightmaps"
[ "$cached2" = $((baked1 + cached1)) ] || fail "the second run took $cached2 from the cache, not $((baked1 + cached1))"
echo "track load: cold ${loads[1]} s, warm ${loads[2]} s"

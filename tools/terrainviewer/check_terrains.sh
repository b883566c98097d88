#!/bin/bash
# Renders two terrains with the terrain viewer under Xvfb and checks each picture is not
# blank (many colours, neither black nor sky alone) and that the two differ.
# usage: check_terrains.sh <viewer> <png stats> <Plugins.cfg> <media folder> <output folder>
set -u
xvfb_run=$(cd "$(dirname "$0")/.." && pwd)/xvfb-run.sh
viewer=$1 stats=$2 plugins=$3 media=$4 out=$5
fail=0
for terrain in Grass Valley; do
    shot="$out/terrain_$terrain.png"
    rm -f "$shot"
    if ! "$xvfb_run" "$viewer" "$plugins" "$media" "$terrain" "$shot"; then
        echo "FAIL viewer failed on $terrain"; fail=1; continue
    fi
    read -r width height colours brightness < <("$stats" "$shot")
    echo "$terrain: ${width}x$height, $colours colours, mean brightness $brightness"
    if [ "$colours" -lt 1000 ]; then echo "FAIL $terrain: only $colours colours, the picture is blank"; fail=1; fi
done
# Below the horizon the two terrains must look different almost everywhere.
if [ $fail -eq 0 ]; then
    differing=$("$stats" "$out/terrain_Grass.png" diff "$out/terrain_Valley.png" 0 300 800 300)
    echo "differing pixels below the horizon: $differing of 240000"
    if [ "$differing" -lt 120000 ]; then echo "FAIL the terrains look alike"; fail=1; fi
fi
exit $fail

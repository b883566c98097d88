#!/usr/bin/env bash
# Writes a track that uses every cell of the 80 x 80 grid, the largest a player can build:
# bash tools/soak/full_track.sh <folder> [name] [terrain]
# A serpentine up column 0 from the start at its foot, down column 1, up column 2 ... to the
# finish at the foot of column 79; a checkpoint half-way along every eighth column and a bump
# on every fifth cell of the others. Tiles are listed column by column, as the editor saves.
set -euo pipefail
folder=${1:?usage: full_track.sh <folder> [name] [terrain]}
name=${2:-Full}
terrain=${3:-Grass}
mkdir -p "$folder"
awk -v name="$name" -v terrain="$terrain" 'BEGIN {
    last = 79
    printf "<Map name=\"%s.map\" highscore=\"%s.sde\" terrain=\"%s\">\n", name, name, terrain
    checkpoint = 0
    for (x = 0; x <= last; ++x) {
        north = x % 2 == 0  # even columns are driven towards row 0
        for (y = 0; y <= last; ++y) {
            extra = ""
            if (x == 0 && y == last) { tile = "Start"; rotation = 0 }
            else if (x == last && y == last) { tile = "Finish"; rotation = 2 }
            else if (y == 0) { tile = "Curve"; rotation = north ? 1 : 2 }
            else if (y == last) { tile = "Curve"; rotation = north ? 3 : 0 }
            else if (x % 8 == 4 && y == 40) {
                tile = "Checkpoint"; rotation = north ? 0 : 2
                extra = sprintf(" checkpoint=\"%d\"", ++checkpoint)
            }
            else { tile = (y % 5 == 2) ? "Bump" : "Straight"; rotation = north ? 0 : 2 }
            printf "    <TrackObject name=\"%s\" rotation=\"%d\" x=\"%d\" y=\"%d\"%s />\n", tile, rotation, x, y, extra
        }
    }
    print "</Map>"
}' >"$folder/$name.map.part"
mv "$folder/$name.map.part" "$folder/$name.map"

#!/usr/bin/env bash
# Load time and peak memory of a race on the full 80 x 80 track (tools/soak/full_track.sh),
# through the soak driver under Xvfb, pinned to two cores:
#   bash tools/soak/full_track_figures.sh [build folder] [repeats] [cores]
# Each repeat loads the track once with an empty user folder (cold: every lightmap baked) and
# once more with the caches that run left (warm). Prints every run and the medians.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
repeats=${2:-3}
cores=${3:-6,7}
cmake --build "$build" --target quillmor_soak quillmor_media -- --no-print-directory >/dev/null
source "$root/tests/e2e/game_harness.sh" "$build"

start_xvfb
bash "$root/tools/soak/full_track.sh" "$WORK" Full
track="$WORK/Full.map"

# One load: prints "<load seconds> <peak resident MB>".
load_once() {
    (cd "$BIN_DIR" && taskset -c "$cores" /usr/bin/time -f "peak_kb %M" ./quillmor_soak 0 1 "$track" \
        >"$WORK/soak.txt" 2>"$WORK/stderr") || fail "the soak run failed"
    local ms kb
    ms=$(awk '$3 == "track" { print $15 }' "$WORK/soak.txt")
    kb=$(awk '$1 == "peak_kb" { print $2 }' "$WORK/stderr")
    [ -n "$ms" ] && [ -n "$kb" ] || fail "no figures in the soak output"
    awk -v ms="$ms" -v kb="$kb" 'BEGIN { printf "%.1f %d\n", ms / 1000, kb / 1024 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: >"$WORK/cold" && : >"$WORK/warm"
for run in $(seq "$repeats"); do
    rm -rf "$USER_DIR" && mkdir -p "$USER_DIR"
    printf '<GameConfig/>\n' >"$USER_DIR/quillmor.cfg"
    load_once >>"$WORK/cold"
    load_once >>"$WORK/warm"
    echo "run $run: cold $(tail -1 "$WORK/cold" | awk '{ print $1 " s, " $2 " MB" }')," \
        "warm $(tail -1 "$WORK/warm" | awk '{ print $1 " s, " $2 " MB" }')"
done
for kind in cold warm; do
    echo "$kind: median load $(awk '{ print $1 }' "$WORK/$kind" | median) s," \
        "median peak $(awk '{ print $2 }' "$WORK/$kind" | median) MB over $repeats runs"
done

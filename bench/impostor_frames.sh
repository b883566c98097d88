#!/usr/bin/env bash
# Frame time of the paging scene (800 x 600, 10,000 trees, software GL under Xvfb) with far
# trees as impostors and without them: each mode run several times pinned to the same cores,
# each run's figure the median frame of its last loop, and the median of the runs printed.
# usage: bench/impostor_frames.sh <build folder> [runs] [cores]
set -euo pipefail
build=$1
runs=${2:-5}
cores=${3:-4-7}
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(mktemp -d /tmp/quillmor-impostor-bench-XXXXXX)
trap 'rm -rf "$out"' EXIT

for mode in impostors none; do
  figures=()
  for run in $(seq "$runs"); do
    taskset -c "$cores" bash "$here/tools/xvfb-run.sh" "$build/tools/quillmor_pagingscene" \
      "$build/bin/Plugins.cfg" "$out/$mode$run" 3 240 "$mode" "$out/atlas" > "$out/$mode$run.txt" 2>&1
    figures+=("$(grep '^loop' "$out/$mode$run.txt" | tail -1 | sed 's/.*median frame \([0-9.]*\) ms.*/\1/')")
  done
  median=$(printf '%s\n' "${figures[@]}" | sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}')
  echo "$mode: median frame ${median} ms over $runs runs (each: ${figures[*]})"
done

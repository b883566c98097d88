#!/usr/bin/env bash
# Runs every data-file fuzz target for a given time, a few at once, starting from the seed
# inputs under fuzz/corpus/<target>/. Crashes land in build-fuzz/fuzz/findings/<target>/;
# the script exits with status 1 when any target found something.
# Inputs may be up to 256 KB long, enough to nest elements tens of thousands deep; a document
# nested that deep is put in each XML target's corpus so that case is tried on every run.
# Each target is pinned to one core of those this script may use (taskset -c ... tools/fuzz.sh).
# usage: tools/fuzz.sh [seconds per target, default 600] [targets at once, default 4] [target...]
set -euo pipefail
export ALSOFT_DRIVERS=null  # no sound card needed where a target reaches the sound facade

if ! command -v clang++ >/dev/null || ! dpkg-query -W libclang-rt-14-dev >/dev/null 2>&1; then
  echo "fuzzing needs clang and its sanitizer runtimes: apt-get install clang libclang-rt-14-dev" >&2
  exit 2
fi

seconds=${1:-600}
parallel=${2:-4}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"

if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DQUILLMOR_FUZZ=ON >/dev/null
fi
targets=(FuzzTileDescription FuzzTileList FuzzMap FuzzMapDescription FuzzTerrainList
         FuzzSettings FuzzTerrainFile FuzzHeightmap FuzzCarFile FuzzImageCache FuzzHighScore
         FuzzGhost FuzzNetworkFile FuzzTrainingFile)
xml_targets=" FuzzTileDescription FuzzTileList FuzzMap FuzzMapDescription FuzzTerrainList FuzzSettings FuzzCarFile "
[ $# -gt 2 ] && targets=("${@:3}")
cmake --build "$build" -j"$parallel" --target "${targets[@]}" >/dev/null

failures="$build/fuzz/failed-targets.$$"
rm -f "$failures"
read -r -a cpus < <(taskset -cp $$ | sed 's/.*: //' | tr ',' '\n' |
  awk -F- '{ if (NF == 2) for (i = $1; i <= $2; i++) printf "%d ", i; else printf "%d ", $1 }') || true

run_target() {
  local target=$1 cpu=$2
  local corpus="$build/fuzz/corpus/$target" findings="$build/fuzz/findings/$target"
  mkdir -p "$corpus" "$findings"
  [ -d "$root/fuzz/corpus/$target" ] && cp -n "$root/fuzz/corpus/$target"/* "$corpus"/ 2>/dev/null || true
  if [[ $xml_targets == *" $target "* ]]; then
    printf '<a>%.0s' $(seq 40000) >"$corpus/deep-nesting.xml"
  fi
  taskset -c "$cpu" "$build/fuzz/$target" "$corpus" -max_total_time="$seconds" -max_len=262144 -timeout=10 \
    -artifact_prefix="$findings/" -print_final_stats=1 >"$build/fuzz/$target.log" 2>&1 &&
    echo "$target: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/fuzz/$target.log" | grep -o '[0-9]*$') runs, no crash" ||
    { echo "$target: FAILED, see $build/fuzz/$target.log and $findings/"; echo "$target" >>"$failures"; }
}

# One core per slot: target number i runs on the (i mod parallel)-th allowed core.
running=0
index=0
for target in "${targets[@]}"; do
  run_target "$target" "${cpus[$((index % parallel % ${#cpus[@]}))]}" &
  index=$((index + 1))
  running=$((running + 1))
  if [ "$running" -ge "$parallel" ]; then
    wait -n
    running=$((running - 1))
  fi
done
wait
if [ -s "$failures" ]; then
  echo "fuzzing found faults in: $(tr '\n' ' ' <"$failures")" >&2
  exit 1
fi

#!/usr/bin/env bash
# The impostor atlas cache in the paging scene: a first run renders the atlas and keeps it,
# a second takes it from the folder, and a run whose folder can't be made logs that and still
# draws the far trees (the scene's own checks fail otherwise).
# usage: atlas_cache.sh <quillmor_pagingscene> <Plugins.cfg> <output folder>
set -euo pipefail
scene=$1
plugins=$2
out=$3
tools=$(cd "$(dirname "$0")/.." && pwd)
rm -rf "$out"
mkdir -p "$out"

fail() { echo "FAIL $1" >&2; exit 1; }
run() { bash "$tools/xvfb-run.sh" "$scene" "$plugins" "$out/$1" 1 240 impostors "$2" > "$out/$1.out" 2>&1 \
          || { cat "$out/$1.out" >&2; fail "$1: the scene's checks"; }; }

run cold "$out/atlas"
grep -q "Impostor atlas '.*' rendered and kept" "$out/cold.debug.log" || fail "the first run renders and keeps the atlas"
ls "$out"/atlas/Impostor.*.128.png > /dev/null || fail "the atlas file is written"

run warm "$out/atlas"
grep -q "Impostor atlas '.*' taken from" "$out/warm.debug.log" || fail "the second run takes the atlas from the folder"
grep -q "rendered" "$out/warm.debug.log" && fail "the second run renders nothing"

touch "$out/blocker"  # a file where the folder's parent should be
run blocked "$out/blocker/tmp"
grep -q "can't be" "$out/blocked.debug.log" || fail "a folder that can't be written is logged"
grep -q "rendered" "$out/blocked.debug.log" || fail "the atlas is rendered all the same"
echo "ok   the atlas is rendered once, kept, taken from the cache, and drawn without a usable folder"

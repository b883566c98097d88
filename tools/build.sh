#!/usr/bin/env bash
# Configures and builds one build folder: tools/build.sh <folder> [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
folder=$1
shift
# Compiled objects are cached between builds, also between clones of the tree in other folders
# (paths below the tree are hashed relative to it), so a fresh clone builds in a minute or two.
cache=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
  cache=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cache[@]}" "$@" >/dev/null
cmake --build "$folder" -j "$(nproc)" -- --no-print-directory

#!/usr/bin/env bash
# Installs what the game needs, builds it and starts it (under Xvfb when there is no display).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
bash tools/build.sh build
cd build/bin
if [ -n "${DISPLAY:-}" ]; then
    exec ./quillmor
fi
echo "No DISPLAY: running under Xvfb (nothing is shown; screenshots with F8 land in build/bin)."
exec bash ../../tools/xvfb-run.sh ./quillmor

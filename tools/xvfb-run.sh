#!/usr/bin/env bash
# Runs a command under a private Xvfb server, 1024x768x24. The server picks a free display
# itself (-displayfd), so any number of screen tests may start at once without racing for one.
# usage: xvfb-run.sh <command> [arguments...]
set -euo pipefail
fifo=$(mktemp -u /tmp/quillmor-xvfb-XXXXXX)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -f "$fifo"' EXIT
read -r -t 20 display <"$fifo" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"
"$@"

#!/usr/bin/env bash
# Runs a command under a private Xvfb server, 1024x768x24. The server picks a free display
# itself (-displayfd), so any number of screen tests may start at once without racing for one.
# In a sanitizer build the command's sanitizer reports are judged by tools/sanitizer-check.sh,
# not by its exit status: it fails on any sanitizer error or leak with a frame in our code.
# usage: xvfb-run.sh <command> [arguments...]
set -euo pipefail
fifo=$(mktemp -u /tmp/quillmor-xvfb-XXXXXX)
mkfifo "$fifo"
# -noreset: by default the server resets when its last client leaves, refusing connections
# for a moment, and an engine restart closes the game's only connection before it reopens one.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
errors=$(mktemp /tmp/quillmor-stderr-XXXXXX)
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -f "$fifo" "$errors"' EXIT
read -r -t 20 display <"$fifo" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"
tools=$(cd "$(dirname "$0")" && pwd)
export LSAN_OPTIONS="suppressions=$tools/lsan.supp:print_suppressions=0:exitcode=0"
status=0
"$@" 2>"$errors" || status=$?
cat "$errors" >&2
bash "$tools/sanitizer-check.sh" "$errors" || exit 1
exit "$status"

#!/usr/bin/env bash
# Judges the sanitizer reports in the given files (a program's error output or the
# sanitizer's own log files) for runs made with LSAN_OPTIONS=exitcode=0, whose exit status
# shows no sanitizer error (the exit code is shared by every report). Fails on any address or
# undefined-behaviour error, and on any leak report with a frame in our own code: src/, tests/
# or tools/. Leaks wholly inside libraries are suppressed by tools/lsan.supp, or pass as they
# are: the GL driver's come from modules unloaded before the report, with no name to
# suppress them by.
# usage: tools/sanitizer-check.sh <file>...
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
for output in "$@"; do
    [ -f "$output" ] || continue
    if grep -Eq "^==[0-9]+==ERROR: (AddressSanitizer|UndefinedBehaviorSanitizer)|: runtime error: " "$output"; then
        echo "FAIL: a sanitizer error, reported in $output:" >&2
        grep -E "^==[0-9]+==ERROR: |: runtime error: |^SUMMARY: " "$output" | grep -v LeakSanitizer | sed 's/^/  /' >&2
        status=1
    fi
    grep -q "ERROR: LeakSanitizer" "$output" || continue
    # Each leak's frames follow its "Direct leak"/"Indirect leak" line. Their source paths may be
    # absolute, relative to the build's object folders, or rooted in another clone of the tree
    # (a compiler cache hands out objects built elsewhere), so each is cut at its last src/,
    # tests/ or tools/ folder and looked up in this source tree. A leak is shown once, at its
    # innermost frame in our code.
    ours=$(awk '
        /^(Direct|Indirect) leak of/ { entry = $0; ++count; next }
        entry != "" && /^ *#[0-9]+ / {
            for (i = 1; i <= NF; ++i) {
                rest = $i; frame = ""
                while (match(rest, /(^|\/)(src|tests|tools)\//)) {
                    frame = substr(rest, RSTART + (substr(rest, RSTART, 1) == "/" ? 1 : 0))
                    rest = substr(rest, RSTART + RLENGTH)
                }
                if (frame ~ /^(src|tests|tools)\/[^ ]+:[0-9]+/) {
                    path = frame; sub(/:[0-9]+(:[0-9]+)?$/, "", path)
                    print count "\t" path "\t" frame "\t" entry
                }
            }
            next
        }
        { entry = "" }' "$output" | while IFS=$'\t' read -r count path frame entry; do
            [ -f "$root/$path" ] && printf '%s\t  %s (at %s)\n' "$count" "$entry" "$frame"
        done | sort -s -u -t$'\t' -k1,1n | cut -f2-)
    if [ -n "$ours" ]; then
        echo "FAIL: leaks in our own code, reported in $output:" >&2
        echo "$ours" >&2
        status=1
    else
        echo "$(basename "$output"): leak reports only from inside libraries" >&2
    fi
done
exit "$status"

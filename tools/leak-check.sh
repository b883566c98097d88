#!/usr/bin/env bash
# Fails when a sanitizer leak report in the given files (a program's error output or the
# sanitizer's own log files) has a frame in our own code: src/, tests/ or tools/. Leaks wholly
# inside libraries are suppressed by tools/lsan.supp, or pass as they are: the GL driver's
# come from modules unloaded before the report, with no name to suppress them by.
# usage: tools/leak-check.sh <file>...
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
for output in "$@"; do
    [ -f "$output" ] && grep -q "ERROR: LeakSanitizer" "$output" || continue
    # Each leak's frames follow its "Direct leak"/"Indirect leak" line; their source paths are
    # relative to the build's object folders, so they are looked up in the source tree.
    ours=$(awk '
        /^(Direct|Indirect) leak of/ { entry = $0; next }
        entry != "" && /^ *#[0-9]+ / {
            for (i = 1; i <= NF; ++i)
                if ($i ~ /^(\.\.\/)*(src|tests|tools)\/[^ ]+:[0-9]+/) {
                    path = $i; sub(/^(\.\.\/)*/, "", path); sub(/:[0-9]+(:[0-9]+)?$/, "", path)
                    print path "\t" entry
                }
            next
        }
        { entry = "" }' "$output" | while IFS=$'\t' read -r path entry; do
            [ -f "$root/$path" ] && echo "  $entry (through $path)"
        done | sort -u)
    if [ -n "$ours" ]; then
        echo "FAIL: leaks in our own code, reported in $output:" >&2
        echo "$ours" >&2
        status=1
    else
        echo "$(basename "$output"): leak reports only from inside libraries" >&2
    fi
done
exit "$status"

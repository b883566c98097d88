# The layer check (cmake/CheckLayers.cmake) on a small tree of three layers, low <- mid <- top:
# includes that point down pass, beside-the-file and from-the-root alike; an include that points
# up, one that skips a layer the library does not use, and a file no library lists each fail
# the check and are named in its message.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# $1: case name, $2: expected status (0 passes), $3...: text the output must hold
check() {
    local name=$1 expected=$2
    shift 2
    cmake -DMANIFEST="$work/layers.txt" -DSOURCE_DIR="$work/src" -P "$root/cmake/CheckLayers.cmake" \
        >"$work/out" 2>&1
    local status=$?
    if { [ "$expected" -eq 0 ] && [ $status -ne 0 ]; } || { [ "$expected" -ne 0 ] && [ $status -eq 0 ]; }; then
        echo "FAIL $name: status $status"; cat "$work/out"; failures=$((failures + 1)); return
    fi
    for text in "$@"; do
        grep -qF -- "$text" "$work/out" || { echo "FAIL $name: no \"$text\""; cat "$work/out"; failures=$((failures + 1)); }
    done
    echo "ok $name"
}

mkdir -p "$work/src/low" "$work/src/mid" "$work/src/other"
printf '#pragma once\n' >"$work/src/low/Low.h"
printf '#pragma once\n' >"$work/src/Frame.h"
printf '#include "mid/Mid.h"\n#include "low/Low.h"\n#include <vector>\n' >"$work/src/mid/Mid.cpp"
printf '#pragma once\n#include "Frame.h"\n' >"$work/src/mid/Mid.h"
printf '#include "Other.h"\n' >"$work/src/other/Other.cpp"
printf '#pragma once\n' >"$work/src/other/Other.h"
printf '#include "mid/Mid.h"\n#include "Frame.h"\n' >"$work/src/Top.cpp"
cat >"$work/layers.txt" <<LIST
layer low low
file low Frame.h
file low low/Low.h
layer mid mid low
file mid mid/Mid.cpp
file mid mid/Mid.h
layer other other low
file other other/Other.cpp
file other other/Other.h
layer top top mid low
file top Top.cpp
LIST
check "includes that point down" 0

printf '#pragma once\n#include "mid/Mid.h"\n' >"$work/src/low/Low.h"
check "an include that points up" 1 "src/low/Low.h (low) includes mid/Mid.h of mid, which low may not use"
printf '#pragma once\n' >"$work/src/low/Low.h"

printf '#include "other/Other.h"\n' >>"$work/src/Top.cpp"
check "an include of a layer not used" 1 "src/Top.cpp (top) includes other/Other.h of other"
printf '#include "mid/Mid.h"\n#include "Frame.h"\n' >"$work/src/Top.cpp"

printf '#pragma once\n' >"$work/src/mid/Stray.h"
check "a file no library lists" 1 "src/mid/Stray.h is in no library's list"
rm "$work/src/mid/Stray.h"

echo "file mid mid/Gone.cpp" >>"$work/layers.txt"
check "a listed file that is gone" 1 "src/mid/Gone.cpp is listed for mid but does not exist"

[ $failures -eq 0 ]

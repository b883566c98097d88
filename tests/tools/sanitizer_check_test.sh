# tools/sanitizer-check.sh judged on made-up reports: a leak with a frame in our own code fails
# the run whether the sanitizer printed the frame's path absolute or relative to the build's
# object folder, or rooted in another clone; leaks wholly inside libraries pass; any address
# error fails.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
check="$root/tools/sanitizer-check.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

leak_report() {  # $1: the frame's source path as the sanitizer printed it
    cat <<REPORT
==1==ERROR: LeakSanitizer: detected memory leaks

Direct leak of 884 byte(s) in 1 object(s) allocated from:
    #0 0x7f6852eb89cf in __interceptor_malloc ../../../../src/libsanitizer/asan/asan_malloc_linux.cpp:69
    #1 0x7f684e748478  (<unknown module>)

Direct leak of 512 byte(s) in 16 object(s) allocated from:
    #0 0x7f6852eb9628 in operator new[](unsigned long) ../../../../src/libsanitizer/asan/asan_new_delete.cpp:98
    #1 0x55c8daf5de11 in MainMenuState::enter() $1
    #2 0x7f6851045249 in __libc_start_call_main ../sysdeps/nptl/libc_start_call_main.h:58

SUMMARY: AddressSanitizer: 1396 byte(s) leaked in 17 allocation(s).
REPORT
}

expect() {  # $1: expected status, $2: case name, $3: report file
    bash "$check" "$3" >"$work/out" 2>&1
    local status=$?
    if [ "$status" != "$1" ]; then
        echo "FAIL: $2: status $status, expected $1"; cat "$work/out"
        failures=$((failures + 1))
    else
        echo "ok   $2"
    fi
}

leak_report "$root/src/gui/MainMenuState.cpp:43" >"$work/absolute"
expect 1 "a leak in our code, absolute path" "$work/absolute"
leak_report "../../src/gui/MainMenuState.cpp:43:9" >"$work/relative"
expect 1 "a leak in our code, relative path" "$work/relative"
leak_report "/tmp/another-clone/build/src/../../src/gui/MainMenuState.cpp:43" >"$work/elsewhere"
expect 1 "a leak in our code, path of another clone of the tree" "$work/elsewhere"
leak_report "/usr/include/c++/12/bits/new_allocator.h:137" >"$work/library"
expect 0 "leaks only inside libraries" "$work/library"
leak_report "$root/src/no/such/File.cpp:12" >"$work/unknown"
expect 0 "a path under src/ that is not one of our files" "$work/unknown"
printf '==7==ERROR: AddressSanitizer: heap-use-after-free on address 0x6020\nSUMMARY: AddressSanitizer: heap-use-after-free\n' >"$work/error"
expect 1 "an address error" "$work/error"
expect 0 "no report file at all" "$work/missing"

[ "$failures" = 0 ]

#!/usr/bin/env bash
# Builds the pack fuzzer with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) in build/fuzz/ and runs it for SECONDS seconds.
#
#   fuzz/run.sh [SECONDS]          (default 60)
#
# One fuzzing process at a time (fork mode with one job, so that a finding is
# saved and fuzzing goes on). New corpus units go to build/fuzz/corpus, findings
# to build/fuzz/crash-* (and leak-*, timeout-*, oom-*); fuzz/corpus/ holds the
# seeds and is only read. Reproduce a finding with
#   build/fuzz/pack_fuzzer build/fuzz/crash-...
# Exits 1 when anything was found.
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$root/build/fuzz
cxx=${CXX:-clang++}
mkdir -p "$out/obj" "$out/corpus"

common=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=address,undefined
        -fno-sanitize-recover=undefined -I"$root")
icu=$(pkg-config --libs icu-uc icu-i18n 2>/dev/null || echo "-licui18n -licuuc -licudata")

# Rebuilds an object when its source or any header it included is newer.
stale() {
    local obj=$1 dep=$2
    [[ -f $obj && -f $dep ]] || return 0
    local f
    for f in $(sed -e 's/^[^:]*://' -e 's/\\$//' "$dep"); do
        [[ $f -nt $obj ]] && return 0
    done
    return 1
}

objs=()
for src in "$root"/engine/*.cpp "$root"/platform/*.cpp; do
    name=$(basename "$(dirname "$src")")_$(basename "${src%.cpp}")
    obj=$out/obj/$name.o
    if stale "$obj" "$out/obj/$name.d"; then
        echo "compiling ${src#"$root"/}"
        "$cxx" "${common[@]}" -fsanitize=fuzzer-no-link -MMD -MF "$out/obj/$name.d" \
            -c "$src" -o "$obj"
    fi
    objs+=("$obj")
done
echo "linking build/fuzz/pack_fuzzer"
# shellcheck disable=SC2086 # $icu is a list of linker flags
"$cxx" "${common[@]}" -fsanitize=fuzzer "$root/fuzz/pack_fuzzer.cpp" "${objs[@]}" $icu \
    -o "$out/pack_fuzzer"

cd "$out"
rm -f fuzz-*.log
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
status=0
./pack_fuzzer -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -dict="$root/fuzz/pack.dict" -artifact_prefix="$out/" \
    "$out/corpus" "$root/fuzz/corpus" || status=$?

found=$(find "$out" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
    -o -name 'oom-*' \) | sort)
if [[ -n $found ]]; then
    echo "findings in build/fuzz:"
    echo "$found" | sed "s|^$out/|  |"
    exit 1
fi
exit "$status"

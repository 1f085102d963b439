#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test three times over:
# a plain build, a build under AddressSanitizer + UndefinedBehaviorSanitizer, and the
# libFuzzer targets (clang, sanitized) for a bounded number of inputs each.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen

summaries=()
run_suite() {
    local name=$1 dir=$2
    echo "== $name"
    ctest --test-dir "$dir" --output-on-failure --timeout 300 -j2 | tee "$dir/ctest.log"
    summaries+=("$name: $(grep -E 'tests passed, [0-9]+ tests failed out of' "$dir/ctest.log")")
}

scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_suite "plain" build

scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DVARNOW_SANITIZE=ON
run_suite "sanitized" build-asan

CXX=clang++ scripts/build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNOW_SANITIZE=ON \
    -DVARNOW_FUZZ=ON -DVARNOW_TESTS=OFF -DVARNOW_APPS=OFF
run_suite "fuzz" build-fuzz

echo "== summary"
printf '%s\n' "${summaries[@]}"
passed=0
total=0
for line in "${summaries[@]}"; do
    set -- $(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1 \2/')
    total=$((total + $2))
    passed=$((passed + $2 - $1))
done
echo "total: $passed passed, $((total - passed)) failed"

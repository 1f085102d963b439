#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test three times over:
# a plain build, a build under AddressSanitizer + UndefinedBehaviorSanitizer, and the
# libFuzzer targets (clang, sanitized) for a bounded number of inputs each; then builds the
# Debian package the way the README's install section does and checks what it holds.
# Every suite runs even when one before it failed (to build or in a test); the summary names
# each, and the exit status is non-zero when any failed.
set -uo pipefail
cd "$(dirname "$0")"
scripts/setup.sh || exit 1

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen

summaries=()
passed=0
failed=0
# run_suite NAME DIR [cmake options...]: builds the tree, then runs its tests.
run_suite() {
    local name=$1 dir=$2
    shift 2
    echo "== $name"
    if ! scripts/build.sh "$dir" "$@"; then
        summaries+=("$name: the build failed")
        failed=$((failed + 1))
        return
    fi
    ctest --test-dir "$dir" --output-on-failure --timeout 300 -j2 | tee "$dir/ctest.log"
    local line
    line=$(grep -E 'tests passed, [0-9]+ tests failed out of' "$dir/ctest.log")
    if [ -z "$line" ]; then
        summaries+=("$name: ctest did not finish")
        failed=$((failed + 1))
        return
    fi
    summaries+=("$name: $line")
    set -- $(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1 \2/')
    failed=$((failed + $1))
    passed=$((passed + $2 - $1))
}

run_suite "plain" build -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_suite "sanitized" build-asan -DCMAKE_BUILD_TYPE=Debug -DVARNOW_SANITIZE=ON
CXX=clang++ run_suite "fuzz" build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARNOW_SANITIZE=ON -DVARNOW_FUZZ=ON -DVARNOW_TESTS=OFF -DVARNOW_APPS=OFF

echo "== package"
if scripts/package.sh && tests/e2e/package_check.sh build-release; then
    summaries+=("package: built and checked")
    passed=$((passed + 1))
else
    summaries+=("package: failed")
    failed=$((failed + 1))
fi

echo "== summary"
printf '%s\n' "${summaries[@]}"
echo "total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]

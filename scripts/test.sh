#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the optimised build that ships, the
# number-text fuzzer for about a minute, then the sanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
log=$(mktemp -d)
trap 'rm -rf "$log"' EXIT

run_tests() { # preset
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$jobs"
    ctest --preset "$1" -j "$jobs" 2>&1 | tee "$log/$1.txt"
    return "${PIPESTATUS[0]}"
}

echo "== formatting"
if git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror; then :; else
    echo "Some files are not formatted by .clang-format" >&2
    exit 1
fi

echo "== dev build and tests"
run_tests dev

echo "== fuzzing the number text for ${FUZZ_SECONDS:-60} s"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
corpus="$log/corpus"
mkdir -p "$corpus"
cp fuzz/corpus/NumberText/* "$corpus/"
build/fuzz/fuzz/number_text_fuzz "$corpus" -max_total_time="${FUZZ_SECONDS:-60}" \
    -max_len=4096 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 2>"$log/fuzz.txt" ||
    { tail -n 60 "$log/fuzz.txt"; echo "fuzzing found a failure" >&2; exit 1; }
grep -E "stat::number_of_executed_units" "$log/fuzz.txt" || true

echo "== sanitizer build and tests"
run_tests asan

passed=0
failed=0
for preset in dev asan; do
    line=$(grep -E "tests passed, [0-9]+ tests failed out of [0-9]+" "$log/$preset.txt" | tail -n 1)
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
done
echo "tests: $passed passed, $failed failed"

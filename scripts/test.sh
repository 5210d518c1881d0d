#!/usr/bin/env bash
# Installs what is missing, builds with the sanitizers and runs every test, then runs
# each fuzz target on its corpus for a bounded time. Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh test
ctest --test-dir build/test --output-on-failure -j "${TAVREL_TEST_JOBS:-1}"

scripts/build.sh fuzz
seconds=${TAVREL_FUZZ_SECONDS:-10}
export UBSAN_OPTIONS=halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp"
export QT_QPA_PLATFORM=offscreen
if [ -f build/fuzz/fuzzers.txt ]; then
  while IFS=$'\t' read -r -a fields; do
    [ "${#fields[@]}" -gt 0 ] || continue
    fuzzer=${fields[0]}
    work=$(mktemp -d)
    for corpus in "${fields[@]:1}"; do cp -r "$corpus"/. "$work"/ 2>/dev/null || true; done
    echo "fuzzing $(basename "$fuzzer") for ${seconds}s"
    "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=0 "$work" 2> "$work.log" \
      || { tail -n 60 "$work.log"; echo "fuzz target $(basename "$fuzzer") failed" >&2; exit 1; }
    rm -rf "$work" "$work.log"
  done < build/fuzz/fuzzers.txt
fi
echo "all tests and fuzz runs passed"

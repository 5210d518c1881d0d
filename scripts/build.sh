#!/usr/bin/env bash
# Configures and builds one flavour of Tavrel.
#   scripts/build.sh release   the program and tools (build/release)
#   scripts/build.sh test      everything with AddressSanitizer + UndefinedBehaviorSanitizer (build/test)
#   scripts/build.sh fuzz      the libFuzzer targets with clang (build/fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-release}
jobs=${TAVREL_JOBS:-$(nproc)}

# Test programs are started during the build to list their cases: give them the same
# headless display and leak suppressions as the test run.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"

case "$flavour" in
  release)
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVREL_WERROR=ON
    cmake --build build/release -j "$jobs" ;;
  test)
    cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVREL_WERROR=ON \
          -DTAVREL_SANITIZE=ON -DTAVREL_BENCHMARKS=ON -DCMAKE_CXX_FLAGS="-O1"
    cmake --build build/test -j "$jobs" ;;
  fuzz)
    CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
          -DTAVREL_FUZZ=ON -DTAVREL_BENCHMARKS=OFF -DCMAKE_CXX_FLAGS="-O1"
    cmake --build build/fuzz -j "$jobs" --target all_fuzzers ;;
  *)
    echo "usage: scripts/build.sh release|test|fuzz" >&2; exit 2 ;;
esac

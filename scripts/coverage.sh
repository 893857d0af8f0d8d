#!/usr/bin/env bash
# Builds with line coverage, runs every test and prints how much of each
# source file the tests reach: the measure for "trimmed tests catch as much".
#   scripts/coverage.sh [build-dir]      (default: build-coverage)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-coverage}

if ! command -v gcovr >/dev/null; then
  sudo=(); [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends gcovr
fi
CMAKE_BUILD_TYPE=Debug CXXFLAGS=--coverage LDFLAGS=--coverage \
  "$root/scripts/setup.sh" "$build"
find "$build" -name '*.gcda' -delete
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" -j "$(nproc)" --output-on-failure
# gcov reports a negative branch count now and then (counters of threads
# running at once); gcovr 5 refuses the whole report unless told to skip it.
gcovr -r "$root" "$build" --exclude "$root/tests/" --exclude "$build/" \
  --exclude-unreachable-branches --sort-uncovered --gcov-ignore-parse-errors

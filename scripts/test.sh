#!/usr/bin/env bash
# Installs what is missing, builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs them all headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/dependances.sh
cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIRASOLVE_TESTS=ON -DMIRASOLVE_SANITIZE=ON \
  -DMIRASOLVE_BENCH=ON
cmake --build build-tests
QT_QPA_PLATFORM=offscreen ctest --test-dir build-tests --output-on-failure

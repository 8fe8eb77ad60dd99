#!/usr/bin/env bash
# Installs what is missing, builds the optimised program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/dependances.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build-release --target mirasolve
exec ./build-release/mirasolve/mirasolve

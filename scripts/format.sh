#!/usr/bin/env bash
# Applies the project's .clang-format style to every C++ file, or with --check only says whether
# every file already follows it (non-zero when one does not).
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format > /dev/null; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends clang-format
fi
mapfile -t fichiers < <(find src tests bench resources fuzz -name '*.cpp' -o -name '*.h' | sort)
if [ "${1:-}" = "--check" ]; then
  clang-format --dry-run --Werror "${fichiers[@]}"
else
  clang-format -i "${fichiers[@]}"
fi

#!/usr/bin/env bash
# Builds the fuzz targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer, libFuzzer) and runs
# each for the seconds given, one after the other. Stops at the first crash, leak, timeout, memory
# excess or sanitizer report, printing the input that caused it. The corpora grow in
# build-fuzz/corpus/, from the seeds of fuzz/graines/ and the configuration fixtures.
#   bash scripts/fuzz.sh SECONDS [TARGET...]   (targets: configuration magasin images orientation)
set -euo pipefail
cd "$(dirname "$0")/.."
secondes=${1:?usage: bash scripts/fuzz.sh SECONDS [TARGET...]}
shift
cibles=("$@")
[ ${#cibles[@]} -gt 0 ] || cibles=(configuration magasin images orientation)

bash scripts/dependances.sh
manquants=()
for paquet in clang-14 libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$paquet" 2>/dev/null | grep -q 'install ok installed' || manquants+=("$paquet")
done
if [ ${#manquants[@]} -gt 0 ]; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${manquants[@]}"
fi

CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRASOLVE_FUZZ=ON \
  >/dev/null
cmake --build build-fuzz --target $(printf 'fuzz_%s ' "${cibles[@]}")

racine=$PWD
# Every write of the signature store ends with a sync to disk, which a busy disk can hold for more
# than an input's second: the fuzzers work in a folder in memory when the system has one.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
# Leaks of the system's font and display libraries, kept for the life of the process, are theirs.
export LSAN_OPTIONS="suppressions=$racine/tests/support/lsan.supp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

for cible in "${cibles[@]}"; do
  graines=fuzz/graines/$cible
  dictionnaire=fuzz/$cible.dict
  longueur=16384
  case $cible in
    configuration) graines=tests/fixtures/configuration ;;
    magasin) longueur=65536 ;;
    images) longueur=32768 ;;
    orientation) dictionnaire=fuzz/images.dict; longueur=8192 ;;
    *) echo "Cible inconnue : $cible" >&2; exit 2 ;;
  esac
  corpus=build-fuzz/corpus/$cible
  trouvailles=build-fuzz/trouvailles/$cible
  journal=build-fuzz/journal-$cible.txt
  mkdir -p "$corpus" "$trouvailles"
  echo "== $cible : $secondes s"
  # One input gets a second at most and never allocates much more than the decoders' cap at once
  # (8 MiB in this build).
  if ! build-fuzz/fuzz/fuzz_$cible -max_total_time="$secondes" -timeout=1 -rss_limit_mb=2048 \
      -malloc_limit_mb=16 -max_len="$longueur" -dict="$dictionnaire" -print_final_stats=1 \
      -artifact_prefix="$trouvailles/" "$corpus" "$graines" >"$journal" 2>&1; then
    tail -n 60 "$journal" >&2
    entree=$(grep -o 'Test unit written to .*' "$journal" | tail -n 1 | sed 's/Test unit written to //')
    echo "ÉCHEC de fuzz_$cible ; entrée : ${entree:-(voir $journal)}" >&2
    exit 1
  fi
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|slowest_unit_time_sec|peak_rss_mb)' "$journal"
  grep -E '^#[0-9]+.*(cov|DONE)' "$journal" | tail -n 1
done

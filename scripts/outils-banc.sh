#!/usr/bin/env bash
# Installs, as root on Debian 12, the command-line encoders and decoders that bench_formats makes
# its files with and compares the program's readers to. Neither the build nor the tests need them.
set -euo pipefail
paquets=(libheif-examples libavif-bin webp libjxl-tools libtiff-tools libraw-bin netpbm libjpeg-turbo-progs)
manquants=()
for paquet in "${paquets[@]}"; do
  dpkg-query -W -f='${Status}' "$paquet" 2>/dev/null | grep -q 'install ok installed' || manquants+=("$paquet")
done
if [ ${#manquants[@]} -gt 0 ]; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${manquants[@]}"
fi

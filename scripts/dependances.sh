#!/usr/bin/env bash
# Installs, as root on Debian 12, the packages that building and testing the program need.
set -euo pipefail
paquets=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-qpa-plugins libgl-dev libjpeg62-turbo-dev libgif-dev
         libheif-dev libwebp-dev libtiff-dev libjxl-dev libraw-dev
         libgtest-dev libbenchmark-dev libjpeg-turbo-progs fonts-dejavu-core qt6-translations-l10n qt6-wayland
         weston
         dpkg-dev file desktop-file-utils appstream)
manquants=()
for paquet in "${paquets[@]}"; do
  dpkg-query -W -f='${Status}' "$paquet" 2>/dev/null | grep -q 'install ok installed' || manquants+=("$paquet")
done
if [ ${#manquants[@]} -gt 0 ]; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${manquants[@]}"
fi

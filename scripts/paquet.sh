#!/usr/bin/env bash
# Builds the Debian package and checks it as a user would meet it: the desktop entry and the
# AppStream metainfo validated; the package installed (with dpkg as root, otherwise unpacked into a
# scratch root); the installed program started from its desktop entry's command, offscreen, with a
# scratch home; its data folder found there; the program asked to end as a session would
# (SIGTERM) and its settings found written; then, as root, the package removed without a trace.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/dependances.sh
cmake -S . -B build-paquet -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr
cmake --build build-paquet
rm -f build-paquet/mirasolve_*.deb
(cd build-paquet && cpack -G DEB)
paquet=$(ls build-paquet/mirasolve_*.deb)
echo "paquet : $paquet"
depends=$(dpkg-deb --field "$paquet" Depends)
echo "$depends"
# The picture libraries the readers call are among the computed dependencies; Debian 12's libheif1
# decodes HEVC and AV1 itself (libde265 and dav1d linked in, no plugin to install apart).
for bibliotheque in libheif1 libwebp7 libwebpdemux2 libtiff6 libjxl0.7 libraw20; do
  grep -qFw "$bibliotheque" <<<"$depends" || { echo "dépendance absente du paquet : $bibliotheque"; exit 1; }
done
for decodeur in libde265-0 libdav1d6; do
  dpkg-query -W -f='${Depends}' libheif1 | grep -qFw "$decodeur" ||
    { echo "libheif1 ne décode pas sans $decodeur"; exit 1; }
done
# Qt's Wayland platform plugin is recommended, and the package named is the one that ships it.
recommends=$(dpkg-deb --field "$paquet" Recommends)
echo "$recommends"
tr ',' '\n' <<<"$recommends" | sed 's/^ *//; s/[ (].*//' | grep -qx qt6-wayland || { echo "recommandation absente du paquet : qt6-wayland"; exit 1; }
dpkg-query -L qt6-wayland | grep -q '/platforms/libqwayland' ||
  { echo "qt6-wayland ne fournit pas la plateforme Wayland de Qt"; exit 1; }

identifiant=fr.mirasolve.Mirasolve
desktop-file-validate "resources/bureau/$identifiant.desktop"
appstreamcli validate --no-net "resources/bureau/$identifiant.metainfo.xml"

essai=$(mktemp -d)
trap 'rm -rf "$essai"' EXIT
if [ "$(id -u)" = 0 ]; then
  dpkg -i "$paquet"
  racine=""
else
  dpkg-deb -x "$paquet" "$essai/racine"
  racine="$essai/racine"
fi
for fichier in usr/bin/mirasolve usr/share/mirasolve/BandeMenu.bmp usr/share/mirasolve/BandeMenu-2x.bmp "usr/share/mirasolve/AIDE MIRASOLVE.HLP" \
  "usr/share/applications/$identifiant.desktop" "usr/share/metainfo/$identifiant.metainfo.xml" \
  "usr/share/icons/hicolor/256x256/apps/$identifiant.png"; do
  [ -e "$racine/$fichier" ] || { echo "absent du paquet installé : /$fichier"; exit 1; }
done

# The desktop entry's command, found on a PATH that starts with the installed bin/.
commande=$(sed -n 's/^Exec=//p' "$racine/usr/share/applications/$identifiant.desktop")
mkdir -p "$essai/home"
donnees="$essai/home/.local/share/Mirasolve"
env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$essai/home" PATH="$racine/usr/bin:$PATH" \
  QT_QPA_PLATFORM=offscreen $commande &
programme=$!
for _ in $(seq 150); do
  [ -d "$donnees/Corbeille" ] && [ -d "$donnees/Signatures" ] && break
  sleep 0.2
done
if ! [ -d "$donnees/Corbeille" ] || ! [ -d "$donnees/Signatures" ]; then
  echo "le dossier de données n'est pas apparu dans $donnees"
  kill -KILL "$programme" || true
  exit 1
fi
sleep 1
kill -TERM "$programme"
wait "$programme"
[ -f "$donnees/Mirasolve.ini" ] || { echo "réglages non écrits dans $donnees"; exit 1; }
echo "installé : données dans ~/.local/share/Mirasolve, réglages écrits à la fin"

if [ "$(id -u)" = 0 ]; then
  dpkg -r mirasolve
  if dpkg -L mirasolve >/dev/null 2>&1 || [ -e /usr/bin/mirasolve ] || [ -e /usr/share/mirasolve ]; then
    echo "le paquet n'est pas retiré proprement"
    exit 1
  fi
  echo "retiré proprement"
fi

#!/usr/bin/env bash
# Makes the fuzz targets' seed corpora in fuzz/graines/ again, from the fixtures the tests write
# (the test build must exist: bash scripts/test.sh). The configuration target reads the fixture
# files of tests/fixtures/configuration directly and needs nothing here.
set -euo pipefail
cd "$(dirname "$0")/.."
graines=fuzz/graines
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The lifetime allocations of the encoders the tests write with are theirs, not leaks.
LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp" MIRASOLVE_GRAINES="$scratch" QT_QPA_PLATFORM=offscreen \
  build-tests/tests/test_source >/dev/null

rm -rf "$graines"
mkdir -p "$graines/images" "$graines/orientation" "$graines/magasin"
# Pictures of every format read: the small ones, whole; the orientation reader gets the JPEGs that
# hold an Exif block.
for f in "$scratch"/*; do
  taille=$(stat -c %s "$f")
  jpeg=false
  case "${f,,}" in
    *.jpg|*.jpeg|*.jpe) jpeg=true ;;
    *.gif|*.bmp|*.png|*.webp|*.tif|*.tiff|*.heic|*.heif|*.hif|*.avif|*.jxl) ;;
    *.dng|*.cr2|*.cr3|*.nef|*.nrw|*.arw|*.srf|*.sr2|*.orf|*.rw2|*.raf|*.pef|*.srw|*.3fr|*.iiq|*.erf|*.kdc|*.mrw|*.rwl) ;;
    *) continue ;;
  esac
  # Names kept to plain ASCII, whatever the tests named their files.
  nom=$(basename "$f" | LC_ALL=C tr -c 'A-Za-z0-9._\n-' '_')
  if [ "$taille" -gt 0 ] && [ "$taille" -le 4096 ]; then
    cp "$f" "$graines/images/$nom"
    if $jpeg && grep -q 'Exif' "$f"; then cp "$f" "$graines/orientation/$nom"; fi
  fi
done

# Stores: Index.txt, the folder's ".txt" and its ".dat", each ended by the separator line the
# store target splits on; sound ones and those of the store tests' damaged cases.
separateur=$'\n%%fichier%%\n'
base=ABCDEFGHIJKLMNOPQRST
magasin() { # name, index, txt, records, extra bytes
  {
    printf '%s%s' "$2" "$separateur"
    printf '%s%s' "$3" "$separateur"
    head -c $(($4 * 108 + $5)) /dev/zero | tr '\0' '\1'
  } >"$graines/magasin/$1"
}
index=$'/photos/vacances\n'$base$'\n'
magasin sain "$index" $'[Signatures]\na.jpg\nb.jpg\n[intraitables]\n/photos/vacances/c.gif\n[Doublons]\n0000000012*/photos/vacances/a.jpg*/photos/vacances/b.jpg*\n' 2 0
magasin vide "$index" $'[Signatures]\n[intraitables]\n[Doublons]\n' 0 0
magasin index-odd-lines.txt $'ligne perdue\n'"$index" $'[Signatures]\na.jpg\n[intraitables]\n' 1 0
magasin doublons-junk-lines.txt "$index" $'[Signatures]\na.jpg\n[intraitables]\n[Doublons]\n[Autre]\nn\'importe quoi\n12*/p/a.jpg*/p/b.jpg*\n0000000012**/p/b.jpg*\n' 1 0
magasin dat-partial-record.dat "$index" $'[Signatures]\na.jpg\nb.jpg\n[intraitables]\n' 2 50
magasin txt-names-without-records.txt "$index" $'[Signatures]\na.jpg\nb.jpg\nc.jpg\n' 1 0
# The stores of the tests' fixtures, each folder's three files in that order.
for dossier in tests/fixtures/magasin/*/; do
  {
    cat "$dossier/Index.txt"; printf '%s' "$separateur"
    cat "$dossier/$base.txt"; printf '%s' "$separateur"
    cat "$dossier/$base.dat"
  } >"$graines/magasin/$(basename "$dossier")"
done
du -sh "$graines"/*

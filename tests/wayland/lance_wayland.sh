#!/usr/bin/env bash
# Usage: lance_wayland.sh PROGRAM [ARGS...]
# Runs PROGRAM as a client of a headless Wayland compositor of its own: a private runtime folder,
# weston's headless back end on a socket there, the program on Qt's Wayland platform; weston is
# stopped and the folder removed whatever happened. Without weston the run fails, never skips.
set -uo pipefail

if ! command -v weston >/dev/null 2>&1; then
  echo "ÉCHEC : weston est introuvable ; installez le paquet « weston » (bash scripts/dependances.sh)." >&2
  exit 1
fi

# The screen the compositor gives its clients, in logical pixels (its back end multiplies them by
# the scale), at a whole scale (2: a high-density screen); the program under test is told both,
# to check them.
largeur=1280
hauteur=800
echelle="${MIRASOLVE_WESTON_ECHELLE:-1}"

dossier="$(mktemp -d "${TMPDIR:-/tmp}/mirasolve-wayland.XXXXXX")" || exit 1
chmod 0700 "$dossier"
journal="$dossier/weston.log"
prise="mirasolve-test"
weston_pid=""

termine() {
  if [ -n "$weston_pid" ] && kill -0 "$weston_pid" 2>/dev/null; then
    kill -TERM "$weston_pid" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$weston_pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$weston_pid" 2>/dev/null
    wait "$weston_pid" 2>/dev/null
  fi
  rm -rf "$dossier"
}
trap termine EXIT
trap 'exit 130' INT TERM HUP

# No configuration of the machine's user, no screen blanking, the CPU renderer (no GPU needed).
XDG_RUNTIME_DIR="$dossier" weston --backend=headless-backend.so --socket="$prise" \
  --width="$largeur" --height="$hauteur" --scale="$echelle" --use-pixman --idle-time=0 --no-config \
  --log="$journal" </dev/null >/dev/null 2>&1 &
weston_pid=$!

# Ready once its socket exists; a compositor that ended first fails the run with its log.
for _ in $(seq 100); do
  [ -S "$dossier/$prise" ] && break
  if ! kill -0 "$weston_pid" 2>/dev/null; then break; fi
  sleep 0.1
done
if [ ! -S "$dossier/$prise" ] || ! kill -0 "$weston_pid" 2>/dev/null; then
  echo "ÉCHEC : weston n'a pas ouvert sa prise Wayland « $prise » ; son journal :" >&2
  cat "$journal" >&2 2>/dev/null
  exit 1
fi

env -u DISPLAY XDG_RUNTIME_DIR="$dossier" WAYLAND_DISPLAY="$prise" QT_QPA_PLATFORM=wayland \
  MIRASOLVE_WESTON_ECRAN="${largeur}x${hauteur}" MIRASOLVE_WESTON_ECHELLE="$echelle" "$@"
code=$?
if [ "$code" -ne 0 ]; then
  echo "--- journal de weston ---" >&2
  cat "$journal" >&2 2>/dev/null
fi
exit "$code"

#!/usr/bin/env bash
# Installs what is missing, builds the release flavour and runs the program's main job:
# the sample invoice job of samples/faktura through tavrel-render to a PDF, then the
# resident utility.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release
bin="$PWD/build/release/bin"
out="$PWD/build/release/wydruki"
mkdir -p "$out"
# The ticket names its files relative to the sample folder; nothing there is deleted.
(cd samples/faktura && "$bin/tavrel-render" --out "$out" faktura.prn) | while read -r pdf; do
  echo "Przykładowe zlecenie (samples/faktura): PDF zapisany w $pdf"
done
[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
cd "$bin"   # the program folder: Tavrel.ini and the job tickets live here
exec ./tavrel

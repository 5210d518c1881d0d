#!/usr/bin/env bash
# Installs what is missing, builds the release flavour and starts the program's main job.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release
if [ -x build/release/bin/tavrel ]; then
  [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
  cd build/release/bin   # the program folder: Tavrel.ini and the job tickets live here
  exec ./tavrel
fi
echo "built; the program itself is not part of this build yet"

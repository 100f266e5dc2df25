#!/usr/bin/env bash
# Installs, builds and starts Pecunette. Without a display, says so and
# writes a picture of the start-up window instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  build/src/app/pecunette --screenshot pecunette-demarrage.png 2>/dev/null
  echo "Pas d'écran ici : l'image de la fenêtre de départ est dans $(pwd)/pecunette-demarrage.png"
  exit 0
fi
exec build/src/app/pecunette "$@"

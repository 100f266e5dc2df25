#!/usr/bin/env bash
# Renews the pictures in docs/ with the program's own --screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh >/dev/null
export XDG_CONFIG_HOME="$(mktemp -d)"  # the default labels and parameters, whoever runs it
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
for scene in demarrage cheque note; do
  build/src/app/pecunette --screenshot "docs/$scene.png" --scene "$scene" 2>/dev/null
done
cp docs/cheque.png docs/screenshot.png
echo "Images renouvelées dans docs/."

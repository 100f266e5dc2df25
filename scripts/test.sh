#!/usr/bin/env bash
# Installs, builds and runs every test; ends with CTest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cd build
ctest --output-on-failure -j "$(nproc)"

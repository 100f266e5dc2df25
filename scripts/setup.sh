#!/usr/bin/env bash
# Installs what Pecunette needs from Debian's packages (only what is missing),
# then configures and builds it in ./build. Quick when nothing changed.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-multimedia-dev qt6-qpa-plugins
  qt6-translations-l10n libx11-dev libgl-dev
  fonts-liberation2 fontconfig
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  xvfb xauth xdotool poppler-utils
  desktop-file-utils appstream dpkg-dev file lintian binutils gzip
  clang-format clang-tidy
  libqt6sql6-sqlite  # the SQLite driver of Qt SQL: the class journal
  libqt6sql6-psql  # the PostgreSQL driver of Qt SQL: the school server
  postgresql-15  # a server of their own for the tests of forwarding, and bench_forward
  python3  # its csv module reads the saved history back in the tests
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installation des paquets manquants : ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

build_type=${PECUNETTE_BUILD_TYPE:-RelWithDebInfo}
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="$build_type" >/dev/null
cmake --build build -j "$(nproc)"

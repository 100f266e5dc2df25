#!/usr/bin/env bash
# Installs, builds and runs every test; checks the formatting and clang-tidy;
# then builds the same suite with
# AddressSanitizer and UndefinedBehaviorSanitizer in ./build-asan and runs it
# there too. Each run ends with CTest's summary; the first failure stops it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
(cd build && ctest --output-on-failure -j "$(nproc)")

echo "Mise en forme et clang-tidy :"
scripts/check-style.sh

echo "Les mêmes tests sous AddressSanitizer et UndefinedBehaviorSanitizer (build-asan) :"
# -g1: line numbers in the reports without the weight of full debug information.
[ -f build-asan/build.ninja ] ||
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
    -DPECUNETTE_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$(nproc)"
cd build-asan
# The walk over every amount below a million in every style (label "long")
# ran in the plain build; here the same rules run through their sampled tests.
ctest --output-on-failure -j "$(nproc)" -LE long

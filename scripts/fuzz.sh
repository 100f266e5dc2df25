#!/usr/bin/env bash
# Builds the fuzz target of the cheque rules with clang (libFuzzer, ASan, UBSan)
# in ./build-fuzz and runs it for a fixed time: scripts/fuzz.sh [seconds, default 60].
# A crash or a sanitizer report stops it and leaves the input in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
command -v clang++ >/dev/null || { echo "scripts/fuzz.sh : clang++ manque (apt-get install clang)"; exit 1; }
[ -f build-fuzz/build.ninja ] ||
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPECUNETTE_FUZZ=ON >/dev/null
cmake --build build-fuzz --target fuzz_rules -j "$(nproc)"
# The corpus the fuzzer learns grows in the build folder and is reused by the next run.
mkdir -p build-fuzz/corpus build-fuzz/artifacts
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
build-fuzz/fuzz/fuzz_rules build-fuzz/corpus \
  -max_total_time="$seconds" -max_len=512 -timeout=10 -print_final_stats=1 \
  -artifact_prefix=build-fuzz/artifacts/

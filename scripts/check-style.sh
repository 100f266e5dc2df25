#!/usr/bin/env bash
# Fails on a formatting difference (.clang-format) or a clang-tidy warning
# (.clang-tidy) in the project's own C++ code. Needs ./build configured (it
# reads build/compile_commands.json).
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run --Werror "${sources[@]}" 2>/tmp/pecunette-format.log; then
  grep -E "error:" /tmp/pecunette-format.log | head -20
  echo "Mise en forme : lancez  clang-format -i \$(git ls-files '*.cpp' '*.h')"
  exit 1
fi

# clang-tidy reads what each file is compiled with; the tests and benchmarks
# repeat the same patterns, the program's own code is what it checks.
log=$(mktemp)
run-clang-tidy -p build -j "$(nproc)" -quiet "$root/src/.*\.cpp" >"$log" 2>&1
# Warnings in Qt's headers reached from our code are Qt's, not ours.
found=$(sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -E "^$root/(src|tests|bench|fuzz|tools)/[^:]+:[0-9]+:[0-9]+: (warning|error):" | sort -u)
rm -f "$log"
if [ -n "$found" ]; then
  echo "$found"
  echo "clang-tidy : $(echo "$found" | wc -l) avertissement(s) dans le code du projet."
  exit 1
fi
echo "Mise en forme et clang-tidy : rien à redire."

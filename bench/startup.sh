#!/usr/bin/env bash
# Start-up cost of Pecunette against a bare Qt window with the same modules:
# N paired runs of `pecunette --screenshot` and of bench/startup_baseline, each
# timed (wall clock) and measured (peak resident memory, from /usr/bin/time);
# prints the medians and the median of the per-pair ratios.
#   bench/startup.sh [runs, default 21] [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-21}
build=${2:-build}
pecunette=$build/src/app/pecunette
baseline=$build/bench/startup_baseline
for program in "$pecunette" "$baseline"; do
  [ -x "$program" ] || { echo "$program manque : cmake --build $build --target pecunette startup_baseline"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Both on the offscreen platform, with an empty settings store of their own.
export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen

# One run: "<milliseconds> <peak KiB>".
measure() {
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo "$(((end - start) / 1000)) $(cat "$work/rss")"
}

# Warm the disk cache and the font cache first: every measured run starts alike.
measure "$pecunette" --screenshot "$work/p.png" >/dev/null
measure "$baseline" "$work/b.png" >/dev/null

: >"$work/pairs"
for ((i = 0; i < runs; i++)); do
  # Alternate which one goes first, so that neither always follows the other.
  if ((i % 2)); then
    b=$(measure "$baseline" "$work/b.png"); p=$(measure "$pecunette" --screenshot "$work/p.png")
  else
    p=$(measure "$pecunette" --screenshot "$work/p.png"); b=$(measure "$baseline" "$work/b.png")
  fi
  echo "$p $b" >>"$work/pairs"
done

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
column() { awk "{ print $1 }" "$work/pairs" | median; }
printf 'runs: %d pairs\n' "$runs"
printf 'time    pecunette %6.1f ms   baseline %6.1f ms   ratio %.2f\n' \
  "$(column '$1 / 1000')" "$(column '$3 / 1000')" "$(column '$1 / $3')"
printf 'memory  pecunette %6.1f MiB  baseline %6.1f MiB  ratio %.2f\n' \
  "$(column '$2 / 1024')" "$(column '$4 / 1024')" "$(column '$2 / $4')"

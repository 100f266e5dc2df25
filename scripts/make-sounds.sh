#!/usr/bin/env bash
# Synthesizes the four sound cues of the exercise into assets/sons/ with sox and
# lame, then prints their length and level. The files are committed: run this
# only to change a cue.
#
#   son2.wav       a right drop       a short bright chime, two rising bell strokes
#   incorrect.mp3  a wrong drop       a soft low "ou-oh", two gentle descending notes
#   bravo.mp3      a finished cheque  a short happy arpeggio, do mi sol do
#   cgagne.mp3     a finished series  a longer fanfare ending on a held chord
#
# Every cue is brought to the same loudness: its loudest 0.4-second stretch has
# the same RMS level, so the fanfare is no louder than the chime.
set -euo pipefail
export LC_ALL=C
cd "$(dirname "$0")/.."

needed=(sox libsox-fmt-mp3 lame)
missing=()
for package in "${needed[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installation des paquets manquants : ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

out=assets/sons
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rate=44100
target_db=-16   # RMS of the loudest 0.4 s of every cue, in dBFS
# No dither: the same script always writes the same files.
SOX=(sox -D -V1)

count=0
part() { # part START SECONDS SOX-SYNTH-AND-EFFECTS... : one note, delayed by START seconds
  local start=$1 seconds=$2
  shift 2
  count=$((count + 1))
  "${SOX[@]}" -n -r "$rate" -c 1 -b 32 "$work/part$count.wav" synth "$seconds" "$@" pad "$start"
  parts+=("$work/part$count.wav")
}

mix() { # mix OUTPUT : the notes made since the last mix, played together
  if ((${#parts[@]} == 1)); then
    cp "${parts[0]}" "$1"
  else
    "${SOX[@]}" -m "${parts[@]}" "$1"
  fi
  parts=()
}

loudest_rms_db() { # the RMS level of the loudest 0.4-second stretch, in dBFS
  local file=$1 length best=-200 level
  length=$(sox --i -D "$file")
  for start in $(seq 0 0.05 "$length"); do
    level=$(sox "$file" -n trim "$start" 0.4 stat 2>&1 | awk '/^RMS +amplitude/ { print ($3 > 0 ? 20 * log($3) / log(10) : -200) }')
    best=$(awk -v a="$best" -v b="$level" 'BEGIN { print (b > a ? b : a) }')
  done
  echo "$best"
}

finish() { # finish MIX NAME : brings MIX to the common loudness and writes assets/sons/NAME
  local raw=$1 name=$2 level gain
  # Quiet tails trimmed, a 10 ms fade-in so no cue starts with a click.
  "${SOX[@]}" "$raw" "$work/trimmed.wav" reverse silence 1 0.01 -60d reverse fade t 0.01 gain -n -6
  level=$(loudest_rms_db "$work/trimmed.wav")
  gain=$(awk -v l="$level" -v t="$target_db" 'BEGIN { printf "%.2f", t - l }')
  "${SOX[@]}" "$work/trimmed.wav" -b 16 "$work/level.wav" gain "$gain"
  case "$name" in
    *.wav) cp "$work/level.wav" "$out/$name" ;;
    *.mp3)
      lame --quiet --noreplaygain -m m -b 96 "$work/level.wav" "$out/$name"
      # The encoder shaves a little off the level: make up for it once.
      level=$(loudest_rms_db "$out/$name")
      gain=$(awk -v g="$gain" -v l="$level" -v t="$target_db" 'BEGIN { printf "%.2f", g + t - l }')
      "${SOX[@]}" "$work/trimmed.wav" -b 16 "$work/level.wav" gain "$gain"
      lame --quiet --noreplaygain -m m -b 96 "$work/level.wav" "$out/$name"
      ;;
  esac
}

# A struck note dying away at a steady rate, as a bell or a xylophone bar does:
# 100 dB of decay over 2.4 times its length, a short fade at its end.
struck() { # struck START SECONDS GAIN-DB SYNTH-ARGS...
  local start=$1 seconds=$2 gain=$3 long
  shift 3
  long=$(awk -v s="$seconds" 'BEGIN { print s * 2.4 }')
  part "$start" "$long" "$@" fade l 0.004 "$long" "$long" trim 0 "$seconds" fade t 0 "$seconds" 0.04 gain "$gain"
}

times() { awk -v a="$1" -v b="$2" 'BEGIN { print a * b }'; }

# A bell stroke: the note and its octave, a touch of the twelfth that dies sooner.
bell() { # bell START FREQ SECONDS
  struck "$1" "$3" -3 sine "$2" sine mix "$(times "$2" 2)"
  struck "$1" "$(times "$3" 0.5)" -20 sine "$(times "$2" 3)"
}

# A xylophone-like note: a round tone with a short wooden knock four times higher.
mallet() { # mallet START FREQ SECONDS [GAIN-DB]
  struck "$1" "$3" "${4:-0}" sine "$2"
  struck "$1" "$(times "$3" 0.25)" "$((-20 + ${4:-0}))" sine "$(times "$2" 4)"
}

# A low, round, quiet note: a slow attack, no edge at all, just enough
# overtone that small loudspeakers still let it be heard.
soft() { # soft START FREQ SECONDS
  part "$1" "$3" sine "$2" sine mix "$(times "$2" 2)" fade h 0.04 "$3" "$(times "$3" 0.6)" lowpass 1000
}

# A brass-like note, warmed by a low-pass filter so it never blares.
horn() { # horn START FREQ SECONDS [GAIN-DB]
  local s=$3
  part "$1" "$s" sawtooth "$2" triangle mix "$2" lowpass 1800 lowpass 2600 \
    fade h 0.025 "$s" "$(awk -v s="$s" 'BEGIN { print (s > 0.4 ? 0.35 : s * 0.45) }')" gain "$((-6 + ${4:-0}))"
}

# son2.wav: mi then si, high and bright, 0.6 s.
parts=()
bell 0 1318.5 0.5
bell 0.11 1975.5 0.6
mix "$work/son2.wav"
finish "$work/son2.wav" son2.wav

# incorrect.mp3: si then sol, an octave and a half below the chime, 0.6 s.
soft 0 246.9 0.24
soft 0.2 196 0.42
mix "$work/incorrect.wav"
finish "$work/incorrect.wav" incorrect.mp3

# bravo.mp3: do mi sol do, the last one ringing, 1 s.
mallet 0 523.25 0.5
mallet 0.11 659.25 0.5
mallet 0.22 784 0.5
mallet 0.33 1046.5 0.65
mallet 0.33 523.25 0.65
mix "$work/bravo.wav"
finish "$work/bravo.wav" bravo.mp3

# cgagne.mp3: sol sol sol do... mi do, then the chord do mi sol do held, 2.9 s.
horn 0 392 0.16
horn 0.18 392 0.16
horn 0.36 392 0.16
horn 0.54 523.25 0.5
horn 1.08 659.25 0.16
horn 1.26 523.25 0.16
# The chord's four notes together sound about as loud as one note of the call.
horn 1.44 523.25 1.4 -5
horn 1.44 659.25 1.4 -5
horn 1.44 784 1.4 -5
mallet 1.44 1046.5 1.2 -8
mix "$work/cgagne.wav"
finish "$work/cgagne.wav" cgagne.mp3

printf '%-14s %8s %10s %10s\n' fichier "durée s" "crête dB" "RMS 0,4 s"
for name in son2.wav incorrect.mp3 bravo.mp3 cgagne.mp3; do
  file="$out/$name"
  peak=$(sox "$file" -n stat 2>&1 | awk '/^Maximum amplitude/ { a = $3 } /^Minimum amplitude/ { b = -$3 } END { m = (a > b ? a : b); printf "%.1f", 20 * log(m) / log(10) }')
  printf '%-14s %8.2f %10s %10.1f\n' "$name" "$(sox --i -D "$file")" "$peak" "$(loudest_rms_db "$file")"
done

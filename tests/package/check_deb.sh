#!/usr/bin/env bash
# Pecunette — apprendre à remplir un chèque.
# check_deb.sh BUILD-FOLDER APP-ID: builds the .deb with CPack, unpacks it with
# dpkg-deb into a scratch folder and checks that what it unpacked works there.
set -euo pipefail
build=$1
app_id=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "ÉCHEC : $*" >&2; exit 1; }

cd "$build"
cpack -G DEB -B "$scratch/cpack" >"$scratch/cpack.log" 2>&1 || { cat "$scratch/cpack.log" >&2; fail "cpack"; }
debs=("$scratch"/cpack/pecunette_*.deb)
[ -f "${debs[0]}" ] || fail "aucun .deb produit"
deb=${debs[0]}
echo "paquet : $(basename "$deb"), $(du -k "$deb" | cut -f1) Kio"

# The dependencies: from dpkg-shlibdeps, plus what is loaded at run time.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in libqt6widgets6 libqt6multimedia6 libqt6svg6 libc6 gstreamer1.0-plugins-good fonts-liberation2 \
               qt6-translations-l10n; do
  grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends sans $package"
done

# Debian's own checker: no error and no warning (its notes are only notes).
lintian_log="$scratch/lintian.log"
if ! lintian --fail-on error,warning "$deb" >"$lintian_log" 2>&1; then
  grep -E "^(E|W):" "$lintian_log" >&2 || cat "$lintian_log" >&2
  fail "lintian"
fi
echo "lintian : ni erreur ni avertissement"

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
for file in usr/bin/pecunette \
            "usr/share/applications/$app_id.desktop" \
            "usr/share/metainfo/$app_id.metainfo.xml" \
            "usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
            usr/share/pecunette/sons/son2.wav usr/share/pecunette/sons/incorrect.mp3 \
            usr/share/pecunette/sons/bravo.mp3 usr/share/pecunette/sons/cgagne.mp3; do
  [ -s "$root/$file" ] || fail "$file manque dans le paquet"
done
for file in usr/share/man/man1/pecunette.1.gz usr/share/doc/pecunette/changelog.gz \
            usr/share/doc/pecunette/copyright; do
  [ -s "$root/$file" ] || fail "$file manque dans le paquet"
done
# Hardened as Debian builds: position-independent, full RELRO, immediate binding.
readelf -h "$root/usr/bin/pecunette" | grep -q "DYN" || fail "le programme n'est pas indépendant de sa position"
readelf -l "$root/usr/bin/pecunette" | grep -q "GNU_RELRO" || fail "le programme n'a pas de RELRO"
readelf -d "$root/usr/bin/pecunette" | grep -qE "BIND_NOW|FLAGS.*NOW" || fail "le programme n'a pas de liaison immédiate"
for size in 16 32 48 64 128 256; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  [ -s "$icon" ] || fail "icône ${size}x${size} manquante"
  file "$icon" | grep -q "PNG image data, $size x $size" || fail "icône ${size}x${size} : $(file -b "$icon")"
done

# The unpacked program runs from where it was unpacked, with nobody's settings.
export XDG_CONFIG_HOME="$scratch/config"
wording=$("$root/usr/bin/pecunette" --wording 81)
[ "$wording" = "quatre-vingt-un francs" ] || fail "--wording 81 a écrit « $wording »"
QT_QPA_PLATFORM=offscreen "$root/usr/bin/pecunette" --screenshot "$scratch/fenetre.png" 2>"$scratch/screenshot.log" ||
  { cat "$scratch/screenshot.log" >&2; fail "--screenshot"; }
file "$scratch/fenetre.png" | grep -q "PNG image data" || fail "--screenshot n'a pas écrit d'image PNG"
echo "le programme déballé écrit les montants et l'image de sa fenêtre"

#!/usr/bin/env bash
# Installs into a temporary DESTDIR and checks what a desktop needs: the
# programs, a valid desktop entry, the icon and clean manual pages.
#   install_test.sh BUILD_DIR
set -u
build=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$dest cmake --install "$build" --prefix /usr >/dev/null || fail "cmake --install"
root=$dest/usr
[ -x "$root/bin/tresolva" ] || fail "no executable bin/tresolva"
desktop=$root/share/applications/tresolva.desktop
[ -f "$desktop" ] || fail "no desktop entry"
desktop-file-validate "$desktop" | grep -v "^$desktop: hint:" | grep . && fail "desktop entry invalid"
grep -qx "Categories=Education;Science;Math;" "$desktop" || fail "desktop categories"
grep -qx "Exec=tresolva" "$desktop" || fail "desktop Exec"
icon=$root/share/icons/hicolor/scalable/apps/tresolva.svg
xmllint --noout "$icon" 2>/dev/null || fail "icon is not well-formed SVG"
grep -q "<svg" "$icon" || fail "icon is not an SVG"
[ -x "$root/bin/tresolva-batch" ] || fail "no executable bin/tresolva-batch"
# manual NAME WORD...: installed, clean under groff, mentioning each word
manual() {
  local man=$root/share/man/man1/$1.1
  shift
  [ -f "$man" ] || fail "no manual page $man"
  warnings=$(groff -ww -man -z "$man" 2>&1)
  [ -z "$warnings" ] || fail "groff warnings: $warnings"
  text=$(MANWIDTH=80 man -l "$man" 2>/dev/null)
  for word in "$@"; do
    grep -q "$word" <<<"$text" || fail "the manual page $man does not mention: $word"
  done
}
manual tresolva NAME SYNOPSIS "left drag" "space bar" Reset Quit "Maximum Map" Zoom
manual tresolva-batch NAME SYNOPSIS settings render animate export lyapunov bifurcation ffmpeg \
  "EXIT STATUS"
echo "install: ok"

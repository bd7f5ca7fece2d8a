#!/usr/bin/env bash
# Installs into a temporary DESTDIR and checks what a desktop needs: the
# program, a valid desktop entry, the icon and a clean manual page.
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
man=$root/share/man/man1/tresolva.1
[ -f "$man" ] || fail "no manual page"
warnings=$(groff -ww -man -z "$man" 2>&1)
[ -z "$warnings" ] || fail "groff warnings: $warnings"
text=$(MANWIDTH=80 man -l "$man" 2>/dev/null)
for word in NAME SYNOPSIS "left drag" "space bar" Reset Quit "Maximum Map" Zoom; do
  grep -q "$word" <<<"$text" || fail "the manual page does not mention: $word"
done
echo "install: ok"

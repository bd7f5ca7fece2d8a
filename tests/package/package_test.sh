#!/usr/bin/env bash
# What a desktop and a Debian system get: installed into a temporary
# DESTDIR, the programs, a valid desktop entry, the icon and clean manual
# pages; then the CPack package, its contents and its dependencies.
#   package_test.sh BUILD_DIR
set -u
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$out/root cmake --install "$build" --prefix /usr >/dev/null || fail "cmake --install"
root=$out/root/usr
for p in tresolva tresolva-batch; do [ -x "$root/bin/$p" ] || fail "no executable bin/$p"; done
desktop=$root/share/applications/tresolva.desktop # a missing one fails validation too
[ -z "$(desktop-file-validate "$desktop" 2>&1)" ] || fail "desktop entry: $(desktop-file-validate "$desktop" 2>&1)"
grep -qx "Exec=tresolva" "$desktop" || fail "desktop Exec"
icon=$root/share/icons/hicolor/scalable/apps/tresolva.svg
xmllint --noout "$icon" 2>/dev/null && grep -q "<svg" "$icon" || fail "the icon is no SVG"
# manual NAME WORD...: installed and clean under groff (which says of a missing file), mentioning each word
manual() {
  local man=$root/share/man/man1/$1.1 warnings text word
  warnings=$(groff -ww -man -z "$man" 2>&1) && [ -z "$warnings" ] || fail "groff: $warnings"
  text=$(MANWIDTH=80 man -l "$man" 2>/dev/null)
  for word in "${@:2}"; do grep -q "$word" <<<"$text" || fail "the manual page $man does not mention: $word"; done
}
manual tresolva NAME SYNOPSIS "left drag" "space bar" Reset Quit "Maximum Map" Zoom
manual tresolva-batch NAME SYNOPSIS settings render animate export lyapunov bifurcation ffmpeg \
  "EXIT STATUS"

(cd "$out" && cpack -G DEB --config "$build/CPackConfig.cmake" >cpack.log 2>&1) ||
  fail "cpack: $(tail -5 "$out/cpack.log")"
deb=$(ls "$out"/tresolva_*.deb 2>/dev/null | head -n1)
contents=$(dpkg-deb -c "$deb" 2>/dev/null) || fail "no tresolva_*.deb"
for f in $(cd "$out/root" && find . -type f); do grep -q " $f\$" <<<"$contents" || fail "the package lacks $f"; done
grep -q "tests\|bench\|glcheck" <<<"$contents" && fail "the package holds test or benchmark files"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libglut libc6 libstdc++6 libstb0 libegl1 libgl2ps libtbb libplplot plplot-driver-cairo fonts-dejavu-core "libgl1\|libglx0"; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib"
done
# The Python module, where built: in Debian's Python path, imported from
# the package's files by Debian's Python, which the package depends on.
if compgen -G "$build/tresolva.cpython-*.so" >/dev/null; then
  for dep in "python3 (>= 3" "python3 (<< 3" python3-numpy; do
    grep -qF "$dep" <<<"$depends" || fail "Depends lacks $dep"; done
  dpkg-deb -x "$deb" "$out/unpacked"
  (cd "$out" && PYTHONPATH="$out/unpacked/usr/lib/python3/dist-packages" /usr/bin/python3 -c \
    'import tresolva; print(tresolva.__file__); assert tresolva.Settings()["dt"] == 0.005') |
    grep -q "unpacked/usr/lib/python3/dist-packages/tresolva" || fail "the packaged module does not import"
fi

#!/usr/bin/env bash
# Builds the Debian package with CPack and lists its contents and
# dependencies.   deb_test.sh BUILD_DIR
set -u
build=$1
if ! command -v dpkg-deb >/dev/null || ! command -v dpkg-shlibdeps >/dev/null; then
  echo "SKIP: dpkg-deb or dpkg-shlibdeps is missing (install dpkg-dev)"
  exit 77
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$out" && cpack -G DEB --config "$build/CPackConfig.cmake" >cpack.log 2>&1) ||
  fail "cpack: $(tail -5 "$out/cpack.log")"
deb=$(ls "$out"/tresolva_*.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || fail "no tresolva_*.deb"
echo "package: $(basename "$deb")"
contents=$(dpkg-deb -c "$deb")
echo "$contents" | awk '{print "  " $6}'
for f in ./usr/bin/tresolva ./usr/bin/tresolva-batch ./usr/share/applications/tresolva.desktop \
  ./usr/share/icons/hicolor/scalable/apps/tresolva.svg ./usr/share/man/man1/tresolva.1 \
  ./usr/share/man/man1/tresolva-batch.1; do
  grep -q " $f\$" <<<"$contents" || fail "the package lacks $f"
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libglut libc6 libstdc++6 libstb0 libegl1 libgl2ps libtbb; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib"
done
grep -q -E "libgl1|libglx0" <<<"$depends" || fail "Depends lacks OpenGL (libgl1 or libglx0)"
grep -q "tests\|bench\|glcheck" <<<"$contents" && fail "the package holds test or benchmark files"
echo "deb: ok"

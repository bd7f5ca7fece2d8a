#!/usr/bin/env bash
# Builds the web page with Debian's emscripten into build-web/site (an
# index.html, page.js, tresolva.js and tresolva.wasm: a static folder any web host
# serves), then serves it on 127.0.0.1 and prints the address.
#   scripts/web.sh [--build-only] [PORT]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh web
serve=1
[ "${1:-}" = --build-only ] && { serve=0; shift; }
port=${1:-8000}
out=build-web
mkdir -p "$out/obj" "$out/include" "$out/site"
# Only the settings library's headers, not the whole of /usr/include, which
# would shadow emscripten's own system headers.
ln -sfn /usr/include/toml++ "$out/include/toml++"
export NODE_PATH=/usr/share/nodejs # emscripten's optimiser needs Debian's acorn

flags=(-std=c++17 -O2 -ffp-contract=off -fexceptions -Isrc -isystem "$out/include")
sources=(src/sim/*.cpp src/render/*.cpp src/state/settings.cpp src/state/field.cpp src/state/settings_file.cpp src/state/link.cpp src/interact/*.cpp src/web/*.cpp)
printf '%s\n' "${sources[@]}" | xargs -P "$(nproc)" -I{} sh -c \
  'emcc "$@" -c {} -o '"$out"'/obj/$(basename {} .cpp).o' sh "${flags[@]}"
emcc "${flags[@]}" "$out"/obj/*.o -o "$out/site/tresolva.js" \
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 -sALLOW_MEMORY_GROWTH=1 \
  -sEXPORTED_FUNCTIONS="$(sed -n 's/^EMSCRIPTEN_KEEPALIVE [^(]*[ *]\(tresolva_[a-z_]*\)(.*/_\1/p' src/web/page.cpp |
                          tr '\n' ,)_main,_malloc,_free" -sEXPORTED_RUNTIME_METHODS=ccall,HEAPU8
cp src/web/index.html src/web/page.js "$out/site/"
echo "built $out/site: $(ls "$out/site" | tr '\n' ' ')"
[ $serve = 1 ] || exit 0
echo "serving the page at http://127.0.0.1:$port/ (Ctrl+C ends)"
exec python3 -m http.server --bind 127.0.0.1 --directory "$out/site" "$port"

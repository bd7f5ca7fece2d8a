#!/usr/bin/env bash
# Installs the Debian packages the viewer needs and are missing: "run" for
# building and running it, "test" adds what the headless tests use, "check"
# the code-quality tools; "web" is what the web page is built with.
set -euo pipefail

packages=(build-essential cmake pkg-config libimgui-dev freeglut3-dev libgl-dev libx11-dev
          libtomlplusplus-dev libcli11-dev libgl1-mesa-dri libegl-dev libegl-mesa0 libopengl-dev
          libgl2ps-dev libstb-dev libeigen3-dev libtbb-dev nlohmann-json3-dev
          libplplot-dev plplot-driver-cairo libhwy-dev fonts-dejavu-core
          pybind11-dev python3-dev python3-numpy)
if [ "${1:-run}" = check ]; then
  packages+=(clang-format clang-tidy cppcheck libgtest-dev)
fi
if [ "${1:-run}" = web ]; then
  packages=(emscripten python3 libtomlplusplus-dev)
fi
if [ "${1:-run}" = test ]; then
  packages+=(libgtest-dev xvfb xauth xdotool x11-apps x11-utils imagemagick
            desktop-file-utils libxml2-utils groff-base man-db dpkg-dev ffmpeg time
            emscripten chromium tesseract-ocr parallel python3-pytest python3-matplotlib)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

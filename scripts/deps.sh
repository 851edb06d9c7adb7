#!/usr/bin/env bash
# Installs everything the build, the tests and the demo need on Debian 12.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
  echo "run as root (apt-get installs the build dependencies)" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends \
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config \
  libgtest-dev libgmock-dev libbenchmark-dev \
  zlib1g-dev libjpeg-dev libpng-dev libgif-dev libpixman-1-dev libstb-dev \
  libsdl2-dev libx11-dev libxext-dev libxrandr-dev libxinerama-dev x11-xserver-utils libsdl2-mixer-dev timgm6mb-soundfont vorbis-tools libfltk1.3-dev fonts-liberation2 fonts-dejavu-core \
  xvfb xfonts-base x11-xkb-utils x11-utils xdotool x11-apps imagemagick libglib2.0-bin gsettings-desktop-schemas \
  libwebp-dev libheif-dev webp libheif-examples weston desktop-file-utils > /dev/null

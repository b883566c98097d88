#!/usr/bin/env bash
# Installs every Debian package Quillmor needs to build, run and test.
# Safe to run again: it does nothing (and says nothing) when all is there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config libgtest-dev libbenchmark-dev
  libogre-1.12-dev libcegui-mk2-dev libcegui-mk2-data libois-dev libbullet-dev
  libopenal-dev libsndfile1-dev libvorbis-dev libfann-dev libboost-serialization-dev
  libtinyxml-dev cimg-dev libpng-dev xvfb xauth libgl1-mesa-dri fonts-dejavu-core
  xdotool libjpeg-dev ccache glslang-tools libx11-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null

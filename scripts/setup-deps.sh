#!/usr/bin/env bash
# Installs every Debian package the project builds, tests and fuzzes with.
# Safe to run again: it only asks apt for what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools
  qt6-serialport-dev qt6-translations-l10n libqcustomplot-dev
  libqt6opengl6-dev libglu1-mesa-dev
  qt6-webengine-dev libjs-leaflet
  libcurl4-openssl-dev libpugixml-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth fonts-noto-cjk fonts-liberation2 lrzsz openssl python3
  # cpack runs it on each installed file to find the programs whose
  # libraries become the Debian package's dependencies
  file
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"

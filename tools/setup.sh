#!/usr/bin/env bash
# Shared by ./run and ./test: installs the Debian packages the build and the tests need
# (quietly, and only those that are missing), then configures and builds a release build in build/:
# the targets named as arguments (./run: the program and its PDF helper), or everything.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

packages=(cmake g++ ninja-build pkg-config qt6-base-dev qt6-image-formats-plugins libgl-dev
          fonts-dejavu-core fonts-dejavu-extra libbenchmark-dev survex therion locales
          desktop-file-utils shared-mime-info file
          libpoppler-qt6-dev libpoppler-private-dev libtiff-dev libproj-dev survex-aven
          qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
          libopencv-dev libtesseract-dev tesseract-ocr-eng tesseract-ocr-rus)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}" >&2
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  if ! $sudo apt-get install -y -q "${missing[@]}" >/dev/null; then
    $sudo apt-get update -q >/dev/null
    $sudo apt-get install -y -q "${missing[@]}" >/dev/null
  fi
fi

build="$here/build"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
if [ $# -gt 0 ]; then
  cmake --build "$build" --parallel "$(nproc)" --target "$@"
else
  cmake --build "$build" --parallel "$(nproc)"
fi

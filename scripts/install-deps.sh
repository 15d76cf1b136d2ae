#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Korvex needs.
# Quick no-op when all of them are already present.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libqt6openglwidgets6 qt6-qpa-plugins
    libgl-dev libgl1-mesa-dri libglu1-mesa-dev libegl-dev libegl-mesa0
    googletest libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
    libtinygltf-dev libtinyobjloader-dev libstb-dev
    xvfb xauth imagemagick fonts-dejavu-core fonts-dejavu-extra
    clang libclang-rt-dev
    librsvg2-bin dpkg-dev desktop-file-utils appstream libxml2-utils shared-mime-info libglib2.0-bin
    man-db lintian
    blender python3-numpy
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
# Node runs the glTF validator of the export tests; a Node installed another way will do.
if ! command -v node > /dev/null || ! command -v npm > /dev/null; then
    missing+=(nodejs npm)
fi
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"

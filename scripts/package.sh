#!/usr/bin/env bash
# Builds the Debian package of Korvex from the release build:
# build/package/korvex_VERSION_ARCH.deb. Install it with
#   sudo apt-get install ./build/package/korvex_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEX_WERROR=ON \
    > /dev/null
cmake --build build/release -j "$(nproc)"
cpack --config build/release/CPackConfig.cmake -B build/package
# Only the package stays; CPack's staging folder is rebuilt every time.
rm -rf build/package/_CPack_Packages
ls build/package/korvex_*.deb

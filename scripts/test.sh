#!/usr/bin/env bash
# Builds Korvex and runs every test: the full build under Xvfb, then the Qt-free core again
# under AddressSanitizer and UndefinedBehaviorSanitizer, then runs each fuzz target briefly.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEX_WERROR=ON
cmake --build build/release -j "$jobs"
# The Khronos glTF validator for the export tests, from the npm registry into the build folder.
validator=build/release/gltf-validator
if [ ! -f "$validator/node_modules/gltf-validator/package.json" ]; then
    npm install --prefix "$validator" --no-save --no-audit --no-fund gltf-validator@2.0.0-dev.3.10
fi
# -noreset: the server otherwise resets whenever its last client leaves, and a test that connects
# in that moment fails to find a display.
xvfb-run -a -s '-screen 0 1280x1024x24 -noreset' \
    ctest --test-dir build/release --output-on-failure -j "$jobs" --timeout 600

cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVEX_CORE_ONLY=ON \
    -DKORVEX_SANITIZE=ON -DKORVEX_WERROR=ON
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/sanitize --output-on-failure -j "$jobs" --timeout 900

# Every fuzz target for a minute on its corpus, built with clang.
scripts/fuzz.sh

# How much of the C++ is tests: at most a third, or the run fails.
scripts/count-lines.py --check

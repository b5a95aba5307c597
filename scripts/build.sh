#!/usr/bin/env bash
# Configures and builds Vantrel into build/; the program folder lands in build/Vantrel/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-Release}" >/dev/null
cmake --build build --parallel "$(nproc)"

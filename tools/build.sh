#!/usr/bin/env bash
# Configures and builds into ./build (reused between runs).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMARIS_WERROR=ON "$@"
cmake --build build -j2

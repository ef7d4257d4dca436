#!/usr/bin/env bash
# Configures and builds Kesp into build/ (the program, kesp-initdb, the tests
# and, when missing, build/data.dat).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

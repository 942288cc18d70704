#!/usr/bin/env bash
# Configures and builds everything into build/ (Release, Ninja).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${KOLVRANE_JOBS:-2}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build build -j"$jobs"

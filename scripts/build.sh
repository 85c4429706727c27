#!/usr/bin/env bash
# Configures and builds Paylark in build/ (or $PAYLARK_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${PAYLARK_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build_dir" -j "$(nproc)"

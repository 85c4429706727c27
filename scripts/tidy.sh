#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over every source file of the build's
# compile_commands.json (build/, or $PAYLARK_BUILD_DIR; configure it first). Fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${PAYLARK_BUILD_DIR:-build}
if [ ! -f "$build_dir/compile_commands.json" ]; then
  echo "No $build_dir/compile_commands.json: run scripts/build.sh first." >&2
  exit 1
fi
if ! command -v run-clang-tidy >/dev/null; then
  echo "clang-tidy is missing: apt-get install clang-tidy" >&2
  exit 1
fi
# Our own files only, not the code the build generates (Qt's moc and resources).
run-clang-tidy -p "$build_dir" -j "$(nproc)" -quiet "$(pwd)/(bench|cli|core|tests|ui)/"

#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds with warnings as errors and runs every
# test; then builds the core and paylark-cli again with the address and undefined-behaviour
# sanitizers and runs their tests there, and fuzzes the record decoder for a minute.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

echo "Checking the formatting"
if [ -d .git ] || [ -f .git ]; then
  git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
else
  find bench cli core tests ui \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run --Werror
fi

build_dir=${PAYLARK_BUILD_DIR:-build}
PAYLARK_BUILD_DIR=$build_dir scripts/build.sh -DPAYLARK_WERROR=ON
(cd "$build_dir" && ctest --output-on-failure -j "$(nproc)")

# The sanitized tree holds only what the core and command-line tests need.
sanitize_dir=${PAYLARK_SANITIZE_BUILD_DIR:-build-sanitize}
PAYLARK_BUILD_DIR=$sanitize_dir scripts/build.sh -DPAYLARK_SANITIZE=ON -DPAYLARK_BUILD_UI=OFF \
  -DPAYLARK_BUILD_BENCH=OFF
(cd "$sanitize_dir" && ctest --output-on-failure -j "$(nproc)")

# A minute of fuzzing the record decoder (skipped where clang or libFuzzer is missing).
scripts/fuzz.sh 60

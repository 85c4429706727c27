#!/usr/bin/env bash
# Installs what is missing, builds, and starts Paylark.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec "${PAYLARK_BUILD_DIR:-build}/paylark"

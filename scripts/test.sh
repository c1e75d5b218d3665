#!/usr/bin/env bash
# Sets everything up, builds, and runs every test with CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
PRESET="${LX_PRESET:-default}"
./scripts/build.sh
ctest --preset "$PRESET" -j2 "$@"

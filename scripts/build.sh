#!/usr/bin/env bash
# Installs the dependencies, configures and builds one preset (default: "default").
set -euo pipefail
cd "$(dirname "$0")/.."
PRESET="${LX_PRESET:-default}"
./scripts/install-deps.sh
cmake --preset "$PRESET" >/dev/null
cmake --build --preset "$PRESET"

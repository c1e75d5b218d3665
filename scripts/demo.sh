#!/usr/bin/env bash
# Sets everything up and shows the sample working folder through lxpack.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh >/dev/null
LXPACK=build/default/tools/lxpack/lxpack
echo "== lxpack stats examples/packs/*.lng"
"$LXPACK" stats examples/packs/*.lng
echo
echo "== lxpack dump examples/packs/ENU.lng"
"$LXPACK" dump examples/packs/ENU.lng

#!/usr/bin/env bash
# Sets everything up and starts GlotrixEd on a fresh copy of the sample
# working folder, in a program folder of its own (build/demo), so that the
# editor's settings, cache and lock file never touch the sources.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh >/dev/null
demo="$PWD/build/demo"
rm -rf "$demo"
mkdir -p "$demo/app"
cp -r examples/packs "$demo/packs"
cp -r build/default/editor/lang "$demo/app/lang"
export LX_APP_DIR="$demo/app/" LX_REGISTRY="$demo/registry.ini"
# The lock file names its holder: give the demo user a name, so that the
# first start asks nothing.
printf '[user]\r\nname=%s\r\n' "${USER:-demo}" >"$demo/app/main.ini"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    echo "No display here. Run the editor under a virtual one:"
    echo "  sudo apt-get install -y xvfb && xvfb-run -a $0"
    echo
    echo "Meanwhile, the sample working folder as lxpack sees it:"
    build/default/tools/lxpack/lxpack stats "$demo"/packs/*.lng
    exit 0
fi
exec build/default/editor/GlotrixEd "-p$demo/packs"

#!/usr/bin/env bash
# Installs every Debian package the project builds, tests, benchmarks and fuzzes with.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build pkg-config git
    libicu-dev
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools libqt6opengl6-dev libgl-dev
    fonts-dejavu-core
    libgtest-dev libgmock-dev
    libbenchmark-dev libpugixml-dev
    clang libclang-rt-14-dev
    clang-format
    libcurl4-openssl-dev python3-pyftpdlib
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: all ${#PACKAGES[@]} packages present"
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"

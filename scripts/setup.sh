#!/usr/bin/env bash
# Installs the Debian packages the build needs, skipping apt-get when all are present.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    clang libclang-rt-14-dev clang-format
    libgtest-dev libgmock-dev libbenchmark-dev
    libicu-dev libpixman-1-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
    libpng-dev libjpeg62-turbo-dev libgif-dev libsdl2-dev
    nlohmann-json3-dev libsqlite3-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages must be installed as root." >&2
        exit 1
    fi
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

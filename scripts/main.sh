#!/usr/bin/env bash
# Installs what is missing, builds and installs the library, then builds the example
# application against the installed package and runs it on the bundled defaults.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PWD/build/install"
cmake --build build
cmake --install build >/dev/null
cmake -S examples/hello -B build/examples/hello -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$PWD/build/install" -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$PWD/build/bin"
cmake --build build/examples/hello
LD_LIBRARY_PATH="$PWD/build/install/lib:${LD_LIBRARY_PATH:-}" ./build/bin/kwhello

# The package tool on the bundled reference language files.
for lang in English Spanish French Italian German; do
    ./build/bin/kwpkg info "build/share/kwctrls/$lang.lan"
    ./build/bin/kwpkg dump "build/share/kwctrls/$lang.lan" | grep -E '"id": (3|4|17), "text"' | head -n 3
done
./build/bin/kwpkg dump build/share/kwctrls/German.lan > build/German.json
./build/bin/kwpkg build build/German.json -o build/German.lan
cmp build/German.lan build/share/kwctrls/German.lan &&
    echo "German.lan: dump then build gives the same bytes"

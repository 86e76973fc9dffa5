#!/usr/bin/env bash
# Installs what is missing, builds korvex and starts it on the demo
# application folder. Extra arguments go to korvex (a configuration file name).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target korvex
cd demo
exec ../build/src/korvex "$@"

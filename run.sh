#!/usr/bin/env bash
# Installs what is missing, builds korvex and gridmerk and starts one of them
# on the demo application folder:
#   ./run.sh [configuration file]   korvex (an optional configuration file name)
#   ./run.sh gridmerk               gridmerk, the position list converter
# korvex starts gridmerk itself from Tools > Chart file convertor.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target korvex gridmerk
cd demo
if [ "${1:-}" = gridmerk ]; then
  shift
  exec ../build/src/gridmerk "$@"
fi
exec ../build/src/korvex "$@"

#!/usr/bin/env bash
# Installs what is missing, builds korvex and gridmerk and starts one of them
# on a working copy of the demo application folder:
#   ./run.sh [configuration file]   korvex (an optional configuration file name)
#   ./run.sh gridmerk               gridmerk, the position list converter
# korvex starts gridmerk itself from Tools > Chart file convertor.
#
# The working copy, demo-work/, is made from demo/ on the first run and kept:
# the logs, the settings korvex saves at exit and gridmerk's Gmk.pfg stay
# there from one run to the next, and demo/ itself is never changed.
# Remove demo-work/ to start afresh from demo/.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target korvex gridmerk
work=demo-work
if [ ! -d "$work" ]; then
  # Copied whole before it takes the name, so a copy cut short is not kept.
  rm -rf "$work.partial"
  cp -a demo "$work.partial"
  mv "$work.partial" "$work"
fi
cd "$work"
if [ "${1:-}" = gridmerk ]; then
  shift
  exec ../build/src/gridmerk "$@"
fi
exec ../build/src/korvex "$@"

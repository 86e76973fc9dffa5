#!/usr/bin/env bash
# Writes the demo chart "harbour" (demo/charts/harbour.cht, .cfg and .wpt)
# and the demo route "approach" (demo/routes/approach.rte) from the position
# lists in tests/nav/DemoChartTest.cpp, with korvex's own chart,
# configuration, waypoint and route writers.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target test_nav
KV_REGENERATE_DEMO=1 build/tests/test_nav --gtest_filter='DemoChart*'

#!/usr/bin/env bash
# Writes the demo chart "harbour" (demo/charts/harbour.cht, .cfg and .wpt)
# and the demo route "approach" (demo/routes/approach.rte) from the position
# lists in tests/nav/DemoChartTest.cpp, with korvex's own chart,
# configuration, waypoint and route writers; then the chartlet "Entrance"
# (demo/charts/Entrance.jpg and .ref) drawn from that chart by
# tests/dialogs/DemoChartletTest.cpp; and the tidal atlas "harbour"
# (demo/tides) and the survey log "survey" (demo/logs) from the lists in
# tests/nav/DemoSurveyTest.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target test_nav test_dialogs
KV_REGENERATE_DEMO=1 build/tests/test_nav --gtest_filter='DemoChart*:DemoSurvey*'
KV_REGENERATE_DEMO=1 QT_QPA_PLATFORM=offscreen build/tests/test_dialogs --gtest_filter='DemoChartlet*'

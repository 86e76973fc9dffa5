#!/usr/bin/env bash
# Runs a command on a desktop of its own: a virtual X server (Xvfb) on a
# free display with the openbox window manager, Qt on its xcb platform.
# The screen is 1280x1024 unless KV_DESKTOP_SCREEN says otherwise
# (WIDTHxHEIGHTxDEPTH, e.g. 1024x768x24).
# The tests that look at the real window stack run through it. Exits 77
# (ctest: skipped) only when Xvfb is missing or cannot start.
set -u
command -v Xvfb >/dev/null || { echo "Xvfb is not installed: skipped" >&2; exit 77; }
work=$(mktemp -d)
xvfb=0 wm=0
cleanup() {
  [ "$wm" -ne 0 ] && kill "$wm" 2>/dev/null
  [ "$xvfb" -ne 0 ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# Xvfb picks a free display itself and writes its number once it listens.
Xvfb -displayfd 3 -screen 0 "${KV_DESKTOP_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$work/display" ]; then
  echo "Xvfb did not start: skipped" >&2
  cat "$work/xvfb.log" >&2
  exit 77
fi
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb
# The plain Qt dialogs, whatever desktop the caller runs on.
unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP
export XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
"$@"
status=$?
[ $status -ne 0 ] && [ -s "$work/openbox.log" ] && cat "$work/openbox.log" >&2
exit $status

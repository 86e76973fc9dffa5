#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# Quick when everything is there: only dpkg is asked.
set -euo pipefail
packages=(
  g++ clang libclang-rt-14-dev cmake ninja-build pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins libqt6svg6
  libjpeg62-turbo-dev libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core proj-bin libchm-dev
  # The window-stack tests: an X server and window manager of their own
  # (scripts/on-desktop.sh), read back through libxcb.
  xvfb openbox libxcb1-dev
  # Sound: Qt Multimedia's GStreamer backend builds its player from elements
  # of the base and good plugin sets (without them korvex plays no prompt),
  # and plays through the PulseAudio/PipeWire or the ALSA sink.
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  gstreamer1.0-pulseaudio gstreamer1.0-alsa
  # The text and AIS log viewers open the logs in the desktop's program
  # for the file through xdg-open.
  xdg-utils
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

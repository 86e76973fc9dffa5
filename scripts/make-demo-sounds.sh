#!/usr/bin/env bash
# Writes the voice prompts of the demo folder: the steering cues, the
# waypoint prompts and the eight AIS sectors, spoken by espeak-ng and kept
# small (11025 Hz, 16-bit mono). Needs espeak-ng (Debian package espeak-ng);
# commit the files it writes.
set -euo pipefail
cd "$(dirname "$0")/../demo"
say() { # <file> <words>
  local tmp
  tmp=$(mktemp --suffix=.wav)
  espeak-ng -v en-gb -s 150 -w "$tmp" "$2"
  python3 - "$tmp" "$1" <<'PY'
import sys, wave, struct
src = wave.open(sys.argv[1], 'rb')
assert src.getnchannels() == 1 and src.getsampwidth() == 2
rate, frames = src.getframerate(), src.readframes(src.getnframes())
samples = struct.unpack('<%dh' % (len(frames) // 2), frames)
if rate == 22050:  # every second sample, averaged with its neighbour
    samples = [(samples[i] + samples[i + 1]) // 2 for i in range(0, len(samples) - 1, 2)]
    rate = 11025
out = wave.open(sys.argv[2], 'wb')
out.setnchannels(1); out.setsampwidth(2); out.setframerate(rate)
out.writeframes(struct.pack('<%dh' % len(samples), *samples))
PY
  rm -f "$tmp"
}
say left.wav "Steer left"
say right.wav "Steer right"
say OnTrack.wav "On track"
say approach.wav "Approaching waypoint"
say select.wav "Select next waypoint"
say Ahead.wav "Target ahead"
say AheadStarboard.wav "Target ahead, to starboard"
say Starboard.wav "Target to starboard"
say AsternStarboard.wav "Target astern, to starboard"
say Astern.wav "Target astern"
say AsternPort.wav "Target astern, to port"
say Port.wav "Target to port"
say AheadPort.wav "Target ahead, to port"

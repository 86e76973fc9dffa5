#!/usr/bin/env python3
"""Regenerates ais_expected.tsv from the shared AIS test set.

    python3 tests/data/ais/make_expected.py ../shared/testdata/ais/ais_decoded.jsonl

One line per message, in the order of aivdm_sentences.nmea: the message id,
the assembled payload and every field of the decoded target record. Texts are
kept as transmitted ('@' and trailing blanks included); none can hold a tab.
"""
import json
import os
import sys

FIELDS = ["message_type", "repeat", "mmsi", "nav_status", "rot_byte", "sog", "pos_accuracy", "lon",
          "lat", "cog", "heading", "timestamp", "maneuver_and_spare", "bit148", "raim", "radio",
          "utc_year", "utc_month", "utc_day", "utc_hour", "utc_minute", "utc_second", "epfd",
          "ais_version", "imo", "callsign", "name", "ship_type", "to_bow", "to_stern", "to_port",
          "to_starboard", "eta_code", "draught", "destination", "dte"]

src = sys.argv[1]
out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "ais_expected.tsv")
with open(src, encoding="utf-8") as f, open(out, "w", encoding="latin-1", newline="\n") as o:
    o.write("\t".join(["id", "payload"] + FIELDS) + "\n")
    for line in f:
        m = json.loads(line)
        rec = m["record"]
        assert set(rec) == set(FIELDS), sorted(set(rec) ^ set(FIELDS))
        cells = [str(m["id"]), m["payload"]] + [str(rec[k]) for k in FIELDS]
        assert not any("\t" in c or "\n" in c for c in cells)
        o.write("\t".join(cells) + "\n")

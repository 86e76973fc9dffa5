#!/usr/bin/env python3
"""Writes demo/logs/harbour-demo.AIS: an AIS log of a dozen vessels and a
base station moving about the demo harbour (50 48.3 N, 1 18.0 W), with the
own vessel's $GPGGA fixes between them, in the layout korvex writes its daily
AIS logs (header line, "!AIVDM" sentences, the GPS sentence whenever its time
changes; CR LF line ends). Play it back with the AIS playback button.

The messages are made here from the ITU-R M.1371 bit layouts (types 1, 4
and 5, type 5 in two fragments); nothing is taken from a recording. The run
is deterministic: the same file comes out every time.
"""

import math
import os

HARBOUR_LAT = 50.805
HARBOUR_LON = -1.30  # east positive, as AIS sends it
START = 9 * 3600 + 30 * 60  # 09:30:00
ROUNDS = 30
ROUND_SECONDS = 20


class Bits:
    def __init__(self):
        self.bits = []

    def put(self, value, width):
        value &= (1 << width) - 1  # two's complement for negative values
        self.bits.extend((value >> (width - 1 - i)) & 1 for i in range(width))

    def text(self, s, chars):
        s = s.upper().ljust(chars, "@")[:chars]
        for c in s:
            o = ord(c)
            self.put(o - 64 if o >= 64 else o, 6)

    def armour(self):
        fill = (-len(self.bits)) % 6
        bits = self.bits + [0] * fill
        out = []
        for i in range(0, len(bits), 6):
            v = int("".join(map(str, bits[i:i + 6])), 2)
            out.append(chr(v + 48 if v < 40 else v + 56))
        return "".join(out), fill


def checksum(body):
    x = 0
    for c in body:
        x ^= ord(c)
    return "%02X" % x


def aivdm(payload, fill, count=1, number=1, seq=""):
    body = "AIVDM,%d,%d,%s,A,%s,%d" % (count, number, seq, payload, fill)
    return "!" + body + "*" + checksum(body)


def position_report(mmsi, lat, lon, sog, cog, heading, second, status=0):
    b = Bits()
    b.put(1, 6)
    b.put(0, 2)
    b.put(mmsi, 30)
    b.put(status, 4)
    b.put(-128, 8)  # rate of turn not available
    b.put(int(round(sog * 10)), 10)
    b.put(1, 1)
    b.put(int(round(lon * 600000)), 28)
    b.put(int(round(lat * 600000)), 27)
    b.put(int(round(cog * 10)) % 3600, 12)
    b.put(heading, 9)
    b.put(second % 60, 6)
    b.put(0, 2)
    b.put(0, 3)
    b.put(0, 1)
    b.put(0, 19)
    return [aivdm(*b.armour())]


def base_station(mmsi, lat, lon, seconds):
    b = Bits()
    b.put(4, 6)
    b.put(0, 2)
    b.put(mmsi, 30)
    for value, width in ((2026, 14), (12, 4), (7, 5), (seconds // 3600, 5), (seconds // 60 % 60, 6),
                         (seconds % 60, 6)):
        b.put(value, width)
    b.put(1, 1)
    b.put(int(round(lon * 600000)), 28)
    b.put(int(round(lat * 600000)), 27)
    b.put(1, 4)  # GPS
    b.put(0, 10)
    b.put(0, 1)
    b.put(0, 19)
    return [aivdm(*b.armour())]


def static_data(mmsi, call, name, ship_type, bow, stern, port, starboard, draught, dest, seq):
    b = Bits()
    b.put(5, 6)
    b.put(0, 2)
    b.put(mmsi, 30)
    b.put(0, 2)
    b.put(9000000 + mmsi % 1000000, 30)
    b.text(call, 7)
    b.text(name, 20)
    b.put(ship_type, 8)
    b.put(bow, 9)
    b.put(stern, 9)
    b.put(port, 6)
    b.put(starboard, 6)
    b.put(1, 4)
    b.put(12, 4)  # ETA 7 December 14:30
    b.put(7, 5)
    b.put(14, 5)
    b.put(30, 6)
    b.put(draught, 8)
    b.text(dest, 20)
    b.put(0, 1)
    b.put(0, 1)
    payload, fill = b.armour()
    return [aivdm(payload[:60], 0, 2, 1, str(seq)), aivdm(payload[60:], fill, 2, 2, str(seq))]


def gga(seconds, lat, lon):
    def dm(value, degree_digits):
        value = abs(value)
        d = int(value)
        return "%0*d%07.4f" % (degree_digits, d, (value - d) * 60)

    t = "%02d%02d%02d" % (seconds // 3600, seconds // 60 % 60, seconds % 60)
    body = "GPGGA,%s,%s,%s,%s,%s,1,08,1.0,5.0,M,47.0,M,," % (
        t, dm(lat, 2), "N" if lat >= 0 else "S", dm(lon, 3), "E" if lon >= 0 else "W")
    return "$" + body + "*" + checksum(body)


# name, call sign, ship type, dimensions (bow, stern, port, starboard),
# draught (0.1 m), destination, speed (knots), and the track: a circle of
# radius r (degrees) around an offset from the harbour, or a straight run.
VESSELS = [
    ("SOLENT TRADER", "MSTR1", 70, (80, 20, 6, 10), 57, "SOUTHAMPTON", 8.0, ("line", -0.020, -0.030, 40)),
    ("ISLAND FERRY", "MIFR2", 60, (45, 15, 7, 7), 32, "COWES", 12.0, ("line", 0.018, 0.025, 220)),
    ("PILOT CUTTER", "MPIL3", 50, (12, 4, 2, 2), 15, "PILOT STATION", 14.0, ("circle", 0.004, -0.006, 0.006)),
    ("HARBOUR TUG", "MTUG4", 52, (20, 8, 4, 4), 40, "BERTH 4", 6.0, ("circle", -0.003, 0.004, 0.003)),
    ("SEA WITCH", "MSWT5", 36, (9, 3, 2, 2), 18, "YARMOUTH", 5.5, ("line", -0.010, 0.020, 300)),
    ("BLUE HERON", "MBHR6", 37, (11, 3, 2, 2), 16, "LYMINGTON", 6.0, ("circle", 0.008, 0.010, 0.004)),
    ("DREDGER NO 2", "MDRG7", 33, (50, 10, 6, 6), 45, "SPOIL GROUND", 3.0, ("line", 0.012, -0.018, 150)),
    ("FISHER KING", "MFSH8", 30, (14, 4, 3, 3), 22, "FISHING", 4.0, ("circle", -0.012, -0.010, 0.005)),
    ("NORTHERN STAR", "MNST9", 80, (150, 30, 12, 12), 95, "FAWLEY", 7.0, ("line", -0.025, 0.010, 20)),
    ("WATER TAXI", "MWTX0", 60, (8, 2, 2, 2), 8, "TOWN QUAY", 9.0, ("circle", 0.002, 0.001, 0.002)),
    ("CORMORANT", "MCRM1", 36, (10, 3, 2, 2), 17, "HAMBLE", 5.0, ("line", 0.020, -0.005, 250)),
    ("SURVEY ONE", "MSRV2", 58, (16, 5, 3, 3), 20, "SURVEY AREA", 4.5, ("circle", -0.006, 0.015, 0.004)),
]
BASE_MMSI = 2320001
BASE_POSITION = (HARBOUR_LAT + 0.0025, HARBOUR_LON - 0.004)


def vessel_position(track, speed, elapsed, index):
    """Latitude, longitude (east positive), course after `elapsed` seconds."""
    run = speed * elapsed / 3600 / 60  # degrees of latitude run
    coslat = math.cos(math.radians(HARBOUR_LAT))
    if track[0] == "line":
        _, dlat, dlon, course = track
        a = math.radians(course)
        return (HARBOUR_LAT + dlat + run * math.cos(a), HARBOUR_LON + dlon + run * math.sin(a) / coslat, course)
    _, dlat, dlon, r = track
    t = run / r + index  # radians round the circle, anticlockwise
    lat = HARBOUR_LAT + dlat + r * math.sin(t)
    lon = HARBOUR_LON + dlon + r * math.cos(t) / coslat
    course = (math.degrees(-t)) % 360  # tangent of an anticlockwise circle
    return lat, lon, course


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    lines = ["AIS Log Date : 07-12-26"]
    seq = 0
    for round_ in range(ROUNDS):
        seconds = START + round_ * ROUND_SECONDS
        elapsed = round_ * ROUND_SECONDS
        # The own vessel steams slowly north-east out of the harbour.
        own_lat = HARBOUR_LAT - 0.004 + elapsed * 0.000004
        own_lon = HARBOUR_LON - 0.002 + elapsed * 0.000005
        lines.append(gga(seconds, own_lat, own_lon))
        if round_ % 5 == 0:
            lines += base_station(BASE_MMSI, BASE_POSITION[0], BASE_POSITION[1], seconds)
        for i, (name, call, ship_type, dims, draught, dest, speed, track) in enumerate(VESSELS):
            mmsi = 235090001 + i
            lat, lon, course = vessel_position(track, speed, elapsed, i)
            heading = int(round(course)) % 360 if i % 3 else 511
            status = 5 if speed < 3.5 else (7 if ship_type == 30 else 0)
            lines += position_report(mmsi, lat, lon, speed, course, heading, seconds, status)
            if round_ % 10 == i % 10:
                lines += static_data(mmsi, call, name, ship_type, *dims, draught, dest, seq % 10)
                seq += 1
    path = os.path.join(root, "demo", "logs", "harbour-demo.AIS")
    with open(path, "w", encoding="latin-1", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")
    print("wrote %s (%d lines)" % (os.path.relpath(path, root), len(lines)))


if __name__ == "__main__":
    main()

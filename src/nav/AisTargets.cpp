#include "nav/AisTargets.h"

#include "nav/AisDatabase.h"
#include "nav/AisSelection.h"
#include "nav/NavMaths.h"
#include "nav/NavState.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>

namespace nav
{

namespace
{

// AIS positions are 1/10000 minute.
constexpr double kAisUnitsPerDegree = 600000.0;

bool IsPositionReport(int type)
{
    return type >= 1 && type <= 3;
}

bool IsBaseStationReport(int type)
{
    return type == 4 || type == 11;
}

// Adds the decoded position to the slot's trail unless it equals the newest
// entry (exact comparison: a target lying still adds nothing) or the message
// has no valid position (AisHasPosition): the trail holds real positions only.
void UpdateTrail(int slot, const AisTargetRecord& d)
{
    if (!AisHasPosition(d))
        return;
    AisTargetRecord& s = AisTargets[slot];
    const AisTrailPoint p { d.latitude / kAisUnitsPerDegree, d.longitude / kAisUnitsPerDegree };
    if (s.trailCount > 0) {
        const AisTrailPoint& newest = s.trail[std::min<std::size_t>(s.trailCount, kAisTrailLength)];
        if (newest.lat == p.lat && newest.lon == p.lon)
            return;
    }
    ShiftTargetTrack(slot);
    s.trail[s.trailCount] = p;
}

// Runs one use of the database. A read or write error is reported once in
// `result` and the database rests (AisDbSuspended) until it is switched
// again, rather than failing at every AIS sentence.
template <typename Use> void UseDatabase(AisMergeResult& result, Use use)
{
    if (AisDbSuspended)
        return;
    try {
        use();
    } catch (const std::exception& e) {
        AisDbSuspended = true;
        result.databaseError = e.what();
    }
}

// Static data of a merged type 5 message go to the database when the vessel
// is not in it yet. A file that cannot be opened is skipped.
void RecordInDatabase(const AisTargetRecord& s)
{
    const std::string path = AisDatabasePath();
    const AisDatabaseLookup known = SearchAisDatabase(path, s.mmsi);
    if (!known.opened || known.found)
        return;
    const int32_t records = AppendAisDatabase(path, AisDatabaseRecordFor(s));
    if (records >= 0)
        AisDbRecordCount = records;
}

void MergeIntoSlot(int slot, const AisTargetRecord& d, const AisMergeOptions& options, AisMergeResult& result)
{
    AisTargetRecord& s = AisTargets[slot];
    s.lastHeard = options.now;
    if (IsPositionReport(d.messageType)) {
        s.messageType = d.messageType;
        s.repeatIndicator = d.repeatIndicator;
        s.mmsi = d.mmsi;
        s.navStatus = d.navStatus;
        s.rateOfTurn = d.rateOfTurn;
        s.speedOverGround = d.speedOverGround;
        s.positionAccuracy = d.positionAccuracy;
        s.longitude = d.longitude;
        s.latitude = d.latitude;
        s.courseOverGround = d.courseOverGround;
        UpdateTrail(slot, d);
        s.trueHeading = d.trueHeading;
        s.timeStamp = d.timeStamp;
        s.manoeuvre = d.manoeuvre;
        s.spareFlag = d.spareFlag;
        s.raimFlag = d.raimFlag;
        s.radioStatus = d.radioStatus;
    } else if (IsBaseStationReport(d.messageType)) {
        s.messageType = d.messageType;
        s.repeatIndicator = d.repeatIndicator;
        s.mmsi = d.mmsi;
        s.utcYear = d.utcYear;
        s.utcMonth = d.utcMonth;
        s.utcDay = d.utcDay;
        s.utcHour = d.utcHour;
        s.utcMinute = d.utcMinute;
        s.utcSecond = d.utcSecond;
        s.longitude = d.longitude;
        s.latitude = d.latitude;
        UpdateTrail(slot, d);
        s.positionAccuracy = d.positionAccuracy;
        s.epfdType = d.epfdType;
        s.epfdWord = d.epfdWord;
        s.raimFlag = d.raimFlag;
        s.radioStatus = d.radioStatus;
    } else if (d.messageType == 5) {
        s.messageType = d.messageType;
        s.repeatIndicator = d.repeatIndicator;
        s.mmsi = d.mmsi;
        s.aisVersion = d.aisVersion;
        s.imoNumber = d.imoNumber;
        s.callSign = d.callSign;
        s.name = d.name;
        s.shipType = d.shipType;
        s.toBow = d.toBow;
        s.toStern = d.toStern;
        s.toPort = d.toPort;
        s.toStarboard = d.toStarboard;
        s.epfdType = d.epfdType;
        s.eta = d.eta;
        s.draught = d.draught;
        s.destination = d.destination;
        s.dteFlag = d.dteFlag;
    }
    if (options.updateDatabase && s.messageType == 5)
        UseDatabase(result, [&] { RecordInDatabase(s); });
}

// How far a target lies for the choice of the one to give way in a full
// table: a target without a position counts as beyond every other.
double RangeForRoom(const AisTargetRecord& t)
{
    return AisHasPosition(t) ? AisTargetRangeNm(t) : std::numeric_limits<double>::infinity();
}

// The slot a new target `d` takes: the next free one. In a full table the
// target that matters least gives way: one without a position first (of
// those, the one heard least recently), else the one farthest from the own
// vessel, never the selected one, and only to a newcomer nearer than it.
// 0 leaves the newcomer out (a newcomer without a position never displaces
// a target).
int SlotForNewTarget(const AisTargetRecord& d)
{
    if (AisTargetCount < kMaxAisTargets) {
        AisTargetCount = std::max<int32_t>(AisTargetCount, 0) + 1;
        return AisTargetCount;
    }
    AisTargetCount = kMaxAisTargets;
    const int selected = AisSelectionValid() ? SelectedAisTarget : 0;
    int farthest = 0;
    double farthestRange = 0;
    for (int i = 1; i <= kMaxAisTargets; ++i) {
        if (i == selected)
            continue;
        const double range = RangeForRoom(AisTargets[i]);
        if (farthest == 0 || range > farthestRange
            || (range == farthestRange && AisTargets[i].lastHeard < AisTargets[farthest].lastHeard)) {
            farthest = i;
            farthestRange = range;
        }
    }
    return farthest > 0 && RangeForRoom(d) < farthestRange ? farthest : 0;
}

// A target that has just got its first trail entry is announced: always with
// a beep, and with its bearing sector when voice is on, the own track gives a
// course made good (two fixes at least, with a move between them) and the
// program is not a shore station.
void Announce(int slot, const AisMergeOptions& options, AisMergeResult& result)
{
    const AisTargetRecord& s = AisTargets[slot];
    result.announce = true;
    const bool courseKnown = LogCount > 1 && NavCourseKnown;
    if (options.voice && courseKnown && !options.monitorMode && s.messageType >= 1 && s.messageType <= 11) {
        const AisTrailPoint& p = s.trail[s.trailCount];
        result.sectorWord = AisSectorWord(AisRelativeBearing(p.lat, p.lon));
    }
}

} // namespace

AisMergeResult UpdateAisTargets(const AisMergeOptions& options)
{
    AisMergeResult result;
    if (!AisDecodeFresh)
        return result;
    AisDecodeFresh = false;
    const AisTargetRecord& d = AisDecodeRecord;
    if (d.mmsi <= 0)
        return result;

    const int count = std::clamp<int32_t>(AisTargetCount, 0, kMaxAisTargets);
    for (int i = 1; i <= count; ++i) {
        if (AisTargets[i].mmsi != d.mmsi)
            continue;
        const bool hadPosition = AisTargets[i].trailCount > 0;
        MergeIntoSlot(i, d, options, result);
        if (!hadPosition && AisTargets[i].trailCount > 0)
            Announce(i, options, result);
        result.slot = i;
    }
    if (result.slot > 0)
        return result;

    const int slot = SlotForNewTarget(d);
    if (slot == 0)
        return result;
    AisTargetRecord& s = AisTargets[slot];
    s = d;
    s.lastHeard = options.now;
    s.trail.fill({});
    // Static data carry no position, and a report may say its position is
    // not available: such a target has no trail until its first real
    // position, rather than a point at 0 N 0 E or beyond the pole.
    s.trailCount = 0;
    if (d.messageType == 5) {
        // The record's position fields read "not available" (91 N, 181 E)
        // until a report brings one.
        s.latitude = static_cast<int32_t>(91 * kAisUnitsPerDegree);
        s.longitude = static_cast<int32_t>(181 * kAisUnitsPerDegree);
    }
    if (!IsPositionReport(d.messageType)) {
        // Only a position report gives speed, course and heading; until one
        // comes they read "not available", not a vessel lying still heading
        // north.
        s.speedOverGround = kAisSpeedNotAvailable;
        s.courseOverGround = kAisCourseNotAvailable;
        s.trueHeading = kAisHeadingNotAvailable;
    }
    if (d.messageType != 5 && AisHasPosition(d)) {
        s.trail[1] = { d.latitude / kAisUnitsPerDegree, d.longitude / kAisUnitsPerDegree };
        s.trailCount = 1;
        Announce(slot, options, result);
    }
    if (options.searchDatabase && d.messageType != 5)
        UseDatabase(result, [&] {
            const AisDatabaseLookup known = SearchAisDatabase(AisDatabasePath(), d.mmsi);
            if (known.found)
                TakeAisDatabaseData(known.record, s);
        });
    result.slot = slot;
    result.newTarget = true;
    return result;
}

void SwitchAisDatabase()
{
    AisDbSuspended = false;
}

void ShiftTargetTrack(int slot)
{
    if (slot < 1 || slot > kMaxAisTargets)
        return;
    AisTargetRecord& s = AisTargets[slot];
    if (s.trailCount < kAisTrailLength) {
        ++s.trailCount;
        return;
    }
    std::copy(s.trail.begin() + 1, s.trail.end(), s.trail.begin());
    s.trailCount = kAisTrailLength;
}

double AisRelativeBearing(double lat, double lonEast)
{
    // The bearing of the leg from the present position, as for a route
    // waypoint at the target (longitudes west positive there).
    const double bearing = BearingDeg(CurLat, CurLon, lat, -lonEast);
    double relative = std::fmod(bearing - NavCourse, 360.0);
    if (relative < 0)
        relative += 360.0;
    return relative;
}

const char* AisSectorWord(double r)
{
    if (r >= 0 && r < 30)
        return "Ahead";
    if (r >= 30 && r < 60)
        return "AheadStarboard";
    if (r >= 60 && r < 120)
        return "Starboard";
    if (r >= 120 && r < 150)
        return "AsternStarboard";
    if (r >= 150 && r < 210)
        return "Astern";
    if (r >= 210 && r < 240)
        return "AsternPort";
    if (r >= 240 && r < 300)
        return "Port";
    if (r >= 300 && r < 330)
        return "AheadPort";
    return "Ahead";
}

} // namespace nav

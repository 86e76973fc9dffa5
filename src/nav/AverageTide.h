#pragma once
// The mean tidal stream along the leg to the active waypoint, for the
// preferences' "Average" button: one sample per whole hour to go (at most
// 41), each the stream at the tidal diamond nearest a dead-reckoned position
// for the tidal hour of that sample; a sample with no diamond within
// TideStreamReachNm (nav/NavMaths.h) has no stream.

// Where the dead-reckoned positions get course and speed from, as the
// preferences' dead-reckoning choices ("Course" and "Speed", item 0 first).
struct AverageTideSources {
    bool courseToWaypoint = true; // item 0: bearing to the active waypoint, else NavCourse
    bool hullSpeed = true; // item 0: ManualSpeed, else NavSpeed
};

enum class AverageTideOutcome {
    NoAtlasOrRoute, // no tidal diamonds or an empty route
    UnderOneHour, // no whole hour to go, no progress, or the tide stronger than the boat
    Averaged,
};

struct AverageTideResult {
    AverageTideOutcome outcome = AverageTideOutcome::NoAtlasOrRoute;
    int samples = 0;
    int set = 0; // degrees true, 0..359
    int rate = 0; // tenths of a knot
};

// From the present position CurLat, CurLon and the tidal hour TideHour along
// HoursToWaypoint (whole hours) towards route entry ActiveWaypoint. The first
// sample is the present position at the present hour; each later one is an
// hour further on at the chosen course and speed, an hour of tide later
// (after +6 comes -6). Changes no program-wide variable.
AverageTideResult AverageTideAlongLeg(const AverageTideSources& sources);

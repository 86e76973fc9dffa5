#pragma once
// Records shared by the navigation data, the main window and the chart views.
// Positions are degrees, latitude north positive, longitude WEST positive.
//
// Records that live in binary files (chart and layer files, the track log,
// the tidal atlas) are stored field by field with store()/load(), never by
// copying the struct: a Real6 is 6 bytes, 16-bit integers little-endian.

#include "rtl/Real6.h"
#include "rtl/ShortString.h"

#include <cstddef>
#include <cstdint>

// One vector chart point: latitude + 200 × line type (0..6), then longitude.
// Chart file record: 12 bytes, two Real6.
struct ChartPoint {
    static constexpr std::size_t storedSize = 12;

    rtl::Real6 lat; // latitude + 200 × line type
    rtl::Real6 lon; // west positive

    void store(uint8_t* dst) const;
    static ChartPoint load(const uint8_t* src);

    friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};

// The (-1, -1) pair that lifts the pen between polylines of a chart.
inline const ChartPoint PenUpPoint { rtl::Real6(-1.0), rtl::Real6(-1.0) };

// One track log record: latitude, longitude, time in minutes of the day.
// Track log record: 18 bytes, three Real6.
struct LogRecord {
    static constexpr std::size_t storedSize = 18;

    rtl::Real6 lat;
    rtl::Real6 lon; // west positive
    rtl::Real6 time; // minutes of the day

    void store(uint8_t* dst) const;
    static LogRecord load(const uint8_t* src);

    friend bool operator==(const LogRecord&, const LogRecord&) = default;
};

// A route or waypoint database position, held in memory only.
struct TPosition {
    double lat = 0.0;
    double lon = 0.0; // west positive

    friend bool operator==(const TPosition&, const TPosition&) = default;
};

// A waypoint name: characters 1-24 the label, 25-26 a two-digit symbol code,
// 27-28 a two-digit number whose meaning depends on the symbol (radius,
// pointer or label zoom), 29 a blank; three blanks in 27-29 when the symbol
// takes no number.
using WaypointNameField = rtl::ShortString<29>;

// A tidal diamond of the atlas station file (".pos"): 12 bytes, two Real6.
struct TidePosition {
    static constexpr std::size_t storedSize = 12;

    rtl::Real6 lat;
    rtl::Real6 lon; // west positive

    void store(uint8_t* dst) const;
    static TidePosition load(const uint8_t* src);

    friend bool operator==(const TidePosition&, const TidePosition&) = default;
};

// The stream at one diamond for one hour from high water: 4 bytes, a 16-bit
// set in degrees true, then a 16-bit rate in tenths of a knot. The atlas
// flow file (".FLO") holds 13 of them per station (hours -6 to +6).
struct TideFlow {
    static constexpr std::size_t storedSize = 4;

    int16_t set = 0; // degrees true
    int16_t rate = 0; // tenths of a knot

    void store(uint8_t* dst) const;
    static TideFlow load(const uint8_t* src);

    friend bool operator==(const TideFlow&, const TideFlow&) = default;
};

// One point of the antenna and towed-body layout (point 5 is the towed body).
struct TowLayoutPoint {
    double lat = 0.0;
    double lon = 0.0; // west positive
    double offset = 0.0; // across-track offset, metres (set for point 5 only)
};

#include "nav/NavState.h"
#include "nav/NavTypes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace
{

template <std::size_t N> std::vector<uint8_t> Bytes(const std::array<uint8_t, N>& a)
{
    return { a.begin(), a.end() };
}

TEST(NavRecords, ChartPointIsTwoSixByteRealsLatitudeFirst)
{
    // 50.5 N on line type 1 is stored as 250.5; 1.25 E is -1.25 (west positive).
    const ChartPoint p { rtl::Real6(250.5), rtl::Real6(-1.25) };
    std::array<uint8_t, ChartPoint::storedSize> out {};
    p.store(out.data());
    EXPECT_EQ(Bytes(out),
        (std::vector<uint8_t> { 0x88, 0x00, 0x00, 0x00, 0x80, 0x7A, 0x81, 0x00, 0x00, 0x00, 0x00, 0xA0 }));
    EXPECT_EQ(ChartPoint::load(out.data()), p);

    PenUpPoint.store(out.data());
    EXPECT_EQ(Bytes(out),
        (std::vector<uint8_t> { 0x81, 0x00, 0x00, 0x00, 0x00, 0x80, 0x81, 0x00, 0x00, 0x00, 0x00, 0x80 }));
}

TEST(NavRecords, LogRecordAndTidePositionRoundTripFieldByField)
{
    const LogRecord r { rtl::Real6(50.8), rtl::Real6(1.3), rtl::Real6(600.0) };
    std::array<uint8_t, LogRecord::storedSize> out {};
    r.store(out.data());
    EXPECT_EQ(out[0], 0x86); // 50.8: exponent 5 + 129
    EXPECT_EQ(out[6], 0x81); // 1.3
    EXPECT_EQ(out[12], 0x8A); // 600: exponent 9 + 129
    EXPECT_EQ(LogRecord::load(out.data()), r);

    const TidePosition t { rtl::Real6(-0.5), rtl::Real6(0.0) };
    std::array<uint8_t, TidePosition::storedSize> tideOut {};
    tideOut.fill(0xEE);
    t.store(tideOut.data());
    EXPECT_EQ(Bytes(tideOut),
        (std::vector<uint8_t> { 0x80, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00 }));
    EXPECT_EQ(TidePosition::load(tideOut.data()), t);
}

TEST(NavRecords, TideFlowIsTwoLittleEndianSixteenBitIntegers)
{
    const TideFlow f { 275, -3 };
    std::array<uint8_t, TideFlow::storedSize> out {};
    f.store(out.data());
    EXPECT_EQ(Bytes(out), (std::vector<uint8_t> { 0x13, 0x01, 0xFD, 0xFF }));
    EXPECT_EQ(TideFlow::load(out.data()), f);
}

TEST(NavState, ResetRestoresTheStartValues)
{
    ResetNavState();
    // Disturb every group, the last entry of each table included.
    CurLat = 50.0;
    NmeaFields[9] = "x";
    LogRecords[98] = LogRecord { rtl::Real6(1.0), rtl::Real6(2.0), rtl::Real6(3.0) };
    ThinStep = 0;
    RouteNames[40] = "WP";
    RouteGuidanceOn = false;
    BearingText = "090";
    WaypointDbPoints[600] = TPosition { 1.0, 2.0 };
    ChartPoints[10800] = PenUpPoint;
    ChartPointCount = 10800;
    LayerFlags = "-*********";
    TideStreams[100][13] = TideFlow { 1, 2 };
    StandardPort = "Dover";
    TowLayoutPoints[5].offset = 2.0;
    OutXTE = false;
    AisTargets[60].mmsi = 235000000;
    AisPlaySpeed = 1;
    ViewRotationCos = 0.0;
    AppFolder = "/x/";

    ResetNavState();

    EXPECT_EQ(CurLat, 0.0);
    EXPECT_EQ(NmeaFields[9].str(), "");
    EXPECT_EQ(LogRecords[98], LogRecord {});
    EXPECT_EQ(RouteNames[40].str(), "");
    EXPECT_EQ(BearingText.str(), "");
    EXPECT_EQ(WaypointDbPoints[600], TPosition {});
    EXPECT_EQ(ChartPoints[10800], ChartPoint {});
    EXPECT_EQ(ChartPointCount, 0);
    EXPECT_EQ(TideStreams[100][13], TideFlow {});
    EXPECT_EQ(TowLayoutPoints[5].offset, 0.0);
    EXPECT_EQ(AisTargets[60].mmsi, 0);
    EXPECT_EQ(AppFolder, "");
    EXPECT_EQ(ComPort, 0);
    EXPECT_EQ(EmptyAisRecord.mmsi, 0);

    // The start-up values that differ from zero, a sample of each group.
    EXPECT_EQ(ThinStep, 2);
    EXPECT_TRUE(RouteGuidanceOn && AutoWaypoint);
    EXPECT_EQ(LayerFlags.str(), "**********");
    EXPECT_EQ(StandardPort, "No tidal atlas !");
    EXPECT_TRUE(OutXTE && OutAPB);
    EXPECT_EQ(AisPlaySpeed, 10);
    EXPECT_EQ(ViewRotationCos, 1.0);
    EXPECT_EQ(CosLat, 1.0);
}

} // namespace

// Every configured folder holds its files whether or not it was typed with
// its trailing separator.
TEST(NavStateTest, FolderTypedWithoutItsSeparatorStillHoldsItsFiles)
{
    struct Case {
        std::string* folder;
        std::string (*file)(const std::string&);
    };
    const Case cases[] = { { &AppFolder, AppFile }, { &LogsFolder, LogsFile }, { &ChartsFolder, ChartsFile } };
    for (const Case& c : cases) {
        for (const char* typed : { "/data/my", "/data/my/" }) {
            SCOPED_TRACE(typed);
            *c.folder = typed;
            EXPECT_EQ(c.file("09-12-26.log"), "/data/my/09-12-26.log");
        }
    }
}

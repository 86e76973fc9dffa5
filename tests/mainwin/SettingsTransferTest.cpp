// The transfer tables between the navigation state and the preferences and
// timing dialogs, each row filled and copied back, with the conversions'
// worked examples.

#include "mainwin/SettingsTransfer.h"
#include "nav/NavState.h"

#include <cmath>
#include <gtest/gtest.h>

namespace
{

class SettingsTransfer : public ::testing::Test
{
protected:
    void SetUp() override { ResetNavState(); }

    // The fields as the state fills them, starting from the form.
    static TGlobalFields Filled()
    {
        TGlobalFields f;
        FillPreferenceFields(f);
        return f;
    }
    // OK on the filled fields with one change.
    template <typename Change> static void OkWith(Change change, TGlobalSettings settings = {})
    {
        TGlobalFields f = Filled();
        change(f);
        ApplyPreferenceFields(f, settings);
    }
};

TEST_F(SettingsTransfer, ChartOffsetsInThousandthsOfAMinute)
{
    ChartOffsetLat = 0.01;
    ChartOffsetLon = -0.005;
    EXPECT_EQ(Filled().LatOffs, 600);
    EXPECT_EQ(Filled().LongOffs, -300);
    OkWith([](TGlobalFields& f) {
        f.LatOffs = -300;
        f.LongOffs = 600;
    });
    EXPECT_DOUBLE_EQ(ChartOffsetLat, -0.005);
    EXPECT_DOUBLE_EQ(ChartOffsetLon, 0.01);
}

TEST_F(SettingsTransfer, CaptureDistanceAndDeadbandInHundredths)
{
    CaptureDistance = 0.2;
    XteDeadband = 0.05;
    EXPECT_EQ(Filled().CapDist, 20);
    EXPECT_EQ(Filled().Deadband, 5);
    OkWith([](TGlobalFields& f) {
        f.CapDist = 37;
        f.Deadband = 100;
    });
    EXPECT_DOUBLE_EQ(CaptureDistance, 0.37);
    EXPECT_DOUBLE_EQ(XteDeadband, 1.0);
}

TEST_F(SettingsTransfer, ManualSpeedInWholeKnotsAndNeverZero)
{
    ManualSpeed = 6.5;
    EXPECT_EQ(Filled().Vspeed, 6); // half to even
    ManualSpeed = 7.5;
    EXPECT_EQ(Filled().Vspeed, 8);
    OkWith([](TGlobalFields& f) { f.Vspeed = 0; });
    EXPECT_DOUBLE_EQ(ManualSpeed, 0.001);
    OkWith([](TGlobalFields& f) { f.Vspeed = 12; });
    EXPECT_DOUBLE_EQ(ManualSpeed, 12.0);
}

TEST_F(SettingsTransfer, HighWaterRoundsToTheHalfHour)
{
    OkWith([](TGlobalFields& f) {
        f.HWhour = 11;
        f.HWMin = 30;
    });
    EXPECT_EQ(HWHour, 12);
    OkWith([](TGlobalFields& f) {
        f.HWhour = 11;
        f.HWMin = 29;
    });
    EXPECT_EQ(HWHour, 11);
    // Only copied back: the form keeps what the user left.
    TGlobalFields f;
    f.HWhour = 3;
    FillPreferenceFields(f);
    EXPECT_EQ(f.HWhour, 3);
}

TEST_F(SettingsTransfer, ManualTideCopiedOnlyWhileInUse)
{
    TideSet = 10;
    TideDrift = 0.5;
    OkWith([](TGlobalFields& f) {
        f.ManTide = false;
        f.Tset = 90;
        f.TDrift = 25;
    });
    EXPECT_TRUE(ManualTideOff);
    EXPECT_EQ(TideSet, 10);
    EXPECT_DOUBLE_EQ(TideDrift, 0.5);
    OkWith([](TGlobalFields& f) {
        f.ManTide = true;
        f.Tset = 90;
        f.TDrift = 25;
    });
    EXPECT_FALSE(ManualTideOff);
    EXPECT_EQ(TideSet, 90);
    EXPECT_DOUBLE_EQ(TideDrift, 2.5);
    EXPECT_TRUE(Filled().ManTide);
}

TEST_F(SettingsTransfer, DistanceUnitChosenByTheFactor)
{
    DistanceFactor = 1.852;
    EXPECT_EQ(Filled().DistanceUnit, 1);
    DistanceFactor = 1.15081;
    EXPECT_EQ(Filled().DistanceUnit, 2);
    DistanceFactor = 1.0;
    EXPECT_EQ(Filled().DistanceUnit, 0);
    OkWith([](TGlobalFields& f) { f.DistanceUnit = 1; });
    EXPECT_DOUBLE_EQ(DistanceFactor, 1.852);
    OkWith([](TGlobalFields& f) { f.DistanceUnit = 2; });
    EXPECT_DOUBLE_EQ(DistanceFactor, 1.15081);
    // A factor between the units stays while the user leaves the unit alone.
    DistanceFactor = 1.5;
    OkWith([](TGlobalFields&) {});
    EXPECT_DOUBLE_EQ(DistanceFactor, 1.5);
}

TEST_F(SettingsTransfer, GridDatumAndLatLongDisplay)
{
    GridDisplay = true;
    GridDatum = 8;
    EXPECT_EQ(Filled().PositionMode, 8);
    GridDisplay = false;
    EXPECT_EQ(Filled().PositionMode, -1);
    OkWith([](TGlobalFields& f) { f.PositionMode = 0; });
    EXPECT_TRUE(GridDisplay);
    EXPECT_EQ(GridDatum, 0);
    OkWith([](TGlobalFields& f) { f.PositionMode = -1; });
    EXPECT_FALSE(GridDisplay);
    EXPECT_EQ(GridDatum, -1);
}

TEST_F(SettingsTransfer, BaudRateItems)
{
    BaudRate = 4800;
    EXPECT_EQ(Filled().Rate, 0);
    BaudRate = 38400;
    EXPECT_EQ(Filled().Rate, 1);
    BaudRate = 9600;
    EXPECT_EQ(Filled().Rate, -1);
    OkWith([](TGlobalFields&) {});
    EXPECT_EQ(BaudRate, 9600);
    OkWith([](TGlobalFields& f) { f.Rate = 0; });
    EXPECT_EQ(BaudRate, 4800);
    OkWith([](TGlobalFields& f) {
        f.Rate = 1;
        f.COMno = 7;
    });
    EXPECT_EQ(BaudRate, 38400);
    EXPECT_EQ(ComPort, 7);
    EXPECT_EQ(Filled().COMno, 7);
}

TEST_F(SettingsTransfer, StartModeAutoOrManual)
{
    NmeaStartMode = "Auto";
    EXPECT_TRUE(Filled().AutoLaunch);
    NmeaStartMode = "Manual";
    EXPECT_FALSE(Filled().AutoLaunch);
    OkWith([](TGlobalFields& f) { f.AutoLaunch = true; });
    EXPECT_EQ(NmeaStartMode, "Auto");
    OkWith([](TGlobalFields& f) { f.AutoLaunch = false; });
    EXPECT_EQ(NmeaStartMode, "Manual");
}

TEST_F(SettingsTransfer, TrackThinning)
{
    ThinStep = 1;
    EXPECT_TRUE(Filled().KeepLog);
    ThinStep = 0;
    EXPECT_FALSE(Filled().KeepLog);
    OkWith([](TGlobalFields& f) { f.KeepLog = true; });
    EXPECT_EQ(ThinStep, 2);
    OkWith([](TGlobalFields& f) { f.KeepLog = false; });
    EXPECT_EQ(ThinStep, 0);
}

TEST_F(SettingsTransfer, PlainSwitchesAndValuesBothWays)
{
    ColourFgIndex = 3;
    ColourBgIndex = 0;
    ColourScheme = 1;
    AutoLoadChart = true;
    NmeaLogTemplate = "@p,@t";
    BrowserPath = "/usr/bin/viewer";
    AisPlaySpeed = 5;
    TextLogOn = true;
    SpeedAlwaysKnots = false;
    DRSpeedSource = 1;
    DRCourseSource = 1;
    OutAPB = false;
    OutXTE = true;
    OutHSC = false;
    OutBOD = true;
    MagVariation = -7;
    NmeaOutputOn = true;
    const TGlobalFields f = Filled();
    EXPECT_EQ(f.ForegroundIndex, 3);
    EXPECT_EQ(f.BackgroundIndex, 0);
    EXPECT_EQ(f.Defaults, 1);
    EXPECT_TRUE(f.ALmode);
    EXPECT_EQ(f.LogParse, "@p,@t");
    EXPECT_EQ(f.BrowserPath, "/usr/bin/viewer");
    EXPECT_EQ(f.PBspeed, 5);
    EXPECT_TRUE(f.KeepTextLog);
    EXPECT_FALSE(f.KnAlways);
    EXPECT_EQ(f.Mspeed, 1);
    EXPECT_EQ(f.Mcourse, 1);
    EXPECT_FALSE(f.sendAPB);
    EXPECT_TRUE(f.sendXTE);
    EXPECT_FALSE(f.sendHSC);
    EXPECT_TRUE(f.SendBOD);
    EXPECT_EQ(f.Variation, -7);
    EXPECT_TRUE(f.NMEAOutputOn);

    OkWith([](TGlobalFields& g) {
        g.ForegroundIndex = 0;
        g.BackgroundIndex = 15;
        g.Defaults = 3;
        g.ALmode = false;
        g.BrowserPath = "";
        g.PBspeed = 4;
        g.KeepTextLog = false;
        g.KnAlways = true;
        g.Mspeed = 0;
        g.Mcourse = 0;
        g.sendAPB = true;
        g.sendXTE = false;
        g.sendHSC = true;
        g.SendBOD = false;
        g.Variation = 12;
        g.NMEAOutputOn = false;
    });
    EXPECT_EQ(ColourFgIndex, 0);
    EXPECT_EQ(ColourBgIndex, 15);
    EXPECT_EQ(ColourScheme, 3);
    EXPECT_EQ(ForegroundColour, 0x000000);
    EXPECT_EQ(BackgroundColour, 0xFFFFFF);
    // Colours whose index stays keep their value.
    BackgroundColour = 0x123456;
    OkWith([](TGlobalFields& g) { g.ForegroundIndex = 12; });
    EXPECT_EQ(BackgroundColour, 0x123456);
    EXPECT_EQ(ForegroundColour, 0xFF0000);
    EXPECT_FALSE(AutoLoadChart);
    EXPECT_EQ(BrowserPath, "");
    EXPECT_EQ(AisPlaySpeed, 4);
    EXPECT_FALSE(TextLogOn);
    EXPECT_TRUE(SpeedAlwaysKnots);
    EXPECT_EQ(DRSpeedSource, 0);
    EXPECT_EQ(DRCourseSource, 0);
    EXPECT_TRUE(OutAPB);
    EXPECT_FALSE(OutXTE);
    EXPECT_TRUE(OutHSC);
    EXPECT_FALSE(OutBOD);
    EXPECT_EQ(MagVariation, 12);
    EXPECT_FALSE(NmeaOutputOn);
    // The template is the caller's, with its question.
    EXPECT_EQ(NmeaLogTemplate, "@p,@t");
}

TEST_F(SettingsTransfer, ColourLayerSwitchesFromTheLiveSettings)
{
    TextIsFg = true;
    TideIsFg = true;
    TGlobalSettings s;
    FillPreferenceSettings(s);
    EXPECT_TRUE(s.TextColourFG);
    EXPECT_FALSE(s.TrackColourFG);
    EXPECT_TRUE(s.TideColourFG);
    s.TextColourFG = false;
    s.TrackColourFG = true;
    OkWith([](TGlobalFields&) {}, s);
    EXPECT_FALSE(TextIsFg);
    EXPECT_TRUE(TrackIsFg);
    EXPECT_TRUE(TideIsFg);
}

TEST_F(SettingsTransfer, ReversedRouteAndAutoWaypointCopiedBack)
{
    TGlobalSettings s;
    s.RevRoute = true;
    OkWith([](TGlobalFields& f) { f.WP_auto = false; }, s);
    EXPECT_TRUE(ReverseRoute);
    EXPECT_FALSE(AutoWaypoint);
}

TEST_F(SettingsTransfer, ViewAngleIgnoredWhileHeadingUp)
{
    TGlobalSettings headUp;
    headUp.HeadUp = true;
    ViewRotation = 0.25;
    OkWith([](TGlobalFields& f) { f.ViewAngle = 90; }, headUp);
    EXPECT_DOUBLE_EQ(ViewRotation, 0.25);
    OkWith([](TGlobalFields& f) { f.ViewAngle = 90; });
    EXPECT_DOUBLE_EQ(ViewRotation, -M_PI / 2);
    EXPECT_NEAR(ViewRotationCos, 0.0, 1e-12);
    EXPECT_DOUBLE_EQ(ViewRotationSin, -1.0);
}

TEST_F(SettingsTransfer, StatisticsCaptions)
{
    ChartPointCount = 120;
    LayerFlags = "*-*-------";
    TideStationCount = 9;
    WaypointDbCount = 33;
    RouteCount = 4;
    LogCount = 98;
    AisDbRecordCount = 17;
    StandardPort = "Dover";
    const TGlobalFields f = Filled();
    EXPECT_EQ(f.Cpoints, "120");
    EXPECT_EQ(f.Lmask, "*-*-------");
    EXPECT_EQ(f.TidePoints, "9");
    EXPECT_EQ(f.Wpoints, "33");
    EXPECT_EQ(f.Rpoints, "4");
    EXPECT_EQ(f.Lpoints, "98");
    EXPECT_EQ(f.AISNtargets, "17   Targets");
    EXPECT_EQ(f.STDport, "Dover");
}

TEST_F(SettingsTransfer, ChartShiftOfferedOnlyForAnEditableChart)
{
    ChartEditable = false;
    EXPECT_FALSE(Filled().Cht2WGS84);
    ChartEditable = true;
    EXPECT_TRUE(Filled().Cht2WGS84);
}

TEST_F(SettingsTransfer, SessionCountersOnlyWhileNeitherDeadReckoningNorInterfaceRuns)
{
    FixNumber = 12;
    EventNumber = 3;
    EXPECT_TRUE(Filled().CountersEditable);
    EXPECT_EQ(Filled().Spoints, 12);
    EXPECT_EQ(Filled().Enumber, 3);
    OkWith([](TGlobalFields& f) {
        f.Spoints = 100;
        f.Enumber = 7;
    });
    EXPECT_EQ(FixNumber, 100);
    EXPECT_EQ(EventNumber, 7);
    // Beyond the counters' 16 bits they stop at the top instead of wrapping.
    OkWith([](TGlobalFields& f) {
        f.Spoints = 70000;
        f.Enumber = 1000000;
    });
    EXPECT_EQ(FixNumber, 65535);
    EXPECT_EQ(EventNumber, 65535);
    OkWith([](TGlobalFields& f) {
        f.Spoints = 100;
        f.Enumber = 7;
    });

    NmeaOpen = true;
    EXPECT_FALSE(Filled().CountersEditable);
    OkWith([](TGlobalFields& f) {
        f.Spoints = 1;
        f.Enumber = 1;
    });
    EXPECT_EQ(FixNumber, 100);
    EXPECT_EQ(EventNumber, 7);
    NmeaOpen = false;
    DRMode = true;
    EXPECT_FALSE(Filled().CountersEditable);
    OkWith([](TGlobalFields& f) { f.Spoints = 1; });
    EXPECT_EQ(FixNumber, 100);
}

// Once the user sentence came up empty and unchecked, so OK without
// retyping erased it: now it comes up as it stands.
TEST_F(SettingsTransfer, OkWithoutRetypingKeepsTheUserSentence)
{
    UserSentenceTemplate = "$ECXXX,@1,@2";
    OutUser = true;
    EXPECT_EQ(Filled().CustomNMEA, "$ECXXX,@1,@2");
    EXPECT_TRUE(Filled().SendCustom);
    OkWith([](TGlobalFields&) {});
    EXPECT_EQ(UserSentenceTemplate, "$ECXXX,@1,@2");
    EXPECT_TRUE(OutUser);
    OkWith([](TGlobalFields& f) {
        f.CustomNMEA = "";
        f.SendCustom = false;
    });
    EXPECT_EQ(UserSentenceTemplate, "");
    EXPECT_FALSE(OutUser);
}

TEST(TimingTransfer, FixIntervalInMinutesSecondsAndTenths)
{
    ResetNavState();
    TAlarmFields f;
    FixIntervalMs = 10000;
    FillTimingFields(f);
    EXPECT_EQ(f.FixMins, 0);
    EXPECT_EQ(f.FixSecs, 10);
    EXPECT_EQ(f.FixDeciSecs, 0);
    FixIntervalMs = 61500;
    FillTimingFields(f);
    EXPECT_EQ(f.FixMins, 1);
    EXPECT_EQ(f.FixSecs, 1);
    EXPECT_EQ(f.FixDeciSecs, 5);
    FixIntervalMs = 999;
    FillTimingFields(f);
    EXPECT_EQ(f.FixSecs, 1); // the + 1 lifts 999 ms to a whole second
    EXPECT_EQ(f.FixDeciSecs, 0);

    f = { 2, 3, 4, -5, 7, 9 };
    ApplyTimingFields(f);
    EXPECT_EQ(FixIntervalMs, 123400);
    EXPECT_EQ(UtcHourOffset, -5);
    EXPECT_EQ(AverageN, 7);
    EXPECT_EQ(DrawEveryN, 9);
    TAlarmFields back;
    FillTimingFields(back);
    EXPECT_EQ(back, f);
}

} // namespace

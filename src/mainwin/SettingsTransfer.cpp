#include "mainwin/SettingsTransfer.h"

#include "dialogs/ColorGrid.h"
#include "nav/NavState.h"
#include "nav/NavUpdate.h"
#include "rtl/Numbers.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace
{

constexpr double kThousandthMinutesPerDegree = 60000.0;
constexpr int kBaudRates[] = { 4800, 38400 }; // "Baud Rate" items
constexpr double kUnitFactors[] = { 1.0, 1.852, 1.15081 }; // nm, km, statute miles

int ItemOfUnit(DistanceUnit unit)
{
    switch (unit) {
    case DistanceUnit::NauticalMiles:
        return 0;
    case DistanceUnit::Kilometres:
        return 1;
    case DistanceUnit::StatuteMiles:
        return 2;
    }
    return 0;
}

int Rounded(double value)
{
    return static_cast<int>(rtl::Round(value));
}

} // namespace

void FillPreferenceSettings(TGlobalSettings& settings)
{
    settings.TextColourFG = TextIsFg;
    settings.TrackColourFG = TrackIsFg;
    settings.TideColourFG = TideIsFg;
}

void FillPreferenceFields(TGlobalFields& f)
{
    f.ForegroundIndex = ColourFgIndex;
    f.BackgroundIndex = ColourBgIndex;
    f.Defaults = ColourScheme;
    f.LatOffs = Rounded(ChartOffsetLat * kThousandthMinutesPerDegree);
    f.LongOffs = Rounded(ChartOffsetLon * kThousandthMinutesPerDegree);
    f.Cht2WGS84 = ChartEditable;
    f.ALmode = AutoLoadChart;
    f.LogParse = NmeaLogTemplate;
    f.BrowserPath = BrowserPath;
    f.Vspeed = Rounded(ManualSpeed);
    f.PBspeed = AisPlaySpeed;
    f.KeepTextLog = TextLogOn;
    f.KeepLog = ThinStep >= 1;
    f.DistanceUnit = ItemOfUnit(DistanceUnitOf(DistanceFactor));
    f.PositionMode = GridDisplay && GridDatum >= 0 && GridDatum <= 8 ? GridDatum : -1;
    f.KnAlways = SpeedAlwaysKnots;
    f.AutoLaunch = NmeaStartMode.str() == "Auto";
    f.COMno = ComPort;
    f.Rate = BaudRate == kBaudRates[0] ? 0 : BaudRate == kBaudRates[1] ? 1 : -1;
    f.CapDist = Rounded(CaptureDistance * 100.0);
    f.Deadband = Rounded(XteDeadband * 100.0);
    f.STDport = StandardPort;
    f.ManTide = !ManualTideOff;
    f.Cpoints = std::to_string(ChartPointCount);
    f.Lmask = LayerFlags.str();
    f.TidePoints = std::to_string(TideStationCount);
    f.Wpoints = std::to_string(WaypointDbCount);
    f.Rpoints = std::to_string(RouteCount);
    f.Lpoints = std::to_string(LogCount);
    f.AISNtargets = std::to_string(AisDbRecordCount) + "   Targets";
    f.Spoints = FixNumber;
    f.Enumber = EventNumber;
    f.CountersEditable = !DRMode && !NmeaOpen;
    f.Mspeed = DRSpeedSource;
    f.Mcourse = DRCourseSource;
    // The user sentence comes up as it stands, so that OK keeps it.
    f.CustomNMEA = UserSentenceTemplate;
    f.SendCustom = OutUser;
    f.sendAPB = OutAPB;
    f.sendXTE = OutXTE;
    f.sendHSC = OutHSC;
    f.SendBOD = OutBOD;
    f.Variation = MagVariation;
    f.NMEAOutputOn = NmeaOutputOn;
}

int16_t HighWaterHour(int hour, int minute)
{
    return static_cast<int16_t>(hour + (minute > 29 ? 1 : 0));
}

void ApplyPreferenceFields(const TGlobalFields& f, const TGlobalSettings& s)
{
    DRSpeedSource = static_cast<int16_t>(f.Mspeed);
    DRCourseSource = static_cast<int16_t>(f.Mcourse);
    if (!DRMode && !NmeaOpen) {
        // The spin boxes go to 1000000; the counters hold 16 bits.
        FixNumber = static_cast<uint16_t>(std::clamp(f.Spoints, 0, 65535));
        EventNumber = static_cast<uint16_t>(std::clamp(f.Enumber, 0, 65535));
    }
    NmeaStartMode = f.AutoLaunch ? "Auto" : "Manual";
    ComPort = f.COMno;
    if (f.Rate == 0 || f.Rate == 1)
        BaudRate = kBaudRates[f.Rate];
    ReverseRoute = s.RevRoute;
    AutoWaypoint = f.WP_auto;
    CaptureDistance = f.CapDist / 100.0;
    XteDeadband = f.Deadband / 100.0;
    HWHour = HighWaterHour(f.HWhour, f.HWMin);
    ManualSpeed = f.Vspeed < 1 ? 0.001 : f.Vspeed;
    ManualTideOff = !f.ManTide;
    if (!ManualTideOff) {
        TideSet = static_cast<int16_t>(f.Tset);
        TideDrift = f.TDrift / 10.0;
    }
    GridDisplay = f.PositionMode >= 0;
    GridDatum = static_cast<int16_t>(f.PositionMode >= 0 ? f.PositionMode : -1);
    SpeedAlwaysKnots = f.KnAlways;
    ChartOffsetLat = f.LatOffs / kThousandthMinutesPerDegree;
    ChartOffsetLon = f.LongOffs / kThousandthMinutesPerDegree;
    if (!s.HeadUp) {
        ViewRotation = -f.ViewAngle * std::numbers::pi / 180.0;
        ViewRotationCos = std::cos(ViewRotation);
        ViewRotationSin = std::sin(ViewRotation);
    }
    AutoLoadChart = f.ALmode;
    AisPlaySpeed = static_cast<uint16_t>(f.PBspeed);
    TextLogOn = f.KeepTextLog;
    ThinStep = f.KeepLog ? 2 : 0;
    BrowserPath = f.BrowserPath;
    // A colour whose grid index the user left keeps its configured value.
    if (f.ForegroundIndex != ColourFgIndex)
        ForegroundColour = static_cast<int32_t>(GridColour(f.ForegroundIndex));
    if (f.BackgroundIndex != ColourBgIndex)
        BackgroundColour = static_cast<int32_t>(GridColour(f.BackgroundIndex));
    ColourFgIndex = static_cast<int16_t>(f.ForegroundIndex);
    ColourBgIndex = static_cast<int16_t>(f.BackgroundIndex);
    ColourScheme = static_cast<int16_t>(f.Defaults);
    TextIsFg = s.TextColourFG;
    TrackIsFg = s.TrackColourFG;
    TideIsFg = s.TideColourFG;
    // A factor the user did not change stays as configured, also one between
    // the three units.
    if (f.DistanceUnit >= 0 && f.DistanceUnit <= 2
        && f.DistanceUnit != ItemOfUnit(DistanceUnitOf(DistanceFactor)))
        DistanceFactor = kUnitFactors[f.DistanceUnit];
    UserSentenceTemplate = f.CustomNMEA;
    OutUser = f.SendCustom;
    OutAPB = f.sendAPB;
    OutXTE = f.sendXTE;
    OutHSC = f.sendHSC;
    OutBOD = f.SendBOD;
    MagVariation = static_cast<int16_t>(f.Variation);
    NmeaOutputOn = f.NMEAOutputOn;
}

void FillTimingFields(TAlarmFields& f)
{
    const int32_t ms = FixIntervalMs;
    f.FixMins = ms / 60000;
    f.FixSecs = (ms - f.FixMins * 60000 + 1) / 1000;
    f.FixDeciSecs = (ms - f.FixMins * 60000 - f.FixSecs * 1000 + 1) / 100;
    f.TimeZone = UtcHourOffset;
    f.AverageN = AverageN;
    f.DrawN = DrawEveryN;
}

bool ApplyTimingFields(const TAlarmFields& f)
{
    const int32_t interval = f.FixMins * 60000 + f.FixSecs * 1000 + f.FixDeciSecs * 100;
    const bool taken = interval >= kShortestFixIntervalMs;
    if (taken)
        FixIntervalMs = interval;
    UtcHourOffset = static_cast<int16_t>(f.TimeZone);
    AverageN = static_cast<int16_t>(f.AverageN);
    DrawEveryN = static_cast<int16_t>(f.DrawN);
    return taken;
}

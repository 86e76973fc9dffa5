#include "nav/NavState.h"

#include "nav/ChartEdit.h"
#include "rtl/Paths.h"

// Present position and fix
double CurLat, CurLon;
double GpsLat, GpsLon;
double FixTime;
rtl::ShortString<33> FixTimeText;
rtl::ShortString<8> FixStatus;
rtl::ShortString<8> FixQuality;
rtl::ShortString<8> SatCount;
double Hdop;
double EpeMetres;
std::array<rtl::ShortString<33>, 10> NmeaFields;
int16_t MagVariation;
double Heading;
double NavSpeed, NavCourse;
bool NavCourseKnown;
double DRLat, DRLon;
bool NmeaOpen;
bool DRMode;
bool ManualFixFlag;
std::string LastSentence, PrevSentence;
std::string SerialLineBuffer;
bool ComTimeZero;

// Track log and trip
rtl::Array1<LogRecord, kMaxLogRecords> LogRecords;
int16_t LogCount;
int16_t ThinStep, ThinIndex, ThinCounter;
double TripLeg;
double TripTotal;
double LogTimeDiff;
double MeasuredSpeed;
double LogSpeed;
int16_t AverageN;
int16_t DrawEveryN;
uint16_t FixNumber, EventNumber;
rtl::ShortString<33> LogDateText;
rtl::ShortString<33> LogBaseName, TextLogName;
int16_t TextLogLineCount;
bool TextLogOn;
bool TextLogHeld, TextLogHeldValue;
std::string NmeaLogTemplate, NmeaLogTemplatePrev;

// Route and leg
rtl::Array1<TPosition, kMaxRoutePoints> RoutePoints;
rtl::Array1<WaypointNameField, kMaxRoutePoints> RouteNames;
int16_t RouteCount;
int16_t ActiveWaypoint;
int16_t ArrivedWaypoint;
bool FirstLegPending;
std::string RouteName;
bool RouteChanged, KeepRouteSelection;
bool SnapToWaypoint;
bool ReverseRoute;
bool AutoWaypoint;
bool RouteGuidanceOn;
double CaptureDistance;
double XteDeadband;
double XteRefCourse;
double WaypointDistance;
double WaypointRangeNm;
double WaypointBearing;
int16_t CourseToSteer;
double HoursToWaypoint;
double XTE;
rtl::ShortString<33> DestWaypointText, DestWaypointName, OriginWaypointName;
bool WpApproachPending;
bool MeasureMode, MarkMeasureOrigin;
double MeasureStartLat, MeasureStartLon, MeasureTotal;
rtl::ShortString<33> MeasureDistText, MeasureBearingText;

// Navigation texts
rtl::ShortString<33> BearingText, CtsText, CogText, CogMagText, SogText, VmgText, TtgText, RangeText, XteText,
    XteScaleText, LegStatusText, DistanceUnitText, SpeedUnitText;

// Waypoint database and charts
rtl::Array1<TPosition, kMaxWaypoints> WaypointDbPoints;
rtl::Array1<WaypointNameField, kMaxWaypoints> WaypointDbNames;
int16_t WaypointDbCount;
std::string WaypointFileCutPath;
rtl::Array1<ChartPoint, kMaxChartPoints> ChartPoints;
int16_t ChartPointCount;
std::string CurrentChartName;
rtl::ShortString<10> LayerFlags;
int16_t ChartKind;
double ChartHomeLat, ChartHomeLon, ChartHomeZoom;
double ViewCentreLat, ViewCentreLon, ViewZoom;
double ChartScale;
double ChartOffsetLat, ChartOffsetLon;
double CosLat;
int32_t PixelsPerDegLat, PixelsPerDegLon;
int16_t ViewImageHeight, ViewImageWidth;
double AreaPixelScale;
double ShapeScale;
rtl::Array1<rtl::ShortString<40>, kMaxChartList> ChartList;
int16_t ChartListCount;
std::string ChartListOverflowFolder;
bool AutoLoadChart;
bool ChartEditable;
bool LabelsOn, SymbolsOn;

// Tides
rtl::Array1<TidePosition, kMaxTideStations> TideStations;
rtl::Array1<rtl::Array1<TideFlow, kTideHours>, kMaxTideStations> TideStreams;
int16_t TideStationCount;
std::string StandardPort;
int16_t TideHour;
int16_t HWHour;
bool ManualTideOff;
int16_t TideSet;
double TideDrift;
int16_t NearestTideStation;
double NearestDistance;

// Vessel layout, antenna and tow
double VesselBeam;
uint16_t VesselLength;
bool ShowVesselOutline;
double AntennaOffsetLat, AntennaOffsetLon;
double TowOffsetA, TowOffsetB, TowOffsetC, TowOffsetD, TowOffsetE;
double LayoutOffsetLat, LayoutOffsetLon;
rtl::Array1<TowLayoutPoint, 5> TowLayoutPoints;
rtl::Array1<rtl::ShortString<29>, 10> TowLayoutTexts;
double TowLat, TowLon;

// NMEA output
bool NmeaOutputOn;
bool OutXTE, OutAPB, OutHSC, OutBOD, OutUser;
std::string UserSentenceTemplate;
std::string NmeaOutput;
bool UserSentenceTooLong;
int16_t OutputCounter;

// AIS
std::string AisPayload;
rtl::Array1<uint8_t, kAisSixBitsLength> AisSixBits;
AisTargetRecord AisDecodeRecord;
bool AisDecodeFresh;
std::vector<nav::AisHeldMessage> AisHeldMessages;
const AisTargetRecord EmptyAisRecord {};
rtl::Array1<AisTargetRecord, kMaxAisTargets> AisTargets;
int32_t AisTargetCount;
uint16_t SelectedAisTarget;
double NearestTargetRange;
int32_t AisDbRecordCount;
bool AisDbSuspended;
std::string AisSentence, AisLogGpsSentence, AisLastLogged, AisLogTime;
bool AisPlayback;
uint16_t AisPlaySpeed;
std::string LastAnnouncedName;
uint16_t CurrentYear;

// Units, display and files
double DistanceFactor;
bool SpeedAlwaysKnots;
double ManualSpeed;
int16_t DRSpeedSource;
int16_t DRCourseSource;
int16_t GridDatum;
bool GridDisplay;
bool AltPositionFormat;
int16_t UtcHourOffset;
int32_t FixIntervalMs;
int32_t BackgroundColour, ForegroundColour;
int16_t ColourFgIndex, ColourBgIndex, ColourScheme;
bool TextIsFg, TrackIsFg, TideIsFg;
double ViewRotation, ViewRotationCos, ViewRotationSin;
bool AutoCentre;
bool SoundEnabled;
std::string CursorPositionText;
int32_t DataTrendStart, DataTrendEndX, DataTrendOffset;
std::string AppFolder, LogsFolder, ChartsFolder;

std::string AppFile(const std::string& name)
{
    return rtl::JoinPath(AppFolder, name);
}

std::string LogsFile(const std::string& name)
{
    return rtl::JoinPath(LogsFolder, name);
}

std::string ChartsFile(const std::string& name)
{
    return rtl::JoinPath(ChartsFolder, name);
}
rtl::ShortString<33> ConfigName;
int32_t ComPort, BaudRate;
rtl::ShortString<33> NmeaStartMode, NmeaSourceName, NmeaPortKind, NmeaMode;
std::string MultiplexerExe, BrowserPath;
bool GlobalDlgFlag;

namespace
{

template <typename T> void ClearOne(T& v)
{
    v = T {};
}

// The big tables are cleared in place rather than through a temporary.
template <typename T, std::size_t N> void ClearOne(rtl::Array1<T, N>& v)
{
    v.fill(T {});
}

template <typename... T> void Clear(T&... v)
{
    (ClearOne(v), ...);
}

} // namespace

void ResetNavState()
{
    // Everything to zero, empty or false first.
    Clear(CurLat, CurLon, GpsLat, GpsLon, FixTime, FixTimeText, FixStatus, FixQuality, SatCount, Hdop,
        EpeMetres, NmeaFields, MagVariation, Heading, NavSpeed, NavCourse, NavCourseKnown, DRLat, DRLon,
        NmeaOpen, DRMode, ManualFixFlag, LastSentence, PrevSentence, SerialLineBuffer, ComTimeZero);
    Clear(LogRecords, LogCount, ThinStep, ThinIndex, ThinCounter, TripLeg, TripTotal, LogTimeDiff,
        MeasuredSpeed, LogSpeed, AverageN, DrawEveryN, FixNumber, EventNumber, LogDateText, LogBaseName,
        TextLogName, TextLogLineCount, TextLogOn, TextLogHeld, TextLogHeldValue, NmeaLogTemplate,
        NmeaLogTemplatePrev);
    Clear(RoutePoints, RouteNames, RouteCount, ActiveWaypoint, RouteName, RouteChanged, KeepRouteSelection,
        SnapToWaypoint, ReverseRoute, AutoWaypoint, RouteGuidanceOn, CaptureDistance, XteDeadband,
        XteRefCourse, WaypointDistance, WaypointRangeNm, WaypointBearing, CourseToSteer, HoursToWaypoint, XTE,
        DestWaypointText, DestWaypointName, OriginWaypointName, WpApproachPending, MeasureMode,
        MarkMeasureOrigin, MeasureStartLat, MeasureStartLon, MeasureTotal, MeasureDistText,
        MeasureBearingText);
    Clear(ArrivedWaypoint, FirstLegPending);
    Clear(BearingText, CtsText, CogText, CogMagText, SogText, VmgText, TtgText, RangeText, XteText,
        XteScaleText, LegStatusText, DistanceUnitText, SpeedUnitText);
    Clear(WaypointDbPoints, WaypointDbNames, WaypointDbCount, ChartPoints, ChartPointCount, CurrentChartName,
        LayerFlags, ChartKind, ChartHomeLat, ChartHomeLon, ChartHomeZoom, ViewCentreLat, ViewCentreLon,
        ViewZoom, ChartScale, ChartOffsetLat, ChartOffsetLon, CosLat, PixelsPerDegLat, PixelsPerDegLon,
        ViewImageHeight, ViewImageWidth, AreaPixelScale, ShapeScale, ChartList, ChartListCount, AutoLoadChart,
        ChartListOverflowFolder, WaypointFileCutPath, ChartEditable, LabelsOn, SymbolsOn);
    Clear(SelectedChartPoint, LineType, LineTypeOffset);
    Clear(TideStations, TideStreams, TideStationCount, StandardPort, TideHour, HWHour, ManualTideOff, TideSet,
        TideDrift, NearestTideStation, NearestDistance);
    Clear(VesselBeam, VesselLength, ShowVesselOutline, AntennaOffsetLat, AntennaOffsetLon, TowOffsetA,
        TowOffsetB, TowOffsetC, TowOffsetD, TowOffsetE, LayoutOffsetLat, LayoutOffsetLon, TowLayoutPoints,
        TowLayoutTexts, TowLat, TowLon);
    Clear(NmeaOutputOn, OutXTE, OutAPB, OutHSC, OutBOD, OutUser, UserSentenceTemplate, NmeaOutput,
        UserSentenceTooLong, OutputCounter);
    Clear(AisPayload, AisSixBits, AisDecodeRecord, AisDecodeFresh, AisHeldMessages, AisTargets,
        AisTargetCount, SelectedAisTarget, NearestTargetRange, AisDbRecordCount, AisDbSuspended, AisSentence,
        AisLogGpsSentence, AisLastLogged, AisLogTime, AisPlayback, AisPlaySpeed, LastAnnouncedName,
        CurrentYear);
    Clear(DistanceFactor, SpeedAlwaysKnots, ManualSpeed, DRSpeedSource, DRCourseSource, GridDatum,
        GridDisplay, AltPositionFormat, UtcHourOffset, FixIntervalMs, BackgroundColour, ForegroundColour,
        ColourFgIndex, ColourBgIndex, ColourScheme, TextIsFg, TrackIsFg, TideIsFg, ViewRotation,
        ViewRotationCos, ViewRotationSin, AutoCentre, SoundEnabled, CursorPositionText, DataTrendStart,
        DataTrendEndX, DataTrendOffset, AppFolder, LogsFolder, ChartsFolder, ConfigName, ComPort, BaudRate,
        NmeaStartMode, NmeaSourceName, NmeaPortKind, NmeaMode, MultiplexerExe, BrowserPath, GlobalDlgFlag);

    // Start-up values, set before the configuration is read (which overrides
    // those it holds).
    ViewRotationCos = 1.0; // north up
    SoundEnabled = true;
    AltPositionFormat = true;
    SpeedAlwaysKnots = true;
    AutoCentre = true;
    LabelsOn = true;
    SymbolsOn = true;
    ShowVesselOutline = true;
    BackgroundColour = 0x800000; // navy
    ForegroundColour = 0xFFFFFF; // white
    LayerFlags = "**********";
    OutXTE = true;
    OutAPB = true;
    ThinStep = 2;
    ThinIndex = 2;
    ShapeScale = 1.0;
    DistanceFactor = 1.0;
    StandardPort = "No tidal atlas !";
    ManualTideOff = true;
    HWHour = 12;
    RouteGuidanceOn = true;
    CaptureDistance = 0.2;
    AutoWaypoint = true;
    AisPlaySpeed = 10;
    AverageN = 6;
    DrawEveryN = 1;
    VesselBeam = 20.0;
    VesselLength = 100;
    DataTrendStart = -6;
    DataTrendEndX = 120;
    // cos(CurLat) for CurLat 0, so distances are sound before the first
    // configuration or chart is read.
    CosLat = 1.0;
}

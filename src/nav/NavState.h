#pragma once
// The navigation state: program-wide variables read and written directly by
// the main window, the chart views and the dialogs, all on the GUI thread
// (none is locked). Units unless a line says otherwise: degrees (latitude
// north positive, longitude WEST positive), nautical miles, knots, degrees
// true. Tables are indexed from 1 (rtl::Array1) like the original arrays;
// NmeaFields alone is indexed 0..9 after the template codes @0..@9.
//
// "text" variables are std::string holding Latin-1 bytes; "text n" variables
// are rtl::ShortString<n> and keep only their first n characters. Folder
// paths are std::string: Linux paths are longer than 80 characters.

#include "nav/AisAssembly.h"
#include "nav/AisRecord.h"
#include "nav/NavTypes.h"
#include "rtl/Array1.h"
#include "rtl/ShortString.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using nav::AisTargetRecord;

// Capacities of the tables.
constexpr int kMaxLogRecords = 98;
constexpr int kMaxRoutePoints = 40;
constexpr int kMaxWaypoints = 600;
constexpr int kMaxChartPoints = 10800;
constexpr int kMaxChartList = 100;
constexpr int kMaxTideStations = 100;
constexpr int kTideHours = 13; // -6 .. +6 hours from high water
constexpr int kMaxAisTargets = 60;
constexpr int kAisSixBitsLength = 500;

// ---- Present position and fix
extern double CurLat, CurLon; // working position, also where chart editing acts
extern double GpsLat, GpsLon; // position of the last decoded sentence
extern double FixTime; // date-time of the last fix (fraction of a day; milliseconds 0)
extern rtl::ShortString<33> FixTimeText; // "hhnnss"
extern rtl::ShortString<8> FixStatus; // sentence identifier, "MAN" or "DR"
extern rtl::ShortString<8> FixQuality; // "0" none, "1" GPS, "2" DGPS ...
extern rtl::ShortString<8> SatCount;
extern double Hdop;
extern double EpeMetres; // estimated position error, m
extern std::array<rtl::ShortString<33>, 10> NmeaFields; // "COM" fields 8..17, template codes @0..@9
extern int16_t MagVariation; // whole degrees, east positive
extern double Heading; // heading to steer of the last navigation update; NaN when it had none
extern double NavSpeed, NavCourse; // made good, used for dead reckoning
// NavCourse was worked out from a move of the vessel (nav/NavMaths.h,
// UpdateNavCourse); false until it has moved: a zero move has no course.
extern bool NavCourseKnown;
extern double DRLat, DRLon;
extern bool NmeaOpen;
extern bool DRMode;
extern bool ManualFixFlag;
extern std::string LastSentence, PrevSentence;
extern std::string SerialLineBuffer;
extern bool ComTimeZero; // the last "COM" sentence had time "000000"

// ---- Track log and trip
extern rtl::Array1<LogRecord, kMaxLogRecords> LogRecords; // time in minutes of the day
extern int16_t LogCount; // 0..98
extern int16_t ThinStep, ThinIndex, ThinCounter; // ThinStep 2 thins, 0 drops the oldest
extern double TripLeg; // display units
extern double TripTotal;
extern double LogTimeDiff; // minutes between the averaged records
extern double MeasuredSpeed;
extern double LogSpeed;
extern int16_t AverageN; // records averaged for course and speed
extern int16_t DrawEveryN; // views re-centred every N fixes
extern uint16_t FixNumber, EventNumber;
extern rtl::ShortString<33> LogDateText; // "dd-mm-yy"
extern rtl::ShortString<33> LogBaseName, TextLogName;
extern int16_t TextLogLineCount;
extern bool TextLogOn;
// AIS log playback holds the text log off; the user's setting of TextLogOn
// is kept meanwhile in TextLogHeldValue (nav/TextLog.h).
extern bool TextLogHeld, TextLogHeldValue;
extern std::string NmeaLogTemplate, NmeaLogTemplatePrev;

// ---- Route and leg
extern rtl::Array1<TPosition, kMaxRoutePoints> RoutePoints;
extern rtl::Array1<WaypointNameField, kMaxRoutePoints> RouteNames;
extern int16_t RouteCount; // 0..40
extern int16_t ActiveWaypoint; // 1-based; 0 none
// The waypoint last arrived at (1-based; 0 none). While no leg runs it tells
// an arrival that ended the leg at an intermediate waypoint from one at the
// route's end, and "Next Waypoint" steps on from it.
extern int16_t ArrivedWaypoint;
// The cross-track reference of the leg chosen before any fix was taken is
// taken again from the boat's position at the next fix.
extern bool FirstLegPending;
extern std::string RouteName; // route file name
extern bool RouteChanged, KeepRouteSelection;
extern bool SnapToWaypoint;
extern bool ReverseRoute;
extern bool AutoWaypoint;
extern bool RouteGuidanceOn;
extern double CaptureDistance; // arrival radius, nm
extern double XteDeadband; // cross-track alarm limit, nm
extern double XteRefCourse;
extern double WaypointDistance; // display units after ComputeWaypointLeg, nm after the navigation update
extern double WaypointRangeNm;
extern double WaypointBearing;
extern int16_t CourseToSteer; // whole degrees; -1 none
extern double HoursToWaypoint; // -1 no progress, -2 tide stronger than the boat
extern double XTE; // nm; positive reported with L, negative with R
extern rtl::ShortString<33> DestWaypointText, DestWaypointName, OriginWaypointName;
extern bool WpApproachPending;
extern bool MeasureMode, MarkMeasureOrigin;
extern double MeasureStartLat, MeasureStartLon, MeasureTotal;
extern rtl::ShortString<33> MeasureDistText, MeasureBearingText;

// ---- Navigation texts (panel values and template inserts)
extern rtl::ShortString<33> BearingText, CtsText, CogText, CogMagText, SogText, VmgText, TtgText, RangeText,
    XteText, XteScaleText, LegStatusText, DistanceUnitText, SpeedUnitText;

// ---- Waypoint database and charts
extern rtl::Array1<TPosition, kMaxWaypoints> WaypointDbPoints;
extern rtl::Array1<WaypointNameField, kMaxWaypoints> WaypointDbNames;
extern int16_t WaypointDbCount; // 0..600
// The waypoint file last loaded, when it held more entries than the
// database could take. Rewriting that file asks first (nav/WaypointFile.h).
extern std::string WaypointFileCutPath;
extern rtl::Array1<ChartPoint, kMaxChartPoints> ChartPoints; // base chart and layers, in load order
extern int16_t ChartPointCount;
extern std::string CurrentChartName;
extern rtl::ShortString<10> LayerFlags; // per layer file 0..9: '*' present, '-' missing
extern int16_t ChartKind; // chart configuration line 4
extern double ChartHomeLat, ChartHomeLon, ChartHomeZoom;
extern double ViewCentreLat, ViewCentreLon, ViewZoom; // last zoomed or re-centred view
extern double ChartScale; // working zoom from a configuration
extern double ChartOffsetLat, ChartOffsetLon; // chart datum offsets, degrees
// The longitude scale of the chart's projection: cos(ChartHomeLat). Distances
// and bearings between positions take their own latitude (nav/NavMaths.h).
extern double CosLat;
extern int32_t PixelsPerDegLat, PixelsPerDegLon; // at zoom 1
extern int16_t ViewImageHeight, ViewImageWidth; // pixels
extern double AreaPixelScale; // (600 / screen height)²
extern double ShapeScale;
extern rtl::Array1<rtl::ShortString<40>, kMaxChartList> ChartList;
extern int16_t ChartListCount;
// The charts folder last found to hold more configurations than ChartList
// can: the note that the rest are not considered is given once for it.
extern std::string ChartListOverflowFolder;
extern bool AutoLoadChart;
extern bool ChartEditable;
extern bool LabelsOn, SymbolsOn;

// ---- Tides
extern rtl::Array1<TidePosition, kMaxTideStations> TideStations;
extern rtl::Array1<rtl::Array1<TideFlow, kTideHours>, kMaxTideStations>
    TideStreams; // [station][1 = -6 .. 13 = +6]
extern int16_t TideStationCount; // 0: no atlas
extern std::string StandardPort;
extern int16_t TideHour; // -6..+6 from high water
extern int16_t HWHour;
extern bool ManualTideOff; // the stream comes from the atlas
extern int16_t TideSet; // degrees
extern double TideDrift; // knots
extern int16_t NearestTideStation;
extern double NearestDistance; // nm

// ---- Vessel layout, antenna and tow
extern double VesselBeam; // m
extern uint16_t VesselLength; // m
extern bool ShowVesselOutline;
extern double AntennaOffsetLat, AntennaOffsetLon; // degrees (metres × 8.999e-6)
extern double TowOffsetA, TowOffsetB, TowOffsetC, TowOffsetD, TowOffsetE; // configuration lines 38..42
extern double LayoutOffsetLat, LayoutOffsetLon;
extern rtl::Array1<TowLayoutPoint, 5> TowLayoutPoints; // point 5 is the towed body
extern rtl::Array1<rtl::ShortString<29>, 10> TowLayoutTexts;
extern double TowLat, TowLon;

// ---- NMEA output
extern bool NmeaOutputOn;
extern bool OutXTE, OutAPB, OutHSC, OutBOD, OutUser;
extern std::string UserSentenceTemplate;
extern std::string NmeaOutput; // sentences to send, each ended by CR LF
extern bool UserSentenceTooLong; // the last NmeaOutput left the user sentence out for its length
extern int16_t OutputCounter; // fixes since the last output

// ---- AIS
extern std::string AisPayload; // armoured payload of the message completed last
extern rtl::Array1<uint8_t, kAisSixBitsLength> AisSixBits; // de-armoured payload
extern AisTargetRecord AisDecodeRecord;
// AisDecodeRecord holds a message decoded since the last merge into the
// target table; a sentence that completes no message leaves it false.
extern bool AisDecodeFresh;
// Multi-sentence messages being assembled, the one started longest ago first.
extern std::vector<nav::AisHeldMessage> AisHeldMessages;
extern const AisTargetRecord EmptyAisRecord; // all zero
extern rtl::Array1<AisTargetRecord, kMaxAisTargets> AisTargets;
extern int32_t AisTargetCount;
extern uint16_t SelectedAisTarget; // 0 none
extern double NearestTargetRange;
extern int32_t AisDbRecordCount;
// "KVAIS.ADB" failed to read or write: it is not used again until the next
// start or until a database menu item is switched.
extern bool AisDbSuspended;
extern std::string AisSentence, AisLogGpsSentence, AisLastLogged, AisLogTime;
extern bool AisPlayback;
extern uint16_t AisPlaySpeed;
extern std::string LastAnnouncedName;
extern uint16_t CurrentYear;

// ---- Units, display and files
extern double DistanceFactor; // 1.0 nm, 1.852 km, 1.15081 statute miles
extern bool SpeedAlwaysKnots;
extern double ManualSpeed; // hull speed, knots
extern int16_t DRSpeedSource; // 0 ManualSpeed, else NavSpeed
extern int16_t DRCourseSource; // 0 WaypointBearing, else NavCourse
extern int16_t GridDatum; // -1 latitude/longitude, 0 OS GB grid, 1..8 UTM ellipsoids
extern bool GridDisplay;
extern bool AltPositionFormat;
extern int16_t UtcHourOffset; // hours added to the GPS time, modulo 24
extern int32_t FixIntervalMs;
// The shortest fix interval: fixes are stamped to the whole second (the time
// of a GGA or RMC sentence, hhmmss), so two fixes less than a second apart
// could share a time, and the speed and course made good are worked from the
// time between track records.
constexpr int32_t kShortestFixIntervalMs = 1000;
extern int32_t BackgroundColour, ForegroundColour; // BGR
extern int16_t ColourFgIndex, ColourBgIndex, ColourScheme;
extern bool TextIsFg, TrackIsFg, TideIsFg;
extern double ViewRotation, ViewRotationCos, ViewRotationSin; // radians
extern bool AutoCentre;
extern bool SoundEnabled;
extern std::string CursorPositionText;
// Data-trend selection (record numbers; 32 bits, a long day holds more records
// than 16 bits count): DataTrendOffset its first record, DataTrendStart its
// last (-6: no selection), DataTrendEndX the plot column of its right marker
// (120: none).
extern int32_t DataTrendStart, DataTrendEndX, DataTrendOffset;
extern std::string AppFolder, LogsFolder, ChartsFolder;
// A file in one of the folders above: one '/' between folder and name
// whether or not the folder was typed with its trailing separator.
std::string AppFile(const std::string& name);
std::string LogsFile(const std::string& name);
std::string ChartsFile(const std::string& name);
extern rtl::ShortString<33> ConfigName;
extern int32_t ComPort, BaudRate;
extern rtl::ShortString<33> NmeaStartMode, NmeaSourceName, NmeaPortKind, NmeaMode;
extern std::string MultiplexerExe, BrowserPath;
extern bool GlobalDlgFlag;

// Puts every variable back to its start value: zero, empty or false, then
// the values the program sets at start-up before reading its configuration.
// The chart store stays allocated and is emptied.
void ResetNavState();

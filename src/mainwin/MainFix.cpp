// The fix cycle of the main window, run once per accepted fix (a decoded
// sentence, a manual fix, a dead-reckoning tick or a played-back GPS line),
// and the small commands around it: dead-reckoning mode, trip reset, survey
// track reset, the position panel and the raw NMEA display.

#include "mainwin/FixCycle.h"
#include "mainwin/Main.h"
#include "mainwin/NeedleGauge.h"

#include "chartwin/Childwin.h"
#include "chartwin/ViewList.h"
#include "dialogs/AlarmDialog.h"
#include "dialogs/GlobalDlg.h"
#include "nav/DailyLogs.h"
#include "nav/LocalClock.h"
#include "nav/NavMaths.h"
#include "nav/NavState.h"
#include "nav/NavUpdate.h"
#include "nav/NmeaDecode.h"
#include "nav/NmeaOutput.h"
#include "nav/TideStep.h"
#include "nav/TrackLog.h"
#include "platform/Guarded.h"
#include "platform/QtColour.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"
#include "rtl/Numbers.h"
#include "serial/SerPort.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSpinBox>
#include <cmath>
#include <functional>

namespace
{

const std::string kDegreesTrue = "\xB0T"; // the degree sign is the Latin-1 byte 0xB0

// The course made good on the panel: empty while the vessel has not moved.
std::string CourseReadout()
{
    return CogText.empty() ? std::string() : CogText + kDegreesTrue;
}

// Runs a handler for a left click or a double click on a panel.
class PanelClicks : public QObject
{
public:
    PanelClicks(QWidget* panel, std::function<void()> click, std::function<void()> doubleClick)
        : QObject(panel)
        , click_(std::move(click))
        , doubleClick_(std::move(doubleClick))
    {
        panel->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        const bool release = e->type() == QEvent::MouseButtonRelease;
        const bool doubled = e->type() == QEvent::MouseButtonDblClick;
        if ((release || doubled) && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
            if (release && click_)
                platform::guarded(click_);
            else if (doubled && doubleClick_)
                platform::guarded(doubleClick_);
        }
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<void()> click_;
    std::function<void()> doubleClick_;
};

} // namespace

void TMainForm::BindFixCommands()
{
    Bind(DRMode1, &TMainForm::DRMode1Click);
    Bind(SurveyTrack1, &TMainForm::SurveyTrack1Click);
    Bind(ShowNMEA, &TMainForm::ShowNMEAClick);
    new PanelClicks(Trip, nullptr, [this] { TripDblClick(); });
    new PanelClicks(
        PosnPanel, [this] { PosnPanelClick(); }, [this] { PosnPanelDblClick(); });
}

TFixPreferences TMainForm::ReadFixPreferences() const
{
    TFixPreferences prefs;
    const TGlobalSettings& settings = GlobalSettings;
    prefs.RepRate = settings.RepRate;
    if (settings.Reverse)
        prefs.Completion = RouteCompletion::Reverse;
    else if (settings.RepRoute)
        prefs.Completion = RouteCompletion::Repeat;
    prefs.RevRoute = settings.RevRoute;
    prefs.Voice = settings.Voice;
    prefs.Vfreq = settings.Vfreq;
    prefs.WPVoice = settings.WPVoice;
    prefs.HeadUp = settings.HeadUp;
    prefs.HUPdeadB = settings.HUPdeadB;
    prefs.UTCClock = AlarmSettings.UTCClock;
    return prefs;
}

void TMainForm::FixBtnClick()
{
    const TFixPreferences prefs = ReadFixPreferences();

    // Speed made good, and dead reckoning (the course made good is taken once
    // this fix is stored, below).
    ComputeLogSpeed();
    if (!DRMode)
        NavSpeed = (MeasuredSpeed <= 0.01 || LogCount < 2) ? ManualSpeed : MeasuredSpeed;
    if (DRMode && RouteCount > 0 && ActiveWaypoint > 0) {
        ComputeDeadReckoning();
        CurLat = DRLat;
        CurLon = DRLon;
        GPSIndicator->setText("DR");
        SetGpsIndicatorColour(nav::kIndicatorRed);
    }
    if (LogCount >= 1)
        UpdateMenuItems();

    // Fix time and tidal hour.
    const bool sentenceClock = prefs.UTCClock && (NmeaOpen || AisPlayback) && FixValid && !DRMode;
    const FixClock clock = GetFixTime(sentenceClock, SentenceTimeText);
    TideHour = static_cast<int16_t>(TidalHour(clock.hour, clock.minute, HWHour));

    // The track store holds GPS-datum positions; a manual position was put
    // on the chart datum and goes back for storing. From here on the present
    // position is on the chart datum.
    ThinAutoTrack();
    if (FixStatus == "MAN") {
        CurLat -= ChartOffsetLat;
        CurLon += ChartOffsetLon;
    }
    LogRecords[LogCount] = LogRecord { rtl::Real6(CurLat), rtl::Real6(CurLon), rtl::Real6(clock.minutes) };
    // From here to the next fix the course made good is the one through this
    // fix: an AIS target heard meanwhile is announced against it, not against
    // the track before this fix (on the second fix, no course at all). At rest
    // the last course worked out stays; until the vessel has moved it has none.
    if (!DRMode)
        UpdateNavCourse();
    CurLat += ChartOffsetLat;
    CurLon -= ChartOffsetLon;
    const TPosition fix { CurLat, CurLon };

    if (CountTowardsRecentre(FixesSinceRedraw, DrawEveryN))
        RecentreTrackingViews();

    const LocalDateTime today = LocalNow();
    LogDateText = LogDateTextFor(today.year, today.month, today.day);
    // A played-back fix is not the day's own: the day's track log is left as
    // it was (the own track is kept aside meanwhile, MainAis.cpp).
    if (!AisPlayback)
        ReportLogWrite(WriteTrackLogFile(LogsFile(LogDateText.str() + ".log")), trackLogFailing_,
            platform::MessageKind::Error, "Error writing Log File!");

    if (AutoLoadChart)
        AutoChartClick();

    // The navigation figures, the panel, the logs and the output sentences
    // are this fix's own, whatever the views or a chart change did with the
    // working position meanwhile.
    CurLat = fix.lat;
    CurLon = fix.lon;
    UpdateNavigationData();

    AddLegToTrip();
    Trip->setText(qs(rtl::StrReal(TripTotal, 0, 2) + " Nm"));

    ++OutputCounter;
    if (OutputCounter >= prefs.RepRate || ManualFixFlag) {
        WriteTextLogLine(ManualFixFlag);
        if (!ManualFixFlag)
            OutputCounter = 0;
    }

    SelectRouteEntry(ActiveWaypoint - 1);
    if (ActiveWaypoint != 0 && ActiveWaypoint != RouteCount + 1 && LogCount > 1)
        ShowNavigationReadout(prefs);
    else
        HandleEndOfRoute(prefs);

    if (prefs.HeadUp)
        ApplyHeadingUp(ComputeLogCourse(), prefs.HUPdeadB);
}

void TMainForm::ShowNavigationReadout(const TFixPreferences& prefs)
{
    SpeedOG->setText(qs(SogText + SpeedUnitText.str()));
    SpeedMG->setText(qs(VmgText));
    CourseOG->setText(qs(CourseReadout()));
    if (RouteCount > 0) {
        RngToWp->setText(qs(RangeText));
        TimeToWP->setText(qs(TtgText));
        BearingToWP->setText(qs(BearingText + kDegreesTrue));
    }
    if (!MeasureMode && (TideStationCount > 0 || !ManualTideOff))
        StatusLine->setText(qs("Course to steer " + CtsText + kDegreesTrue));

    if (std::isfinite(XTE)) {
        const XteGaugeReading gauge
            = ReadXteGauge(XTE, XteDeadband, platform::BgrFromQColor(XTerror->backColor()), prefs.Vfreq);
        XTerror->setProgress(gauge.position);
        XTerror->setBackColor(platform::QColorFromBgr(gauge.colour));
        XTEScale->setText(qs(XteScaleText));
        SetHint(XTerror, qs("XTE = " + rtl::StrReal(std::abs(XTE), 0, 2) + "|"));
        PlaySteeringCues(gauge, prefs);
    } else {
        // No cross-track error to show: the gauge as before any reading, and
        // no steering cue (the waypoint cues still come).
        XTerror->setProgress(0);
        XTerror->setBackColor(platform::QColorFromBgr(kGaugeSilver));
        SetHint(XTerror, "XTE = ********|");
        XteGaugeReading unknown;
        unknown.cueDue = false;
        PlaySteeringCues(unknown, prefs);
    }

    SendNmeaOutput();
}

void TMainForm::HandleEndOfRoute(const TFixPreferences& prefs)
{
    if (LogCount == 1)
        KeepRouteSelection = true;
    else
        SelectRouteEntry(-1);

    const bool routeEnded = ActiveWaypoint == 0 || ActiveWaypoint == RouteCount + 1;
    if (prefs.Completion == RouteCompletion::Prompt && NavigationData1->isChecked() && RouteCount > 0
        && routeEnded && !ComTimeZero && !MeasureMode) {
        StatusLine->setText("Select Next Waypoint!");
        SelectVoicePending = true;
        WpApproachPending = false;
        SetHint(WPName, "End of route !|");
    }
    if (RestartRoute(prefs.Completion)) {
        GlobalSettings.RevRoute = ReverseRoute;
        SelectRouteEntry(ActiveWaypoint - 1);
    }

    if (LogCount < 2) {
        ClearNavPanel();
    } else {
        TimeToWP->clear();
        BearingToWP->clear();
        RngToWp->clear();
        SpeedMG->clear();
        XTerror->setProgress(0);
        XTerror->setBackColor(platform::QColorFromBgr(kGaugeWhite));
        SpeedOG->setText(qs(SogText + SpeedUnitText.str()));
        CourseOG->setText(qs(CourseReadout()));
    }

    PlaySelectCue(prefs, SelectVoicePending);
}

void TMainForm::SelectRouteEntry(int index)
{
    WPName->setCurrentIndex(index >= 0 && index < WPName->count() ? index : -1);
}

void TMainForm::RecentreTrackingViews()
{
    // A copy: a redraw may bring its view to the front and reorder the list.
    for (TMDIChild* view : chartwin::Views()) {
        if (!view->FShowTrack)
            continue;
        view->FCursorLat = CurLat;
        view->FCursorLon = CurLon;
        if (view->FAutoRecentre)
            view->CentreButton1Click();
    }
}

void TMainForm::SendNmeaOutput()
{
    // A user sentence too long to send is said once for each template it
    // is set to, not at every fix; the other sentences go out.
    if (UserSentenceTooLong && userSentenceToldFor_ != UserSentenceTemplate) {
        userSentenceToldFor_ = UserSentenceTemplate;
        platform::MessageWarning("User NMEA sentence longer than " + std::to_string(kMaxNmeaSentence)
            + " characters - it is not sent");
    }
    // Only while the port is open (a closed one is never opened behind the
    // window's back), and never for a played-back fix: the autopilot would
    // steer by a recorded position.
    if (!ComPort2 || !ComPort2->Open() || AisPlayback)
        return;
    // The port's own thread writes the output: a refusal of an earlier fix's
    // output (the device gone away) is heard of now, and so is a port that
    // has no room for this fix's. Output that does not fit is dropped for
    // this fix, not queued: the next fix brings fresher figures.
    const serial::TOutputOutcome earlier = ComPort2->TakeOutputOutcome();
    const bool fits = ComPort2->OutputFree() >= NmeaOutput.size();
    // No news of the earlier output leaves the report as it stands.
    const bool written = fits
        && (earlier == serial::TOutputOutcome::None ? !portOutputFailing_
                                                    : earlier == serial::TOutputOutcome::Sent);
    const std::string failure = "Error writing NMEA output to COM" + std::to_string(ComPort2->ComNumber());
    ReportLogWrite(written, portOutputFailing_, platform::MessageKind::Error, failure);
    if (portOutputFailing_) {
        SetGpsIndicatorColour(nav::kIndicatorRed);
        SetHint(GPSIndicator, qs(failure + "|"));
    }
    if (!NmeaOutput.empty() && fits)
        ComPort2->WriteString(NmeaOutput);
}

void TMainForm::ClearNavPanelAndGauge()
{
    ClearNavPanel();
    XTerror->setProgress(0);
    XTerror->setBackColor(platform::QColorFromBgr(kGaugeSilver));
    SetHint(XTerror, "");
    XTEScale->clear();
}

void TMainForm::DRMode1Click()
{
    DRMode1->setChecked(!DRMode1->isChecked());
    DRMode = DRMode1->isChecked();
    if (DRMode) {
        FixTimer->setInterval(FixIntervalMs);
        FixTimer->setEnabled(true);
        StatusLine->setText("Dead Reckoning Mode !");
    } else {
        FixTimer->setInterval(0);
        GPSIndicator->clear();
        StatusLine->clear();
        if (NmeaOpen)
            FixTimer->setInterval(FixIntervalMs);
    }
    UpdateMenuItems();
}

void TMainForm::TripDblClick()
{
    if (!platform::AskYesNo("Reset the trip distance - Are you sure?"))
        return;
    TripTotal = 0;
    TripLeg = 0;
    Trip->setText("0.00 Nm");
}

void TMainForm::SurveyTrack1Click()
{
    for (TMDIChild* view : chartwin::Views()) {
        view->FPlotSurveyLog = false;
        view->FCursorLat = CurLat;
        view->FCursorLon = CurLon;
        view->CentreButton1Click();
    }
    UpdateMenuItems();
}

void TMainForm::PosnPanelDblClick()
{
    AltPositionFormat = !AltPositionFormat;
    RefreshAllViews();
}

void TMainForm::PosnPanelClick()
{
    if (GridDisplay)
        return;
    StatusLine->setText(
        qs(rtl::StrReal(CurLat, 0, 5) + "\xB0 " + rtl::StrReal(0.0 - CurLon, 0, 5) + "\xB0 (S/W -ve)"));
}

void TMainForm::ShowNMEAClick()
{
    ShowNMEA->setChecked(!ShowNMEA->isChecked());
    if (!ShowNMEA->isChecked())
        StatusLine->clear();
}

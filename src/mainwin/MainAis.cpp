// AIS in the main window: each "!AIVDM" sentence assembled and merged into
// the target table (nav/AisAssembly.h, nav/AisTargets.h) with the beep and
// spoken sector of a new target, the database menu items, and playback of a
// day's AIS log, one line per tick of AISplayTime.

#include "mainwin/Main.h"

#include "dialogs/AlarmDialog.h"
#include "dialogs/GlobalDlg.h"
#include "nav/AisAssembly.h"
#include "nav/AisTargets.h"
#include "nav/FileNameParts.h"
#include "nav/LocalClock.h"
#include "nav/NavState.h"
#include "nav/NmeaDecode.h"
#include "nav/TextLog.h"
#include "nav/TrackLog.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"
#include "rtl/Numbers.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QToolButton>

namespace
{

constexpr const char* kAisDatabaseResting
    = " - the AIS database is not used until the next start or until its menu items are switched again";

} // namespace

void TMainForm::BindAisCommands()
{
    Bind(PlayAISlog, &TMainForm::PlayAISlogClick);
    Bind(AISplayTime, &TMainForm::AISplayTimeTimer);
    Bind(SearchAISDatabase, &TMainForm::SearchAISDatabaseClick);
    Bind(UpdateAISDatabase, &TMainForm::UpdateAISDatabaseClick);
}

void TMainForm::AssembleAivdm(const std::string& sentence)
{
    nav::AssembleAivdm(sentence);
}

void TMainForm::UpdateAisTargets()
{
    nav::AisMergeOptions options;
    options.now = LocalNow().DateTimeValue();
    options.searchDatabase = SearchAISDatabase->isChecked();
    options.updateDatabase = UpdateAISDatabase->isChecked();
    options.voice = GlobalSettings.AISvoice;
    options.monitorMode = AISMonitor->isChecked();
    const nav::AisMergeResult merged = nav::UpdateAisTargets(options);
    if (!merged.databaseError.empty())
        platform::MessageError(merged.databaseError + kAisDatabaseResting);
    if (merged.announce)
        platform::Beep();
    if (!merged.sectorWord.empty())
        PlayVoice(merged.sectorWord);
}

void TMainForm::SearchAISDatabaseClick()
{
    SearchAISDatabase->setChecked(!SearchAISDatabase->isChecked());
    nav::SwitchAisDatabase();
}

void TMainForm::UpdateAISDatabaseClick()
{
    UpdateAISDatabase->setChecked(!UpdateAISDatabase->isChecked());
    nav::SwitchAisDatabase();
}

void TMainForm::PlayAISlogClick()
{
    if (AisPlayback) {
        AISplayTime->setEnabled(false);
        if (platform::ui().askOkCancel("Playback Paused - Stop playing current AIS log file ?", "Confirm"))
            StopAisPlayback();
        else
            AISplayTime->setEnabled(true);
        return;
    }
    if (!ExecuteOpen(OpenAISdlg))
        return;
    // The file is opened first: one that cannot be read leaves the targets,
    // the track and the trip as they were.
    rtl::TextReader log;
    if (!log.open(OpenAISdlg.fileName))
        return;

    AISMonitor->setChecked(false);
    // Fix times come from the log's GPS sentences ("Log GPS UTC time if
    // available" of the timing dialog).
    AlarmSettings.UTCClock = true;
    AisTargetCount = 0;
    AisTargets.fill(EmptyAisRecord);
    SelectedAisTarget = 0;
    HoldOwnTrack();
    EmptyTrackLog();
    RefreshAllViews();
    UpdateMenuItems();

    AisLogFile = std::move(log);
    AisPlayback = true;
    AISplayTime->setEnabled(true);
    EnableNmeaInterfaceCommands(false);
    SetHint(PlayAISlog, "Stop Playing the AIS Log|");
    // No text-log lines during playback; the switch is given back when the
    // playback stops or ends.
    HoldTextLogOff();
    ShowTextLogSwitch();
}

void TMainForm::AISplayTimeTimer()
{
    if (!AisPlayback || AisLogFile.eof()) {
        AISplayTime->setEnabled(false);
        StopAisPlayback();
        return;
    }
    std::string line;
    AisLogFile.readLine(line);
    if (ShowNMEA->isChecked())
        StatusLine->setText(qs(line));
    switch (nav::ClassifyAisLogLine(line)) {
    case nav::AisLogLine::Gps:
        // The fix cycle runs for it at once, not at the fix tick.
        CurrentSentence = line;
        ProcessNmeaSentence();
        break;
    case nav::AisLogLine::Ais:
        AisSentence = line;
        AssembleAivdm(AisSentence);
        UpdateAisTargets();
        break;
    case nav::AisLogLine::Other:
        break;
    }
}

void TMainForm::StopAisPlayback()
{
    AisPlayback = false;
    CloseAisLogFile();
    EnableNmeaInterfaceCommands(true);
    SetHint(PlayAISlog, "Playback an AIS Log|");
    ReleaseTextLogHold();
    ShowTextLogSwitch();
    // Nothing of the log stays in charge: a station's monitor mode ends with
    // its log, and the figures of the last played fix (the panel, the course
    // to steer) go until the next real fix.
    AISMonitor->setChecked(false);
    ClearNavPanelAndGauge();
    StatusLine->clear();
    ShowGpsUnknown();
    ReleaseOwnTrack();
}

void TMainForm::EnableNmeaInterfaceCommands(bool enabled)
{
    NMEAServerOnOff->setEnabled(enabled);
    Nserver->setEnabled(enabled);
}

void TMainForm::HoldOwnTrack()
{
    if (heldTrack_)
        return;
    heldTrack_ = HeldTrack { EncodeTrackLog(), ThinIndex, ThinCounter, TripTotal, TripLeg, CurLat, CurLon,
        NavCourse, NavCourseKnown, ActiveWaypoint, ArrivedWaypoint, XteRefCourse, OriginWaypointName,
        FirstLegPending, ReverseRoute };
}

void TMainForm::ReleaseOwnTrack()
{
    if (!heldTrack_)
        return;
    const HeldTrack held = std::move(*heldTrack_);
    heldTrack_.reset();
    DecodeTrackLog(held.image);
    ThinIndex = held.thinIndex;
    ThinCounter = held.thinCounter;
    TripTotal = held.tripTotal;
    TripLeg = held.tripLeg;
    CurLat = held.lat;
    CurLon = held.lon;
    NavCourse = held.course;
    NavCourseKnown = held.courseKnown;
    ActiveWaypoint = held.activeWaypoint;
    ArrivedWaypoint = held.arrivedWaypoint;
    XteRefCourse = held.xteRefCourse;
    OriginWaypointName = held.originWaypointName;
    FirstLegPending = held.firstLegPending;
    ReverseRoute = held.reverseRoute;
    SelectRouteEntry(ActiveWaypoint - 1);
    Trip->setText(qs(rtl::StrReal(TripTotal, 0, 2) + " Nm"));
    RefreshAllViews();
    UpdateMenuItems();
}

void TMainForm::CloseAisLogFile()
{
    AisLogFile = rtl::TextReader();
}

std::string TMainForm::AisPlaybackName() const
{
    return AisPlayback ? ExtractFileBaseName(OpenAISdlg.fileName) : std::string();
}

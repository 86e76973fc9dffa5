// A chart view's popup commands that act at the cursor or on the whole
// view: the chart's note, route editing at the cursor, the playback of the
// own track and the area enclosed around the cursor. Each ends in a full
// redraw of the view.

#include "chartwin/Childwin.h"

#include "chartwin/AreaFill.h"
#include "chartwin/ChartPainters.h"
#include "chartwin/CursorPainter.h"
#include "chartwin/ViewHost.h"
#include "dialogs/AISInfo.h"
#include "dialogs/OKRightDlg.h"
#include "nav/NavState.h"
#include "nav/RouteEdit.h"
#include "platform/Guarded.h"
#include "platform/QtHint.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"
#include "platform/Ui.h"
#include "rtl/Numbers.h"
#include "rtl/Paths.h"
#include "rtl/TextFile.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QToolButton>
#include <algorithm>
#include <memory>

namespace
{

const char* const kNoInformation = "No Information available!";
const char* const kPlaybackRefused = "Not allowed while playing an AIS log!";
const char* const kPlaybackStatus = "Log Playback in Progress ...";
const char* const kAreaRefused = "Close NMEA server or turn DR mode off and purge the log first !";

constexpr chartwin::TColour kAreaFill = 0x00FFFF; // yellow

template <typename Handler> auto Guard(TMDIChild* view, Handler handler)
{
    return [view, handler] { platform::guardedIn(view, [&] { (view->*handler)(); }); };
}

// The chart's note: beside the chart file, named after it.
std::string InformationPath()
{
    return ChartsFile(CurrentChartName + ".inf");
}

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

void TMDIChild::ConnectCommands()
{
    // A check item's command sets its own check mark: undo Qt's toggle first.
    for (QAction* item : { Information1, WaypointSnapMode })
        connect(item, &QAction::triggered, item, [item](bool now) { item->setChecked(!now); });
    connect(Information1, &QAction::triggered, this, Guard(this, &TMDIChild::Information1Click));
    connect(AddRouteWaypoint1, &QAction::triggered, this, Guard(this, &TMDIChild::AddRouteWaypoint1Click));
    connect(InsertWaypoint1, &QAction::triggered, this, Guard(this, &TMDIChild::InsertWaypoint1Click));
    connect(EditRoute1, &QAction::triggered, this, Guard(this, &TMDIChild::EditRoute1Click));
    connect(DeleteSelectedWaypoint1, &QAction::triggered, this,
        Guard(this, &TMDIChild::DeleteSelectedWaypoint1Click));
    connect(WaypointSnapMode, &QAction::triggered, this, Guard(this, &TMDIChild::WaypointSnapModeClick));
    connect(PopupMenu1, &QMenu::aboutToShow, this, Guard(this, &TMDIChild::PopupMenu1Popup));
    connect(PlaybackLog1, &QAction::triggered, this, Guard(this, &TMDIChild::PlaybackLog1Click));
    connect(Delay, &TTimer::timeout, this, Guard(this, &TMDIChild::DelayTimer));
    connect(Area1, &QAction::triggered, this, Guard(this, &TMDIChild::Area1Click));
}

// ---- Chart information

void TMDIChild::Information1Click()
{
    const std::string path = InformationPath();
    if (Information1->isChecked()) {
        if (ChartEditable) {
            rtl::AtomicTextWriter file;
            bool saved = file.create(rtl::CreatePath(path));
            if (saved) {
                for (const QString& line : Memo1->toPlainText().split('\n'))
                    file.writeLine(platform::ls(line));
                saved = file.commit();
            }
            if (!saved) {
                // The note stays open so that nothing typed is lost.
                platform::MessageError("Could not save the chart information to " + path);
                return;
            }
            Memo1->setReadOnly(true);
            SetHint(Memo1, "CTRL+I to Close !");
        }
        Information1->setChecked(false);
        Memo1->hide();
        return;
    }
    Memo1->move(Image1->mapTo(ScrollBox1->viewport(), QPoint(FCursorX, FCursorY)));
    // Never the note of the chart shown before.
    Memo1->clear();
    const auto lines = rtl::ReadAllLines(rtl::OpenPath(path));
    if (lines) {
        QStringList text;
        for (const std::string& line : *lines)
            text << platform::qs(line);
        Memo1->setPlainText(text.join('\n'));
    } else {
        platform::MessageWarning(kNoInformation);
        if (!ChartEditable)
            return;
    }
    Information1->setChecked(true);
    Memo1->show();
    Memo1->raise();
    if (ChartEditable) {
        Memo1->setReadOnly(false);
        SetHint(Memo1, "CTRL+I to Save changes !");
    }
}

// ---- Route editing at the cursor

void TMDIChild::RedrawAfterRouteEdit(bool keepSelection)
{
    RouteChanged = true;
    if (keepSelection)
        KeepRouteSelection = true;
    NewChartBitmap();
    RedrawView();
}

void TMDIChild::AddRouteWaypoint1Click()
{
    AddRouteWaypoint("");
    RedrawAfterRouteEdit(false);
}

void TMDIChild::InsertWaypoint1Click()
{
    InsertRouteWaypoint("");
    RedrawAfterRouteEdit(true);
}

void TMDIChild::DeleteSelectedWaypoint1Click()
{
    DeleteRouteWaypoint();
    RedrawAfterRouteEdit(false);
}

void TMDIChild::EditRoute1Click()
{
    TOKRightDlgSettings edit;
    if (ActiveWaypoint >= 1 && ActiveWaypoint <= RouteCount)
        edit.NewWPname = RouteNames[ActiveWaypoint].str().substr(0, 24);
    edit.MoveWP = false;
    // The program's form; a view made on its own (tests) brings its own.
    std::unique_ptr<TOKRightDlg> own;
    TOKRightDlg* dialog = OKRightDlg;
    if (!dialog) {
        own = std::make_unique<TOKRightDlg>(this);
        dialog = own.get();
    }
    if (!dialog->Execute(edit))
        return;
    EditRouteWaypoint(edit.NewWPname, edit.MoveWP);
    RedrawAfterRouteEdit(true);
}

void TMDIChild::WaypointSnapModeClick()
{
    WaypointSnapMode->setChecked(!SnapToWaypoint);
    SnapToWaypoint = WaypointSnapMode->isChecked();
}

void TMDIChild::PopupMenu1Popup()
{
    WaypointSnapMode->setChecked(SnapToWaypoint);
}

// ---- Track playback

void TMDIChild::CentreOnTrackRecord(int index)
{
    FCursorLat = LogRecords[index].lat + ChartOffsetLat;
    FCursorLon = LogRecords[index].lon - ChartOffsetLon;
    CentreButton1Click();
}

void TMDIChild::PlaybackLog1Click()
{
    if (AisPlayback) {
        platform::MessageInformation(kPlaybackRefused);
        return;
    }
    if (LogCount < 2)
        return;
    // A playback started again keeps the switches of the view before the
    // first one.
    if (!SwitchesBeforePlayback)
        SwitchesBeforePlayback = std::make_pair(FShowTrack, FShowVessel);
    FShowTrack = false;
    FShowVessel = false;
    CentreOnTrackRecord(1);
    PenIsUp = true;
    PlaybackIndex = 0;
    PlaybackStep = 0;
    const int speed = std::max<int>(1, AisPlaySpeed);
    Delay->setEnabled(false);
    Delay->setInterval(static_cast<int>(rtl::Round(1000.0 / speed)));
    Delay->setEnabled(true);
    if (Host)
        Host->ShowStatus(kPlaybackStatus);
}

void TMDIChild::DelayTimer()
{
    const int count = std::min<int>(LogCount, kMaxLogRecords);
    if (PlaybackIndex < count) {
        ++PlaybackStep;
        const int every = AisPlaySpeed > 5 ? AisPlaySpeed : 5;
        if (PlaybackStep >= every) {
            CentreOnTrackRecord(std::max(1, PlaybackIndex));
            PenIsUp = true;
            for (int i = 1; i <= PlaybackIndex; ++i)
                chartwin::PlotTrackPoint(
                    *this, LogRecords[i].lat + ChartOffsetLat, LogRecords[i].lon - ChartOffsetLon);
            PlaybackStep = 0;
        }
        ++PlaybackIndex;
        chartwin::PlotTrackPoint(*this, LogRecords[PlaybackIndex].lat + ChartOffsetLat,
            LogRecords[PlaybackIndex].lon - ChartOffsetLon);
        Image1->update();
    }
    // The end; also when the track was purged meanwhile.
    if (PlaybackIndex < count)
        return;
    Delay->setEnabled(false);
    if (SwitchesBeforePlayback) {
        FShowTrack = SwitchesBeforePlayback->first;
        FShowVessel = SwitchesBeforePlayback->second;
        SwitchesBeforePlayback.reset();
    }
    if (count >= 1)
        CentreOnTrackRecord(count);
    else
        CentreButton1Click();
    if (Host)
        Host->ShowStatus("");
}

// ---- Area

void TMDIChild::Area1Click()
{
    if (NmeaOpen || DRMode || LogCount > 0) {
        platform::MessageWarning(kAreaRefused);
        return;
    }
    FShowWaypoints = FShowTrack = FShowRoute = FPlotSurveyLog = FShowTides = false;
    ShowAIS->setChecked(false);
    if (AISInfo)
        AISInfo->hide();
    CentreButton1Click();

    std::string text;
    {
        WaitCursor wait;
        // The cursor cross is no chart line: off before the fill.
        chartwin::DrawCursorCross(*this, FCursorX, FCursorY, 10);
        const auto background = static_cast<chartwin::TColour>(BackgroundColour) & 0xFFFFFF;
        const auto foreground = static_cast<chartwin::TColour>(ForegroundColour) & 0xFFFFFF;
        const int64_t pixels
            = chartwin::FillAndCountArea(*Canvas, FCursorX, FCursorY, background, foreground, kAreaFill);
        Canvas->SetBrushColour(background);
        Image1->update();

        const double F = DistanceFactor;
        std::string unit;
        double k = 1;
        if (F < 1.1) {
            unit = " Sq. Nm";
            k = 1;
        }
        if (F > 1.2) {
            unit = " Hectares";
            k = 100;
        }
        if (F > 1.0 && F < 1.8) {
            unit = " Acres";
            k = 640;
        }
        // A pixel of the drawing is 60 / FScaleLat nautical miles north-south
        // and 60 cos(latitude) / FScaleLon east-west, at the latitude of the
        // view's centre, where the cursor stands in the area; so the area
        // follows the drawing whatever the view's shape and size.
        const double nmNorthSouth = 60.0 / FScaleLat;
        const double nmEastWest = 60.0 * FCosCentreLat / FScaleLon;
        double area = F * F * k * static_cast<double>(pixels) * nmNorthSouth * nmEastWest;
        std::string number = rtl::StrReal(area, 0, 2);
        if (area < 0.1 && unit == " Hectares") {
            area *= 10000;
            unit = " Sq. Metres";
            number = rtl::StrReal(area, 0, 0);
        } else if (area < 0.1 && unit == " Acres") {
            area *= 43560.17;
            unit = " Sq. Feet";
            number = rtl::StrReal(area, 0, 0);
        }
        text = "Area = " + number + unit;
    }
    platform::MessageInformation(text);
    CentreButton1Click();
}

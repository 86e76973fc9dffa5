// The AIS view's own commands: the selection and the target data window
// after every redraw and on the 5-second refresh, the age-out of silent
// targets, the double click, the AIS items of the popup menu, the range ring
// buttons and the repeat button. The drawing is chartwin/AisPainter.h.

#include "chartwin/Childwin.h"

#include "chartwin/AisPainter.h"
#include "chartwin/SpinButton.h"
#include "chartwin/ViewHost.h"
#include "dialogs/AISInfo.h"
#include "dialogs/AlarmDialog.h"
#include "draw/SymbolLibrary.h"
#include "nav/AisSelection.h"
#include "nav/AisTargetInfo.h"
#include "nav/LocalClock.h"
#include "nav/NavState.h"
#include "platform/Guarded.h"
#include "platform/QtHint.h"
#include "platform/QtTimer.h"
#include "platform/QtWindowState.h"
#include "platform/Ui.h"

#include <QAction>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QToolButton>

int16_t AisHeadingMode = 0;

namespace
{

// Age-out limits, days.
constexpr double kFiveMinutes = 0.003472;
constexpr double kTenMinutes = 0.006945;
constexpr double kFifteenMinutes = 0.010417;

const char* const kClearAllQuestion = "This will remove all displayed AIS targets ! - Are you sure?";

// Runs a command of the view inside the handler edge.
template <typename Handler> auto Guard(TMDIChild* view, Handler handler)
{
    return [view, handler] { platform::guardedIn(view, [&] { (view->*handler)(); }); };
}

} // namespace

void TChartImage::mouseDoubleClickEvent(QMouseEvent* e)
{
    e->accept();
    emit DoubleClicked();
}

void TMDIChild::BindAisCommands()
{
    // The outline of the followed target (marker 104), only while the own
    // vessel is shown to scale.
    DrawAisTargetOutline = [this] {
        if (ShowVesselOutline && nav::AisSelectionHasPosition())
            chartwin::DrawAisTargetOutline(*this, AisTargets[SelectedAisTarget], AisHeadingMode);
    };
    connect(Image1, &TChartImage::DoubleClicked, this, Guard(this, &TMDIChild::Image1DblClick));
    connect(RefRate, &TTimer::timeout, this, Guard(this, &TMDIChild::RefRateTimer));
    connect(ShowAIS, &QToolButton::clicked, this, Guard(this, &TMDIChild::ShowAISClick));
    connect(AISrepeat, &QToolButton::clicked, this, Guard(this, &TMDIChild::AISrepeatClick));
    connect(RR->Up, &QToolButton::clicked, this, Guard(this, &TMDIChild::RRUpClick));
    connect(RR->Down, &QToolButton::clicked, this, Guard(this, &TMDIChild::RRDownClick));

    // Check items set their own marks: undo Qt's toggle first.
    auto toggle = [this](QAction* item, void (TMDIChild::*handler)()) {
        connect(item, &QAction::triggered, item, [item](bool now) { item->setChecked(!now); });
        connect(item, &QAction::triggered, this, Guard(this, handler));
    };
    toggle(HighlightNearest1, &TMDIChild::HighlightNearest1Click);
    toggle(ShowMMSI1, &TMDIChild::ShowMMSI1Click);
    toggle(LargeLollipop1, &TMDIChild::LargeLollipop1Click);
    toggle(AISFollowSelectedTarget1, &TMDIChild::AISFollowSelectedTarget1Click);
    toggle(AISZoom, &TMDIChild::AISZoomClick);
    toggle(AISShape, &TMDIChild::AISShapeClick);
    // Radio items: Qt checks the item that was chosen.
    auto radio = [this](QAction* item, void (TMDIChild::*handler)()) {
        connect(item, &QAction::triggered, this, Guard(this, handler));
    };
    radio(OnAll1, &TMDIChild::OnAll1Click);
    radio(OnSelected1, &TMDIChild::OnSelected1Click);
    radio(Never1, &TMDIChild::Never1Click);
    radio(After5Mins1, &TMDIChild::After5mins1Click);
    radio(After10Mins1, &TMDIChild::After10mins1Click);
    radio(After15Mins1, &TMDIChild::After15mins1Click);
    radio(AISCOG1, &TMDIChild::AISCOG1Click);
    radio(AISTrueHead1, &TMDIChild::AISTrueHead1Click);
    connect(ClearAllTargets1, &QAction::triggered, this, Guard(this, &TMDIChild::ClearAllTargets1Click));
}

void TMDIChild::SelectNearestAisTarget()
{
    const nav::AisNearest nearest = nav::FindNearestAisTarget();
    SelectedAisTarget = uint16_t(nearest.index);
    if (AISZoom->isChecked())
        NearestTargetRange = nearest.range;
}

void TMDIChild::ShowAisTargetInfo(int i, QPlainTextEdit* memo)
{
    nav::AisInfoContext context;
    context.now = LocalNow();
    context.fixTimeUtc = !(Host && Host->AisMonitorOn()) && AlarmSettings.UTCClock;
    if (Host)
        context.playbackName = Host->AisPlaybackName();
    for (const std::string& line : nav::AisTargetInfoLines(i, context))
        memo->appendPlainText(QString::fromLatin1(line.data(), qsizetype(line.size())));
}

void TMDIChild::UpdateAisTargets()
{
    if (HighlightNearest1->isChecked())
        SelectNearestAisTarget();
    if (AISInfo)
        AISInfo->Memo1->clear();
    if (AisTargetCount > 0 && nav::AisSelectionValid()) {
        if (AISInfo)
            ShowAisTargetInfo(SelectedAisTarget, AISInfo->Memo1);
        // Highlighting stays locked on while the view zooms to the nearest target.
        HighlightNearest1->setEnabled(!AISZoom->isChecked());
    }
    if (Never1->isChecked() || AisTargetCount <= 0) {
        ShowTargetSpin();
        return;
    }
    nav::AgeOutAisTargets(LocalNow().DateTimeValue(), AisAgeLimit);
    if (AisTargetCount > 0) {
        if (HighlightNearest1->isChecked())
            SelectNearestAisTarget();
        ShowTargetSpin();
    } else {
        SelectedAisTarget = 0;
        if (AISInfo)
            AISInfo->Memo1->clear(); // no target left to list
        HighlightNearest1->setChecked(true);
        HighlightNearest1->setEnabled(false);
        ShowTargetSpin();
    }
}

void TMDIChild::SetAisRefresh()
{
    RefRate->setEnabled(!FShowTrack && FIsAisView);
}

void TMDIChild::RefRateTimer()
{
    if (HighlightNearest1->isChecked())
        SelectNearestAisTarget();
    if (LogCount > 0 || AisTargetCount > 0)
        CentreButton1Click();
    UpdateAisTargets();
}

void TMDIChild::Image1DblClick()
{
    if (!FIsAisView || !ShowAIS->isChecked()) {
        if (Host)
            Host->WaypointSnapMode1Click();
        return;
    }
    if (AisTargetCount <= 0)
        return;
    SelectNearestAisTarget();
    if (LogCount > 0) {
        if (FShowTrack) {
            const LogRecord& newest = LogRecords[std::min<int>(LogCount, kMaxLogRecords)];
            FCursorLat = newest.lat + ChartOffsetLat;
            FCursorLon = newest.lon - ChartOffsetLon;
        }
    } else {
        FCursorX = ViewImageWidth / 2;
        FCursorY = ViewImageHeight / 2;
        InverseProject(FCursorX, FCursorY, FCursorLat, FCursorLon);
    }
    if (Host)
        Host->RefreshAllViews();
    if (AISInfo) {
        AISInfo->Memo1->clear();
        ShowAisTargetInfo(SelectedAisTarget, AISInfo->Memo1);
    }
}

void TMDIChild::ShowAISClick()
{
    if (AISInfo) {
        if (ShowAIS->isChecked())
            platform::ShowRestored(*AISInfo);
        else
            AISInfo->hide();
    }
    CentreButton1Click();
}

void TMDIChild::ShowTargetSpin()
{
    if (!AISInfo)
        return;
    const bool spin = !HighlightNearest1->isChecked() && AisTargetCount > 0;
    AISInfo->TgtNum->setVisible(spin);
    if (spin && AISZoom->isChecked())
        AISZoom->setChecked(false);
}

void TMDIChild::HighlightNearest1Click()
{
    HighlightNearest1->setChecked(!HighlightNearest1->isChecked());
    ShowTargetSpin();
    CentreButton1Click();
}

void TMDIChild::AISZoomClick()
{
    AISZoom->setChecked(!AISZoom->isChecked());
    if (!HighlightNearest1->isChecked())
        HighlightNearest1->setChecked(AISZoom->isChecked());
    HighlightNearest1->setEnabled(!AISZoom->isChecked());
    ShowTargetSpin();
    CentreButton1Click();
}

void TMDIChild::ShowMMSI1Click()
{
    ShowMMSI1->setChecked(!ShowMMSI1->isChecked());
    CentreButton1Click();
}

void TMDIChild::AISShapeClick()
{
    AISShape->setChecked(!AISShape->isChecked());
    CentreButton1Click();
}

void TMDIChild::AISFollowSelectedTarget1Click()
{
    AISFollowSelectedTarget1->setChecked(!AISFollowSelectedTarget1->isChecked());
    CentreButton1Click();
}

void TMDIChild::OnAll1Click()
{
    OnAll1->setChecked(true);
    CentreButton1Click();
}

void TMDIChild::OnSelected1Click()
{
    OnSelected1->setChecked(true);
    CentreButton1Click();
}

void TMDIChild::AISCOG1Click()
{
    AISCOG1->setChecked(true);
    AisHeadingMode = 0;
    CentreButton1Click();
}

void TMDIChild::AISTrueHead1Click()
{
    AISTrueHead1->setChecked(true);
    AisHeadingMode = 1;
    CentreButton1Click();
}

void TMDIChild::LargeLollipop1Click()
{
    const bool large = !LargeLollipop1->isChecked();
    LargeLollipop1->setChecked(large);
    AisLollipopRadius = large ? 4 : 2;
    AisLollipopPenWidth = large ? 2 : 1;
    CentreButton1Click();
}

void TMDIChild::Never1Click()
{
    // The age-out stops; the limit is kept for when it starts again.
    Never1->setChecked(true);
}

void TMDIChild::After5mins1Click()
{
    After5Mins1->setChecked(true);
    AisAgeLimit = kFiveMinutes;
}

void TMDIChild::After10mins1Click()
{
    After10Mins1->setChecked(true);
    AisAgeLimit = kTenMinutes;
}

void TMDIChild::After15mins1Click()
{
    After15Mins1->setChecked(true);
    AisAgeLimit = kFifteenMinutes;
}

void TMDIChild::ClearAllTargets1Click()
{
    if (!platform::AskYesNo(kClearAllQuestion))
        return;
    nav::ClearAisTargets();
    HighlightNearest1->setChecked(true);
    HighlightNearest1->setEnabled(false);
    if (AISInfo)
        AISInfo->TgtNum->hide();
    CentreButton1Click();
}

void TMDIChild::RRUpClick()
{
    FRingCount = nav::RingCountUp(FRingCount);
    RangeR->setText(QString::number(FRingCount));
    SetHint(RR, nav::RangeRingHint(FRingCount));
    CentreButton1Click();
}

void TMDIChild::RRDownClick()
{
    FRingCount = nav::RingCountDown(FRingCount);
    RangeR->setText(QString::number(FRingCount));
    SetHint(RR, nav::RangeRingHint(FRingCount));
    CentreButton1Click();
}

void TMDIChild::AISrepeatClick()
{
    if (!LastAnnouncedName.empty() && Host)
        Host->PlayVoice(LastAnnouncedName);
}

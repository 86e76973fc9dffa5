// The route commands of the main window: opening a route file (".rte", or
// the DOS ".prn"), saving it, emptying the route, choosing the active
// waypoint from the list or the next one, resetting the cross-track
// reference, sending the route as WPL sentences, and the measure mode that
// shares the route readout. The navigation side of each is in
// nav/RouteCommands.h and nav/RouteUpload.h; here the dialogs, questions and
// controls are kept in step.

#include "mainwin/Main.h"

#include "help/HelpKeys.h"
#include "nav/NavState.h"
#include "nav/RouteCommands.h"
#include "nav/RouteUpload.h"
#include "platform/Guarded.h"
#include "platform/QtText.h"
#include "serial/SerPort.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

namespace
{

// The help page of the question before the cross-track reference is reset.
constexpr int kResetXteHelpContext = 8;

} // namespace

void TMainForm::BindRouteCommands()
{
    OpenRteDialog.title = "Open a route file";
    OpenRteDialog.defaultExt = "rte";
    OpenRteDialog.filter = "Route Files (*.rte)|*.rte|KVnav DOS Route Files (*.prn)|*.prn";
    SaveRouteDlg.title = "Save route as...";
    SaveRouteDlg.defaultExt = "rte";
    SaveRouteDlg.filter = "Route Files (*.rte)|*.rte";

    Bind(Routes1, &TMainForm::Routes1Click);
    Bind(SaveBtn, &TMainForm::SaveRouteAs1Click);
    Bind(SaveRouteAs1, &TMainForm::SaveRouteAs1Click);
    Bind(Route1, &TMainForm::Route1Click);
    Bind(SelectWaypoint1, &TMainForm::SelectWaypoint1Click);
    Bind(ResetXTE1, &TMainForm::XTerrorDblClick);
    Bind(SendWPS, &TMainForm::SendWPSClick);
    Bind(SendWaypoints1, &TMainForm::SendWPSClick);
    Bind(MeasureModeBtn, &TMainForm::MeasureModeClick);
    Bind(ExMeasure, &TMainForm::ExMeasureClick);
    Bind(AccumulativeMeasure1, &TMainForm::ExMeasureClick);
    Bind(Measure1, &TMainForm::ExMeasureClick);
    connect(ResetXTEBtn, &QPushButton::clicked, this,
        [this] { platform::guarded([this] { XTerrorDblClick(); }); });
    // Only a choice of the user picks the waypoint: the fix cycle selects
    // the active entry on every fix, which must not reset the cross-track
    // reference.
    connect(WPName, &QComboBox::activated, this,
        [this](int index) { platform::guarded([this, index] { WPNameChange(index); }); });
}

void TMainForm::LoadRouteFile(const std::string& path)
{
    // With a view shown, the first leg becomes the cross-track reference at
    // once; the list is rebuilt at the next clock tick (the read sets
    // RouteChanged).
    ShowRouteNotice(OpenRoute(path, MDIChildCount() > 0));
}

void TMainForm::Routes1Click()
{
    if (!ExecuteOpen(OpenRteDialog))
        return;
    const bool haveView = MDIChildCount() > 0;
    ShowRouteNotice(OpenRoute(OpenRteDialog.fileName, haveView));
    RefillRouteList();
    SaveRouteDlg.fileName = RouteName;
    if (haveView)
        RefreshAllViews();
    UpdateMenuItems();
}

void TMainForm::SaveRouteAs1Click()
{
    // Cancel writes nothing and keeps RouteName.
    if (!ExecuteSave(SaveRouteDlg))
        return;
    ShowRouteNotice(SaveRoute(SaveRouteDlg.fileName));
}

void TMainForm::Route1Click()
{
    if (!platform::AskYesNo("This will remove the current route! - Are you sure?"))
        return;
    PurgeRoute();
    {
        const QSignalBlocker quiet(WPName);
        WPName->clear();
    }
    RefreshAllViews();
    UpdateMenuItems();
    SaveBtn->setEnabled(false);
    SaveRouteAs1->setEnabled(false);
    DRMode1->setChecked(false);
    DRMode1->setEnabled(false);
    StatusLine->clear();
}

void TMainForm::WPNameChange(int index)
{
    const bool haveView = MDIChildCount() > 0;
    SelectRouteWaypoint(index, haveView);
    if (haveView) {
        RngToWp->clear();
        BearingToWP->clear();
    }
    SetHint(WPName, qs(RouteListHint(ls(WPName->currentText()))));
}

void TMainForm::SelectWaypoint1Click()
{
    const int index = StepRouteWaypoint(MDIChildCount() > 0);
    const QSignalBlocker quiet(WPName);
    SelectRouteEntry(index);
}

void TMainForm::XTerrorDblClick()
{
    bool reset = false;
    {
        const help::MessageHelpContext context(kResetXteHelpContext);
        reset = platform::AskYesNo("Reset XTE - Are you sure?");
    }
    if (reset)
        ResetCrossTrackReference();
}

void TMainForm::SendWPSClick()
{
    // A sentence goes out only whole: with the port closed, or without room
    // for it in the output buffer, it is not sent (and not counted).
    const SentenceWriter write = [this](const std::string& sentence) {
        if (!ComPort2 || !ComPort2->Open() || ComPort2->OutputFree() < sentence.size())
            return false;
        ComPort2->WriteString(sentence);
        return true;
    };
    ShowRouteNotice(SendRouteWaypoints(write));
}

void TMainForm::MeasureModeClick()
{
    SetHint(MeasureModeBtn, qs(SetMeasureMode(MeasureModeBtn->isChecked())));
    if (!MeasureMode)
        StatusLine->clear();
    RefreshAllViews();
    ExMeasure->setEnabled(MeasureTotaliserEnabled());
    AccumulativeMeasure1->setEnabled(ExMeasure->isEnabled());
}

void TMainForm::ExMeasureClick()
{
    if (!MeasureMode)
        return;
    StatusLine->setText(qs(TotaliseMeasure()));
    RefreshAllViews();
}

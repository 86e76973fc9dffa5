// Chart waypoints from the main window: adding, editing, showing and
// deleting them through the waypoint editor (dialogs/WPeditDlg.h), and
// writing the waypoint database beside the chart after every change
// (nav/WaypointFile.h). Edit, show and delete act on the waypoint nearest to
// the working position, which a click in a chart view has set to the cursor.

#include "mainwin/Main.h"

#include "dialogs/WPeditDlg.h"
#include "nav/ChartWaypoints.h"
#include "nav/FileNameParts.h"
#include "nav/LatLonText.h"
#include "nav/NavState.h"
#include "nav/RouteEdit.h"
#include "nav/WaypointFile.h"
#include "platform/QtText.h"
#include "rtl/Paths.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace
{

// Runs `restore` when the scope ends, also when a dialog throws.
template <typename F> struct Restore {
    F restore;
    ~Restore() { restore(); }
};
template <typename F> Restore(F) -> Restore<F>;

} // namespace

std::string TMainForm::WaypointFilePath(const std::string& extension) const
{
    // The files lie beside the chart file that SaveDialog1 names; before a
    // chart has a file there is nothing to write beside (saving the chart
    // writes them).
    const std::string& chart = SaveDialog1.fileName;
    const std::string base = ExtractFileBaseName(chart);
    if (base.empty())
        return {};
    const std::string folder = ExtractFileDir(chart).empty() ? ChartsFolder : ExtractFileDir(chart);
    return rtl::JoinPath(folder, base + extension);
}

void TMainForm::WriteChartWaypointFile()
{
    const std::string path = WaypointFilePath(".wpt");
    if (path.empty())
        return;
    WriteWaypointFile(path);
    if (DOSWPTformat->isChecked())
        WriteDosWaypointFile();
}

void TMainForm::WriteDosWaypointFile()
{
    const std::string path = WaypointFilePath(".wps");
    if (!path.empty())
        ::WriteDosWaypointFile(path);
}

void TMainForm::StoreEditedWaypoint(int index)
{
    TPosition position;
    WPeditDlg->EditedWaypoint(position, WaypointDbNames[index]);
    WaypointDbPoints[index] = position;
    CurLat = position.lat;
    CurLon = position.lon;
    RefreshAllViews();
    SaveDialog1.fileName = OpenChtDialog.fileName;
    WriteChartWaypointFile();
}

void TMainForm::AddChartWaypoint1Click()
{
    Restore caption { [] { WPeditDlg->setWindowTitle("Edit Nearest Waypoint"); } };
    double lat = CurLat, lon = CurLon;
    // A "COM" fix with time 000000 is on the GPS datum: shift it onto the chart's.
    if (NmeaOpen && FixIntervalMs > 0 && ComTimeZero) {
        lat = CurLat + ChartOffsetLat;
        lon = CurLon - ChartOffsetLon;
    }
    WPeditDlg->StartNewWaypoint(lat, lon);
    WPeditDlg->setWindowTitle("Add New Waypoint");
    WPeditDlg->ShowWaypointCount(WaypointDbCount);
    if (platform::ui().showModal(*WPeditDlg) != platform::ModalResult::Ok)
        return;
    int index = WaypointDbCount + 1;
    if (index > kMaxWaypoints) {
        platform::MessageWarning("Waypoint Database Full Overwriting last WP!");
        index = kMaxWaypoints;
    }
    WaypointDbCount = static_cast<int16_t>(index);
    StoreEditedWaypoint(index);
}

void TMainForm::EditChartWaypoint1Click()
{
    const int index = NearestDatabaseWaypoint();
    if (index == 0)
        return;
    const TPosition position = WaypointDbPoints[index];
    CurLat = position.lat;
    CurLon = position.lon;

    WPeditDlg->ShowWaypointCount(WaypointDbCount);
    WPeditDlg->ShowWaypoint(position.lat, position.lon, WaypointDbNames[index]);
    if (platform::ui().showModal(*WPeditDlg) == platform::ModalResult::Ok && WPeditDlg->InEditMode())
        StoreEditedWaypoint(index);
}

void TMainForm::WaypointSnapMode1Click()
{
    Restore editLook { [] {
        WPeditDlg->setWindowTitle("Edit Nearest Waypoint");
        WPeditDlg->SetShowOnly(false);
    } };
    WPeditDlg->SetShowOnly(true);
    WPeditDlg->ShowWaypointCount(WaypointDbCount);
    WPeditDlg->setWindowTitle("Nearest Waypoint");
    EditChartWaypoint1Click();
}

void TMainForm::DeleteChartWaypoint1Click()
{
    if (WaypointDbCount <= 0
        || !platform::AskYesNo("Delete the waypoint nearest to the cursor! - Are you sure?"))
        return;
    DeleteDatabaseWaypoint(NearestDatabaseWaypoint());
    RefreshAllViews();
    SaveDialog1.fileName = OpenChtDialog.fileName;
    WriteChartWaypointFile();
}

void TMainForm::DOSWPTformatClick()
{
    DOSWPTformat->setChecked(!DOSWPTformat->isChecked());
}

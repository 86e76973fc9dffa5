// The chart store from the main window: opening charts, layers and the
// chart portfolio, the chart at start-up, the automatic choice of the
// nearest chart, saving the store as a chart or layer file, and the purge
// commands. The file formats and the store itself are nav/ChartStore.h; the
// chart configuration and the chart list nav/ChartConfig.h and
// nav/ChartList.h.
//
// Paths are always built from the charts folder or the chosen file; the
// process's current folder is never changed. A chart path that did not open
// or was never chosen is not kept as the current chart's path, so the
// waypoint database is only ever written beside a real chart file.

#include "mainwin/Main.h"

#include "chartwin/Childwin.h"
#include "chartwin/ViewList.h"
#include "nav/ChartConfig.h"
#include "nav/ChartList.h"
#include "nav/ChartStore.h"
#include "nav/FileNameParts.h"
#include "nav/NavState.h"
#include "nav/WaypointFile.h"
#include "platform/QtText.h"
#include "rtl/Paths.h"
#include "rtl/TextFile.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>
#include <optional>

namespace
{

const char* const kNoSuchFile = "Non existant File";
const char* const kConfigMissing = "Chart Config File Missing!";
const char* const kAllLayers = "**********";

std::string ViewCaption(const std::string& name)
{
    return name + " (" + ConfigName.str() + ")";
}

void RescanChartList()
{
    rtl::ShortString<40> unused;
    ListChartsOrFindNearest(ChartSearchMode::List, unused);
}

std::optional<std::string> ReadChartBytes(const std::string& path)
{
    return rtl::ReadFileBytes(rtl::OpenPath(path));
}

} // namespace

void TMainForm::BindChartCommands()
{
    Bind(Charts1, &TMainForm::FileOpenItemClick);
    Bind(OpenBtn, &TMainForm::FileOpenItemClick);
    Bind(ChartSaveAsItem, &TMainForm::SaveBtnClick);
    Bind(AutoChart, &TMainForm::AutoChartClick);
    Bind(LoadNearestChart1, &TMainForm::AutoChartClick);
    Bind(ShowNearest, &TMainForm::NearestChart1Click);
    Bind(NearestChart1, &TMainForm::NearestChart1Click);
    Bind(OpenPF, &TMainForm::OpenPortfolio1Click);
    Bind(OpenPortfolio1, &TMainForm::OpenPortfolio1Click);
    Bind(AvailableCharts, &TMainForm::AvailableChartsClick);
    Bind(ChartAppendMode, &TMainForm::ChartAppendModeClick);
    Bind(Log1, &TMainForm::Log1Click);
    Bind(Chart1, &TMainForm::Chart1Click);
    Bind(Layers1, &TMainForm::Layers1Click);
    Bind(All1, &TMainForm::All1Click);
    Bind(AddChartWaypoint1, &TMainForm::AddChartWaypoint1Click);
    Bind(EditChartWaypoint1, &TMainForm::EditChartWaypoint1Click);
    Bind(WaypointSnapMode1, &TMainForm::WaypointSnapMode1Click);
    Bind(DeleteChartWaypoint1, &TMainForm::DeleteChartWaypoint1Click);
    Bind(DOSWPTformat, &TMainForm::DOSWPTformatClick);
    BindChartEditCommands();
}

void TMainForm::SetViewCaptions(const std::string& caption)
{
    for (int i = MDIChildCount() - 1; i >= 0; --i)
        MDIChildren(i)->setWindowTitle(qs(caption));
}

void TMainForm::TakeChartFile(const std::string& bytes, const std::string& path)
{
    const ChartFileContents contents = DecodeChartFile(bytes);
    if (contents.dosFile)
        PosnPanel->setText("KV DOS Chart file read.");
    if (!AppendToChartStore(contents.points, path))
        platform::MessageWarning("Chart Store full...");
}

void TMainForm::LoadChartLayers()
{
    const LayerLoadResult result
        = AppendChartLayers(ExtractFileDir(OpenChtDialog.fileName), CurrentChartName);
    if (result.dosFile)
        PosnPanel->setText("KV DOS Layer file read.");
    if (result.storeFull)
        platform::ShowMessage("Chart Store Full!");
}

void TMainForm::ShowChartTotals()
{
    platform::MessageInformation("Total chart points = " + std::to_string(ChartPointCount));
    // A file cut short at loading has said so already.
    if (WaypointDbCount == kMaxWaypoints && WaypointFileCutPath.empty())
        platform::MessageWarning("Waypoint Database Full !");
}

void TMainForm::EmptyChart()
{
    ClearChartStore();
    CurrentChartName.clear();
    SetViewCaptions("");
    SaveDialog1.fileName.clear();
    OpenChtDialog.fileName.clear();
    WaypointDbCount = 0;
    ClearNavPanel();
    LayerFlags = kAllLayers;
}

void TMainForm::EmptyTrackLog()
{
    LogCount = 0;
    ThinIndex = 2;
    ThinCounter = 0;
    TripLeg = 0;
    TripTotal = 0;
    Trip->setText("0.00 Nm");
}

bool TMainForm::OfferToSaveEditedChart()
{
    if (!ChartEdit1->isChecked() || ChartPointCount <= 0 || MDIChildCount() == 0)
        return true;
    if (!platform::AskYesNo("Save the modified chart before opening another ?"))
        return true;
    return SaveChartAs();
}

void TMainForm::FileOpenItemClick()
{
    const std::string currentPath = OpenChtDialog.fileName; // the dialog changes it
    OpenChartFile(currentPath);
}

bool TMainForm::OpenChartFile(const std::string& currentPath)
{
    if (!ExecuteOpen(OpenChtDialog)) {
        OpenChtDialog.fileName = currentPath;
        UpdateMenuItems();
        return false;
    }
    const std::string chosen = OpenChtDialog.fileName;
    const bool append = ChartAppendMode->isChecked();
    const std::optional<std::string> bytes = ReadChartBytes(chosen);
    if (!bytes) {
        OpenChtDialog.fileName = currentPath;
        platform::MessageWarning(kNoSuchFile);
        UpdateMenuItems();
        return false;
    }
    if (!append && !OfferToSaveEditedChart()) {
        OpenChtDialog.fileName = currentPath;
        UpdateMenuItems();
        return false;
    }
    OpenChtDialog.fileName = chosen;

    ChartsFolder = ExtractFileDir(chosen);
    OpenChtDialog.initialFolder = ChartsFolder;
    RescanChartList();
    ChartTitle = ExtractFileBaseName(chosen);
    if (!append) {
        ClearChartStore();
        CurrentChartName.clear();
        SetViewCaptions(ViewCaption(ChartTitle));
        SaveDialog1.fileName.clear();
        WaypointDbCount = 0;
        ClearNavPanel();
        LayerFlags = kAllLayers;
    }
    CurrentChartName = ChartTitle;
    TakeChartFile(*bytes, chosen);
    if (!LoadChartConfig(chosen))
        platform::MessageWarning(kConfigMissing);

    LoadLayers = true;
    LayerFlags = kAllLayers;
    if (rtl::UpperCase(ExtractFileExtension(chosen)) == "CHT")
        LoadChartLayers();

    LoadWaypointDatabase(CurrentChartName);
    ZoomHomeOnRefresh = true;
    if (MDIChildCount() == 0)
        CreateChartView(ChartTitle);
    RefreshAllViews();

    ShowChartTotals();
    SaveDialog1.fileName = ChartTitle;
    UpdateMenuItems();
    return true;
}

bool TMainForm::ReadStartupChart()
{
    const std::string path = OpenChtDialog.fileName;
    CurrentChartName = ExtractFileBaseName(path);
    ChartTitle = CurrentChartName;
    const std::optional<std::string> bytes = ReadChartBytes(path);
    if (!bytes) {
        // The configuration that names the chart is the user's: it stays, and
        // the program goes on with an empty chart.
        platform::MessageError("Chart File " + CurrentChartName
            + " not found in local chart directory. KV Velta goes on with an empty chart: open one with"
              " File > Open File > Charts (F3).");
        OpenChtDialog.fileName.clear();
        SaveDialog1.fileName.clear();
        return false;
    }
    TakeChartFile(*bytes, path);
    LoadChartConfig(path);
    if (LoadLayers)
        LoadChartLayers();
    LoadWaypointDatabase(CurrentChartName);
    return true;
}

void TMainForm::LoadStartupChart()
{
    const bool read = ReadStartupChart();
    CreateChartView(CurrentChartName);
    RefreshAllViews();
    if (read && NmeaStartMode != "Auto")
        ShowChartTotals();
    UpdateMenuItems();
}

void TMainForm::SaveBtnClick()
{
    SaveChartAs();
}

bool TMainForm::SaveChartAs()
{
    platform::MessageWarning("Have you entered the correct chart offsets, zoom and centre?");
    // Offered with its extension: the base name of "harbour.new.cht" would
    // otherwise come back as a file of kind "new".
    SaveDialog1.fileName = CurrentChartName.empty() ? std::string() : CurrentChartName + ".cht";
    if (!ExecuteSave(SaveDialog1))
        return false;
    const std::string chosen = SaveDialog1.fileName;
    const bool chart = rtl::UpperCase(ExtractFileExtension(chosen)) == "CHT";
    int removed = 0;
    const std::string image = chart ? EncodeChartFileAt(chosen, removed) : EncodeLayerFile(chosen, removed);
    if (!rtl::WriteFileAtomic(rtl::CreatePath(chosen), image)) {
        platform::MessageError("Error writing chart file!");
        return false;
    }
    NoteChartFileWritten(chosen, chart);
    StatusLine->setText(qs("Removed " + std::to_string(removed) + " empty points"));
    if (chart) {
        SaveChartConfig(chosen);
        LoadChartConfig(chosen);
    }
    CurrentChartName = ExtractFileBaseName(chosen);
    SetViewCaptions(ViewCaption(CurrentChartName));
    WriteChartWaypointFile();
    RescanChartList();
    return true;
}

void TMainForm::AutoChartClick()
{
    rtl::ShortString<40> nearest;
    ListChartsOrFindNearest(ChartSearchMode::Nearest, nearest);
    const std::string name = nearest.str();
    if (rtl::SameText(name, CurrentChartName) || ChartEdit1->isChecked())
        return;

    StatusLine->setText(qs(name));
    const std::string path = rtl::JoinPath(OpenChtDialog.initialFolder, name + ".cht");
    const std::optional<std::string> bytes = ReadChartBytes(path);
    if (!bytes) {
        platform::MessageWarning(kNoSuchFile);
        UpdateMenuItems();
        return;
    }
    OpenChtDialog.fileName = path;
    ChartTitle = ExtractFileBaseName(path);

    ClearChartStore();
    // The first view is "<chart>. (<config>)", the second "<chart>.2 (<config>)".
    for (int i = MDIChildCount() - 1; i >= 0; --i)
        MDIChildren(i)->setWindowTitle(
            qs(ViewCaption(ChartTitle + "." + (i == 0 ? std::string() : std::to_string(i + 1)))));
    WaypointDbCount = 0;
    ClearNavPanel();
    LayerFlags = kAllLayers;
    CurrentChartName = ChartTitle;
    if (!LoadChartConfig(path))
        platform::MessageWarning(kConfigMissing);

    // Under way the view shows the boat's last track position, else the
    // chart's home view; either at the chart's own scale.
    ChartScale = ChartHomeZoom;
    if (LogCount > 0 && LogCount <= kMaxLogRecords && (NmeaOpen || DRMode)) {
        CurLat = LogRecords[LogCount].lat;
        CurLon = LogRecords[LogCount].lon;
    } else {
        CurLat = ChartHomeLat;
        CurLon = ChartHomeLon;
    }
    if (TMDIChild* view = chartwin::View(0))
        view->Zoom1_1Click();

    TakeChartFile(*bytes, path);
    LoadLayers = true;
    LayerFlags = kAllLayers;
    LoadChartLayers();
    LoadWaypointDatabase(CurrentChartName);
    ChartPointCount = LoadedPointCount;
    RefreshAllViews();
    SaveDialog1.fileName = OpenChtDialog.fileName;
    UpdateMenuItems();
}

void TMainForm::NearestChart1Click()
{
    rtl::ShortString<40> nearest;
    ListChartsOrFindNearest(ChartSearchMode::Nearest, nearest);
    StatusLine->setText(qs(nearest.str()));
}

void TMainForm::OpenPortfolio1Click()
{
    const std::string currentPath = OpenChtDialog.fileName;
    const std::string filter = OpenChtDialog.filter;
    OpenChtDialog.fileName = "*Portfolio.cht";
    OpenChtDialog.title = "Open a chart portfolio";
    OpenChtDialog.filter = "KV Chart Portfolios (*Portfolio.cht)|*Portfolio.cht";
    bool opened = false;
    try {
        opened = OpenChartFile(currentPath);
    } catch (...) {
        OpenChtDialog.title = "Open a chart file";
        OpenChtDialog.filter = filter;
        throw;
    }
    OpenChtDialog.title = "Open a chart file";
    OpenChtDialog.filter = filter;
    if (opened) {
        ChartsFolder = ExtractFileDir(OpenChtDialog.fileName);
        OpenChtDialog.initialFolder = ChartsFolder;
        SaveDialog1.initialFolder = ChartsFolder;
        RescanChartList();
    }
}

void TMainForm::AvailableChartsClick()
{
    const std::vector<TMDIChild*> views = chartwin::Views();
    for (auto view = views.rbegin(); view != views.rend(); ++view)
        (*view)->ShowChtsClick();
}

void TMainForm::ChartAppendModeClick()
{
    ChartAppendMode->setChecked(!ChartAppendMode->isChecked());
}

void TMainForm::Log1Click()
{
    if (!platform::AskYesNo("This will remove the automatic track! - Are you sure?"))
        return;
    EmptyTrackLog();
    RefreshAllViews();
    UpdateMenuItems();
}

void TMainForm::Chart1Click()
{
    if (!platform::AskYesNo("This will remove the chart! - Are you sure?"))
        return;
    EmptyChart();
    RefreshAllViews();
    UpdateMenuItems();
}

void TMainForm::Layers1Click()
{
    if (!platform::AskYesNo("This will remove all layers from the current chart! - Are you sure?"))
        return;
    ClearChartStore();
    WaypointDbCount = 0;
    LoadLayers = false;
    LayerFlags = "----------";
    // The chart is read again into the views that are open.
    const bool read = ReadStartupChart();
    RefreshAllViews();
    if (read && NmeaStartMode != "Auto")
        ShowChartTotals();
    UpdateMenuItems();
}

void TMainForm::All1Click()
{
    if (!platform::AskYesNo("This will remove all data! - Are you sure?"))
        return;
    EmptyChart();
    EmptyTrackLog();
    TideStationCount = 0;
    RouteCount = 0;
    ActiveWaypoint = 0;
    RouteName.clear();
    {
        const QSignalBlocker quiet(WPName);
        WPName->clear();
    }
    ConfigName = "";
    DRMode = false;
    DRMode1->setChecked(false);
    DRMode1->setEnabled(false);
    StatusLine->clear();
    SurveyTrack1Click();
}

// Chart point editing from the main window: chart edit mode, the line types
// and pen-up, adding points at the working position (by hand, from the
// raster viewer or at each captured "COM" fix), snapping to the nearest
// point, moving and deleting it, and starting a new chart. The store and its
// editing are nav/ChartEdit.h; the edited chart is saved with "Save Chart
// As..." (MainCharts.cpp).

#include "mainwin/Main.h"

#include "dialogs/AlarmDialog.h"
#include "nav/ChartStore.h"
#include "nav/FileNameParts.h"
#include "nav/NavState.h"
#include "rtl/Paths.h"

#include <QAction>
#include <array>

void TMainForm::BindChartEditCommands()
{
    Bind(ChartEdit1, &TMainForm::ChartEdit1Click);
    Bind(PenUp1, &TMainForm::PenUp1Click);
    Bind(LineT0, &TMainForm::LineT0Click);
    Bind(LineT1, &TMainForm::LineT1Click);
    Bind(LineT2, &TMainForm::LineT2Click);
    Bind(LineT3, &TMainForm::LineT3Click);
    Bind(LineT4, &TMainForm::LineT4Click);
    Bind(LineT5, &TMainForm::LineT5Click);
    Bind(LineT6, &TMainForm::LineT6Click);
    Bind(AddChartPoint1, &TMainForm::AddChartPoint1Click);
    Bind(SnaptoChart1, &TMainForm::SnaptoChart1Click);
    Bind(EditPoint1, &TMainForm::EditPoint1Click);
    Bind(DeletePoint1, &TMainForm::DeletePoint1Click);
    Bind(StartNew, &TMainForm::StartNewClick);
}

void TMainForm::ChartEdit1Click()
{
    if (ChartEdit1->isChecked()) {
        ChartEditable = false;
        ChartEdit1->setChecked(false);
        // Automatic chart loading goes back to what it was before editing.
        AutoLoadChart = autoLoadBeforeEdit_;
        if (AutoLoadChart)
            platform::MessageInformation("Chart Auto Load has been enabled!!");
    } else if (MDIChildCount() != 1 || LogCount > 0) {
        platform::MessageWarning(
            "Chart Edit Mode. You must first purge the log and only have one view open !");
    } else {
        ChartEditable = true;
        ChartEdit1->setChecked(true);
        autoLoadBeforeEdit_ = AutoLoadChart;
        AutoLoadChart = false;
        platform::MessageWarning("Editing current chart. Note - Digitiser plotter NOT supported in Velta "
                                 "version. Chart Auto Load has been disabled!");
    }
    UpdateMenuItems();
}

void TMainForm::ChooseLineType(int k)
{
    const std::array<QAction*, 7> items { LineT0, LineT1, LineT2, LineT3, LineT4, LineT5, LineT6 };
    QAction* chosen = items[static_cast<std::size_t>(k)];
    if (chosen->isChecked())
        return;
    PenUp1->setChecked(false);
    for (QAction* item : items)
        item->setChecked(item == chosen);
    LineType = static_cast<int16_t>(k);
    LineTypeOffset = ChartLineOffset(k);
    // A point captured from a "COM" sentence with time 000000 is taken onto
    // the chart datum, once however often the line type changes.
    if (NmeaOpen && FixIntervalMs > 0 && ComTimeZero)
        ShiftOntoChartDatumOnce(CurLat, CurLon, lineTypeShift_);
    AddChartPoint1Click();
}

void TMainForm::LineT0Click()
{
    ChooseLineType(0);
}

void TMainForm::LineT1Click()
{
    ChooseLineType(1);
}

void TMainForm::LineT2Click()
{
    ChooseLineType(2);
}

void TMainForm::LineT3Click()
{
    ChooseLineType(3);
}

void TMainForm::LineT4Click()
{
    ChooseLineType(4);
}

void TMainForm::LineT5Click()
{
    ChooseLineType(5);
}

void TMainForm::LineT6Click()
{
    ChooseLineType(6);
}

void TMainForm::PenUp1Click()
{
    if (PenUp1->isChecked())
        return;
    for (QAction* item : { LineT0, LineT1, LineT2, LineT3, LineT4, LineT5, LineT6 })
        item->setChecked(false);
    PenUp1->setChecked(true);
}

void TMainForm::AddChartPoint1Click()
{
    if (!AddChartPoint(PenUp1->isChecked(), CurLat, CurLon)) {
        platform::MessageWarning("Chart Store full...");
        return;
    }
    RefreshAllViews();
}

void TMainForm::SnaptoChart1Click()
{
    if (FixIntervalMs > 0) {
        platform::MessageInformation("Please set Fix interval to 0 before using the Snap command!");
        if (AlarmDialog)
            AlarmDialog->Execute(AlarmSettings);
        return;
    }
    const int index = FindNearestChartPoint(CurLat, CurLon);
    if (index == 0)
        return;
    CurLat = static_cast<double>(ChartPoints[index].lat) - LineTypeOffset;
    CurLon = ChartPoints[index].lon;
    RefreshAllViews();
}

void TMainForm::EditPoint1Click()
{
    MoveOrBreakChartPoint(false, CurLat, CurLon);
    RefreshAllViews();
}

void TMainForm::DeletePoint1Click()
{
    if (!platform::AskYesNo("Delete the line(s) to the selected point! - Are you sure?"))
        return;
    DeleteChartPoint(CurLat, CurLon);
    RefreshAllViews();
}

void TMainForm::StartNewClick()
{
    if (!platform::AskYesNo("Start a new chart! - Are you sure?"))
        return;
    SetViewCaptions("New Chart");
    const std::string folder = ExtractFileDir(OpenChtDialog.fileName);
    const std::string path = rtl::JoinPath(folder.empty() ? ChartsFolder : folder, "New Chart.cht");
    SaveDialog1.fileName = path;
    OpenChtDialog.fileName = path;
    CurrentChartName = "New Chart";
    StartNewChartStore();
    ChartOffsetLat = 0;
    ChartOffsetLon = 0;
    UpdateMenuItems();
}

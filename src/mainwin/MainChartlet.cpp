// What the raster image viewer asks of the main window (dialogs/ViewerHost.h):
// the chart editing commands at the working position, "Pen Up", the number
// of chart views, the chartlet clips and printing.

#include "mainwin/Main.h"
#include "mainwin/MainPrograms.h"
#include "mainwin/MediaPlayer.h"

#include "nav/NavState.h"

#include <QAction>

void TMainForm::AddChartWaypointHere()
{
    AddChartWaypoint1Click();
}

void TMainForm::AddChartPointHere()
{
    AddChartPoint1Click();
}

bool TMainForm::PenUpChecked() const
{
    return PenUp1->isChecked();
}

int TMainForm::ChartViewCount() const
{
    return MDIChildCount();
}

void TMainForm::PlayChartletClip(const std::string& path)
{
    // Sound stays off while the clip plays; its end, or a clip that is
    // missing or cannot be played, turns it on again.
    SoundEnabled = false;
    PlayClip(path);
}

void TMainForm::StopChartletClip()
{
    if (mediaPlayer_)
        mediaPlayer_->Stop();
    SoundEnabled = true;
}

void TMainForm::PrintChartletView(const QImage& image)
{
    // A cancelled print dialog prints nothing, as with the chart views.
    if (!platform::ui().printDialog())
        return;
    mainwin::PrintImageToFit(mainwin::Printer(), image);
}

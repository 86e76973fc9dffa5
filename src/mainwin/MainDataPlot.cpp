// The data-trend plot of the navigation panel: one numeric field of the text
// survey log against the record number, 117 x 86 pixels, drawn by the AIS
// view's survey plot (chartwin/SurveyPlot.h) into the picture kept here.
// This file shows and hides the panel, clears the plot, keeps the gain box,
// selects a stretch of the log with the mouse and copies the picture.
//
// The horizontal scale: column x (0..116) is record FixNumber * x div 117.
// A selection is only made while one view is open and it plots a selection
// (its "Show Last N=" on): the press sets the first record and the number of
// records the view shows from there, the release the last.

#include "mainwin/Main.h"

#include "chartwin/Childwin.h"
#include "chartwin/SurveyPlot.h"
#include "chartwin/ViewList.h"
#include "nav/NavState.h"
#include "nav/SurveyLog.h"
#include "platform/Guarded.h"
#include "platform/QtText.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

namespace
{

// Hands the presses and releases of the left button on the plot to the
// window, in plot columns.
class PlotMouse : public QObject
{
public:
    PlotMouse(QLabel* plot, TMainForm* form)
        : QObject(plot)
        , plot_(plot)
        , form_(form)
    {
        plot->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        const bool press = e->type() == QEvent::MouseButtonPress;
        if (watched != plot_ || (!press && e->type() != QEvent::MouseButtonRelease))
            return false;
        auto* mouse = static_cast<QMouseEvent*>(e);
        if (mouse->button() != Qt::LeftButton)
            return false;
        const int x
            = std::clamp(int(mouse->position().x()) - plot_->contentsRect().left(), 0, kTrendPlotWidth - 1);
        platform::guarded([&] { press ? form_->Data_PlotMouseDown(x) : form_->Data_PlotMouseUp(x); });
        return true;
    }

private:
    QLabel* plot_;
    TMainForm* form_;
};

} // namespace

void TMainForm::SetUpDataPlot()
{
    PlotPopupMenu = new QMenu(this);
    PlotPopupMenu->setObjectName("PlotPopupMenu");
    CopyPlottoClipboard1 = PlotPopupMenu->addAction("&Copy Plot to Clipboard");
    CopyPlottoClipboard1->setObjectName("CopyPlottoClipboard1");
    Data_Plot->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Data_Plot, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& at) { PlotPopupMenu->popup(Data_Plot->mapToGlobal(at)); });
    new PlotMouse(Data_Plot, this);
    Bind(DataPlot1, &TMainForm::DataPlot1Click);
    Bind(CopyPlottoClipboard1, &TMainForm::CopyPlottoClipboard1Click);
    connect(PlotAll, &QPushButton::clicked, this, [this] { platform::guarded([this] { PlotAllClick(); }); });
    // 0 may be typed; the change turns it into 1.
    Data_Gain->setMinimum(0);
    connect(Data_Gain, &QSpinBox::valueChanged, this,
        [this] { platform::guarded([this] { Data_GainChange(); }); });
    InitDataPlot();
}

void TMainForm::ShowDataPlot()
{
    Data_Plot->setPixmap(QPixmap::fromImage(DataPlotImage));
}

void TMainForm::DataPlot1Click()
{
    const bool show = !DataPlot1->isChecked();
    DataPlot1->setChecked(show);
    for (QWidget* control : std::initializer_list<QWidget*> {
             Data_Panel, Data_Plot, Data_Label, Gain_Label, Data_Gain, Data_Rev, PlotAll })
        control->setVisible(show);
    if (show)
        InitDataPlot();
}

void TMainForm::InitDataPlot()
{
    chartwin::ClearTrendPlot(
        DataPlotImage, chartwin::TColour(BackgroundColour) & 0xFFFFFF, chartwin::ChartForeground());
    ShowDataPlot();
}

chartwin::TDataTrendPlot* TMainForm::DataTrendPlot()
{
    if (!DataPlot1->isChecked())
        return nullptr;
    dataTrend_.image = &DataPlotImage;
    dataTrend_.gain = TrendGain(Data_Gain->value());
    dataTrend_.reversed = Data_Rev->isChecked();
    return &dataTrend_;
}

void TMainForm::DataTrendPlotted()
{
    SetHint(Data_Plot, qs(TrendFullScaleHint(Data_Gain->value())));
    ShowDataPlot();
}

void TMainForm::SetDataTrendLabel(const std::string& field)
{
    Data_Label->setText(qs(field));
}

void TMainForm::Data_GainChange()
{
    const int gain = TrendGain(Data_Gain->value());
    if (gain != Data_Gain->value())
        Data_Gain->setValue(gain);
    Data_Gain->setSingleStep(TrendGainStep(gain));
    SetHint(Data_Gain, qs(TrendFullScaleHint(gain)));
}

TMDIChild* TMainForm::SelectingView() const
{
    if (chartwin::ViewCount() != 1)
        return nullptr;
    TMDIChild* view = chartwin::View(0);
    // The plot-all flag is the view's "Show Last N=" turned round.
    return view && view->FShowLastN ? view : nullptr;
}

void TMainForm::DrawPlotMarker(int x, uint32_t colour)
{
    chartwin::TRasterCanvas canvas(DataPlotImage);
    canvas.SetPenColour(colour);
    canvas.MoveTo(x, 0);
    canvas.LineTo(x, kTrendPlotHeight);
    ShowDataPlot();
}

void TMainForm::Data_PlotMouseDown(int x)
{
    TMDIChild* view = SelectingView();
    if (!view)
        return;
    DrawPlotMarker(x, chartwin::ChartForeground());
    const int64_t start = TrendRecordAt(FixNumber, x);
    DataTrendOffset = static_cast<int32_t>(start);
    view->FShowCount = static_cast<int32_t>(FixNumber - start);
    StatusLine->setText(QString::number(start));
    DataTrendStart = -6;
    DataTrendLeftX = x;
}

void TMainForm::Data_PlotMouseUp(int x)
{
    TMDIChild* view = SelectingView();
    if (!view)
        return;
    DrawPlotMarker(x, chartwin::ChartForeground());
    const TrendSelection s
        = OrderTrendSelection(DataTrendOffset, DataTrendLeftX, TrendRecordAt(FixNumber, x), x);
    DataTrendOffset = static_cast<int32_t>(s.start);
    DataTrendStart = static_cast<int32_t>(s.end);
    DataTrendLeftX = s.leftX;
    DataTrendEndX = s.rightX;
    view->FShowCount = static_cast<int32_t>(FixNumber - s.start);
    StatusLine->setText(QString::number(TrendRecordAt(FixNumber, x)));
}

void TMainForm::PlotAllClick()
{
    if (chartwin::ViewCount() != 1)
        return;
    TMDIChild* view = chartwin::View(0);
    view->FShowLastN = !view->FShowLastN;
    RefreshAllViews();
    if (view->FShowLastN) {
        DrawPlotMarker(DataTrendLeftX, chartwin::kRed);
        DrawPlotMarker(DataTrendEndX, chartwin::kRed);
    }
}

void TMainForm::CopyPlottoClipboard1Click()
{
    QGuiApplication::clipboard()->setImage(DataPlotImage);
}

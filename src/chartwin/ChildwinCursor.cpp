// A chart view's cursor: the inverted cross on the bitmap, its position
// readout in the main window's position panel, the working position it sets
// and the measure readout on the status line. The mouse and the two spin
// buttons move it; it never edits data. The cross is drawn once after each
// redraw, so every move erases it at the old pixel before drawing it at the
// new one.

#include "chartwin/Childwin.h"

#include "chartwin/CursorPainter.h"
#include "chartwin/SpinButton.h"
#include "chartwin/ViewHost.h"
#include "chartwin/ViewList.h"
#include "nav/NavState.h"
#include "nav/PositionReadout.h"
#include "nav/RouteEdit.h"
#include "platform/Guarded.h"

#include <QMouseEvent>
#include <QToolButton>

void TChartImage::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        emit LeftDown(e->position().toPoint().x(), e->position().toPoint().y());
    QWidget::mousePressEvent(e);
}

void TChartImage::mouseMoveEvent(QMouseEvent* e)
{
    emit Moved(e->position().toPoint().x(), e->position().toPoint().y());
    QWidget::mouseMoveEvent(e);
}

void TChartImage::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        emit LeftUp(e->position().toPoint().x(), e->position().toPoint().y());
    QWidget::mouseReleaseEvent(e);
}

namespace
{

// Runs a mouse command of the view inside the handler edge.
template <typename Handler> auto GuardXY(TMDIChild* view, Handler handler)
{
    return [view, handler](int x, int y) { platform::guardedIn(view, [&] { (view->*handler)(x, y); }); };
}

template <typename Handler> auto Guard0(TMDIChild* view, Handler handler)
{
    return [view, handler] { platform::guardedIn(view, [&] { (view->*handler)(); }); };
}

} // namespace

void TMDIChild::ConnectCursor()
{
    connect(Image1, &TChartImage::LeftDown, this, GuardXY(this, &TMDIChild::Image1MouseDown));
    connect(Image1, &TChartImage::Moved, this, GuardXY(this, &TMDIChild::Image1MouseMove));
    connect(Image1, &TChartImage::LeftUp, this, GuardXY(this, &TMDIChild::Image1MouseUp));
    connect(UpDown->Down, &QToolButton::clicked, this, Guard0(this, &TMDIChild::UpDownDownClick));
    connect(UpDown->Up, &QToolButton::clicked, this, Guard0(this, &TMDIChild::UpDownUpClick));
    connect(LeftRight->Down, &QToolButton::clicked, this, Guard0(this, &TMDIChild::LeftRightDownClick));
    connect(LeftRight->Up, &QToolButton::clicked, this, Guard0(this, &TMDIChild::LeftRightUpClick));
}

void TMDIChild::DrawCursorCross(int X, int Y, int size)
{
    chartwin::DrawCursorCross(*this, X, Y, size);
    Image1->update();
}

std::string TMDIChild::ReadOutCursor()
{
    CursorPositionText = CursorPositionReadout(FCursorLat, FCursorLon);
    return CursorPositionText;
}

std::string TMDIChild::PixelToPosition(int X, int Y)
{
    InverseProject(X, Y, FCursorLat, FCursorLon);
    // Only the user moving the cursor moves the working position, never a
    // redraw putting the cursor on the newest fix or a followed target.
    // Zoomed far out, a click in the second view only looks around; the
    // working position stays where the editing view put it.
    if (FZoom > 0.5 || chartwin::ViewCount() == 1) {
        CurLat = FCursorLat;
        CurLon = FCursorLon;
    }
    return ReadOutCursor();
}

namespace
{

void ShowPosition(chartwin::TViewHost* host, const std::string& text)
{
    if (host)
        host->ShowCursorPosition(text);
}

void ShowStatus(chartwin::TViewHost* host, const std::string& text)
{
    if (host)
        host->ShowStatus(text);
}

} // namespace

void TMDIChild::ShowCursorReadout()
{
    ShowPosition(Host, ReadOutCursor());
    if (MeasureMode)
        ShowStatus(Host, FormatRouteDistance());
}

void TMDIChild::Image1MouseDown(int X, int Y)
{
    ShowPosition(Host, PixelToPosition(X, Y));
    ShowStatus(Host, "");
    DrawCursorCross(FCursorX, FCursorY, 10);
    if (MeasureMode)
        ShowStatus(Host, FormatRouteDistance());
    FCursorX = X;
    FCursorY = Y;
    DrawCursorCross(FCursorX, FCursorY, 10);
    FMouseDown = true;
}

void TMDIChild::Image1MouseMove(int X, int Y)
{
    if (!FMouseDown)
        return;
    DrawCursorCross(FCursorX, FCursorY, 10);
    ShowPosition(Host, PixelToPosition(X, Y));
    FCursorX = X;
    FCursorY = Y;
    DrawCursorCross(FCursorX, FCursorY, 10);
    if (MeasureMode)
        ShowStatus(Host, FormatRouteDistance());
}

void TMDIChild::Image1MouseUp(int X, int Y)
{
    DrawCursorCross(FCursorX, FCursorY, 10);
    if (MeasureMode) {
        // The line ends at the position of the last press or move.
        chartwin::DrawMeasureLine(*this);
        ShowStatus(Host, FormatRouteDistance());
    }
    FCursorX = X;
    FCursorY = Y;
    DrawCursorCross(FCursorX, FCursorY, 10);
    FMouseDown = false;
}

void TMDIChild::StepCursor(int dx, int dy)
{
    DrawCursorCross(FCursorX, FCursorY, 10);
    ShowStatus(Host, "");
    FCursorX += dx;
    FCursorY += dy;
    ShowPosition(Host, PixelToPosition(FCursorX, FCursorY));
    DrawCursorCross(FCursorX, FCursorY, 10);
    if (MeasureMode)
        ShowStatus(Host, FormatRouteDistance());
}

void TMDIChild::UpDownDownClick()
{
    StepCursor(0, 1);
}

void TMDIChild::UpDownUpClick()
{
    StepCursor(0, -1);
}

void TMDIChild::LeftRightDownClick()
{
    StepCursor(1, 0);
}

void TMDIChild::LeftRightUpClick()
{
    StepCursor(-1, 0);
}

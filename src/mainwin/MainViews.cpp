// The main window's chart views: creating them (two at most), arranging
// them in the MDI area, and re-centring and redrawing all of them after the
// data change. Views are addressed by index, 0 being the active view
// (chartwin/ViewList.h).

#include "mainwin/Main.h"

#include "chartwin/Childwin.h"
#include "chartwin/ViewList.h"
#include "nav/NavState.h"
#include "platform/Guarded.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"

#include <QAction>
#include <QMdiArea>
#include <QStyle>
#include <QToolButton>
#include <algorithm>
#include <string>
#include <vector>

namespace
{

constexpr int kMaxViews = 2;
// The size "&Inset View" gives the active view.
constexpr int kInsetWidth = 300;
constexpr int kInsetHeight = 225;

// Views that are not minimised, in index order.
std::vector<TMDIChild*> ShownViews()
{
    std::vector<TMDIChild*> shown;
    for (TMDIChild* view : chartwin::Views())
        if (!view->isMinimized())
            shown.push_back(view);
    return shown;
}

// Shares the MDI area between the shown views: side by side (each as tall
// as the area) or one above the other (each as wide as the area).
void TileViews(QMdiArea& area, bool sideBySide)
{
    const std::vector<TMDIChild*> views = ShownViews();
    if (views.empty())
        return;
    const QRect space = area.viewport()->rect();
    const int n = static_cast<int>(views.size());
    for (int i = 0; i < n; ++i) {
        TMDIChild* view = views[static_cast<std::size_t>(i)];
        view->showNormal();
        if (sideBySide) {
            const int left = space.width() * i / n;
            view->setGeometry(left, 0, space.width() * (i + 1) / n - left, space.height());
        } else {
            const int top = space.height() * i / n;
            view->setGeometry(0, top, space.width(), space.height() * (i + 1) / n - top);
        }
    }
}

// Overlaps the shown views from the area's top left corner, each one title
// bar lower and further right than the one behind it, the active view in
// front. Each is three quarters of the area in either direction, and never
// smaller than an inset view while the area has room for one.
void CascadeViews(QMdiArea& area)
{
    const std::vector<TMDIChild*> views = ShownViews();
    if (views.empty())
        return;
    const QRect space = area.viewport()->rect();
    const int step = std::max(
        24, views.front()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, views.front()));
    const int n = static_cast<int>(views.size());
    const int width = std::min(std::max(space.width() * 3 / 4, kInsetWidth), space.width());
    const int height = std::min(std::max(space.height() * 3 / 4, kInsetHeight), space.height());
    for (int i = 0; i < n; ++i) {
        TMDIChild* view = views[static_cast<std::size_t>(n - 1 - i)];
        view->showNormal();
        const int left = std::max(0, std::min(i * step, space.width() - width));
        const int top = std::max(0, std::min(i * step, space.height() - height));
        view->setGeometry(left, top, width, height);
    }
}

} // namespace

void TMainForm::BindViewCommands()
{
    Bind(FileNewItem, &TMainForm::FileNewItemClick);
    Bind(CopyView1, &TMainForm::CopyViewClick);
    Bind(Print1, &TMainForm::Print1Click);
    Bind(PrinterSetUp1, &TMainForm::PrinterSetUp1Click);
    Bind(WindowCascadeItem, &TMainForm::WindowCascadeItemClick);
    Bind(WindowTileItem, &TMainForm::WindowTileItemClick);
    Bind(TileHoriz1, &TMainForm::TileHoriz1Click);
    Bind(InsetView, &TMainForm::InsetViewClick);
    Bind(WindowMinimizeItem, &TMainForm::WindowMinimizeItemClick);
    Bind(WindowArrangeItem, &TMainForm::WindowArrangeItemClick);
    Bind(Next1, &TMainForm::Next1Click);
    Bind(Previous1, &TMainForm::Previous1Click);
    Bind(ChartletViewer1, &TMainForm::ChartletViewer1Click);
    Bind(AISDatabaseViewer1, &TMainForm::AISDatabaseViewer1Click);
    Bind(TidalAtlasEditor1, &TMainForm::TidalAtlasEditor1Click);
    Bind(WaypointEditor1, &TMainForm::WaypointEditor1Click);
    Bind(GPSfileconvertor1, &TMainForm::GPSfileconvertor1Click);
    Bind(KVHelp1, &TMainForm::KVHelp1Click);
    Bind(ReleaseNotes1, &TMainForm::ReleaseNotes1Click);
    Bind(HelpIndexBtn, &TMainForm::Contents1Click);
}

TMDIChild* TMainForm::CreateChartView(const std::string& name)
{
    auto* view = new TMDIChild(MdiArea, this);
    connect(view, &QWidget::windowTitleChanged, this,
        [this] { platform::guarded([this] { FollowViewCaption(); }); });
    YieldMenuShortcuts(view);
    view->setWindowTitle(qs(name + " (" + ConfigName.str() + ")"));
    view->FCursorLat = ChartHomeLat;
    view->FCursorLon = ChartHomeLon;
    view->SetZoom(ChartHomeZoom);
    view->RedrawView();
    view->showMaximized();
    UpdateMenuItems();
    return view;
}

void TMainForm::FollowViewCaption()
{
    // Qt names a maximised view in the window's title, but leaves the name
    // standing when the view's caption is emptied (a purged chart): the
    // title then goes back to the program's own.
    QMdiSubWindow* view = MdiArea->activeSubWindow();
    if (view && view->isMaximized() && view->windowTitle().isEmpty())
        setWindowTitle(kProgramTitle);
}

void TMainForm::FileNewItemClick()
{
    if (chartwin::ViewCount() >= kMaxViews) {
        platform::MessageWarning("Two views maximum - close one first...");
        return;
    }
    CreateChartView(CurrentChartName + "." + std::to_string(chartwin::ViewCount() + 1));
    WindowCascadeItemClick();
}

void TMainForm::WindowCascadeItemClick()
{
    CascadeViews(*MdiArea);
}

void TMainForm::WindowTileItemClick()
{
    TileViews(*MdiArea, true);
}

void TMainForm::TileHoriz1Click()
{
    TileViews(*MdiArea, false);
}

void TMainForm::WindowArrangeItemClick()
{
    // Minimised views in a row along the bottom of the area.
    int left = 0;
    const int bottom = MdiArea->viewport()->height();
    for (TMDIChild* view : chartwin::Views()) {
        if (!view->isMinimized())
            continue;
        view->move(left, bottom - view->height());
        left += view->width();
    }
}

void TMainForm::WindowMinimizeItemClick()
{
    const std::vector<TMDIChild*> views = chartwin::Views();
    for (auto view = views.rbegin(); view != views.rend(); ++view)
        (*view)->showMinimized();
}

void TMainForm::InsetViewClick()
{
    if (chartwin::ViewCount() != kMaxViews)
        return;
    TMDIChild* view = chartwin::View(0);
    view->showNormal();
    view->resize(kInsetWidth, kInsetHeight);
}

void TMainForm::Next1Click()
{
    MdiArea->activateNextSubWindow();
}

void TMainForm::Previous1Click()
{
    MdiArea->activatePreviousSubWindow();
}

void TMainForm::RefreshAllViews()
{
    // A copy: a redraw may bring its view to the front and reorder the list.
    for (TMDIChild* view : chartwin::Views()) {
        view->FCursorLat = CurLat;
        view->FCursorLon = CurLon;
        if (ZoomHomeOnRefresh)
            view->Zoom1_1Click();
        else
            view->CentreButton1Click();
        ZoomHomeOnRefresh = false;
    }
}

void TMainForm::SetFirstViewZoom(double zoom)
{
    TMDIChild* view = chartwin::View(0);
    if (!view)
        return;
    view->SetZoom(zoom);
    view->FShowRoute = true;
}

void TMainForm::CentreActiveView(double lat, double lon, double zoom)
{
    TMDIChild* view = chartwin::View(0);
    if (!view)
        return;
    view->FCursorLat = lat;
    view->FCursorLon = lon;
    view->SetZoom(zoom);
    view->CentreButton1Click();
}

// A chart view's components, its creation and the rules for closing it.

#include "chartwin/Childwin.h"

#include "chartwin/SpinButton.h"
#include "chartwin/VesselLayout.h"
#include "chartwin/ViewHost.h"
#include "chartwin/ViewList.h"
#include "draw/SymbolLibrary.h"
#include "nav/NavState.h"
#include "platform/Guarded.h"
#include "platform/QtHint.h"
#include "platform/QtTimer.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

double AisAgeLimit = 0.010417;

namespace
{

const char* const kAisViewStays = "Cannot close the AIS window as all AIS data will be lost !";
const char* const kOnlyView
    = "This is the only view open. Closing it will remove all data ! - Are you really sure?";

constexpr double kFifteenMinutes = 0.010417; // days

// Runs a command of the view inside the handler edge.
template <typename Handler> auto Guard(TMDIChild* view, Handler handler)
{
    return [view, handler] { platform::guardedIn(view, [&] { (view->*handler)(); }); };
}

} // namespace

TChartImage::TChartImage(QWidget* parent)
    : QWidget(parent)
{
    setCursor(Qt::CrossCursor);
}

void TChartImage::SetPicture(const QImage* picture)
{
    picture_ = picture;
    setFixedSize(picture ? picture->size() : QSize(0, 0));
    update();
}

void TChartImage::paintEvent(QPaintEvent*)
{
    if (!picture_)
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, *picture_);
}

TMDIChild::TMDIChild(QMdiArea* area, chartwin::TViewHost* host)
    : Host(host)
{
    // The redraw draws the vessel; where it stood is noted for the tow layout
    // that follows the redraw.
    DrawOwnVessel = [this] {
        chartwin::DrawVesselOutline(*this, FShowVessel);
        if (ShowVesselOutline)
            VesselDrawnAt = { FCursorLat, FCursorLon };
    };
    AisMonitorMode = [this] { return Host && Host->AisMonitorOn(); };
    setObjectName("MDIChild");
    setWindowTitle("Drawing Chart");
    setAttribute(Qt::WA_DeleteOnClose);

    Form = new QWidget(this);
    auto* row = new QHBoxLayout(Form);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    ScrollBox1 = new QScrollArea(Form);
    ScrollBox1->setObjectName("ScrollBox1");
    ScrollBox1->setAlignment(Qt::AlignCenter);
    Image1 = new TChartImage;
    Image1->setObjectName("Image1");
    ScrollBox1->setWidget(Image1);
    // The wheel zooms wherever the pointer is over the chart: on the bitmap
    // or on the scroll box around it, before the scroll box can scroll.
    ScrollBox1->viewport()->installEventFilter(this);
    Image1->installEventFilter(this);
    row->addWidget(ScrollBox1, 1);

    Memo1 = new QPlainTextEdit(ScrollBox1->viewport());
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setStyleSheet("background-color: yellow;");
    Memo1->setFont(QFont("DejaVu Sans Mono"));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SetHint(Memo1, "CTRL + I to close !|  ");
    Memo1->resize(300, 200);
    Memo1->hide();

    BuildToolPanel();
    row->addWidget(Panel1);
    setWidget(Form);
    BuildPopupMenu();

    Delay = new TTimer(this, 100, false);
    RefRate = new TTimer(this, 5000, false);
    ConnectCursor();
    ConnectCommands();
    BindAisCommands();

    connect(this, &QMdiSubWindow::aboutToActivate, this, [this] { chartwin::MakeActiveView(this); });

    // The view counts as open from here, so FormCreate can tell whether it is
    // the first one.
    chartwin::AddView(this);
    if (area)
        area->addSubWindow(this);
    platform::guarded([this] { FormCreate(); });
}

TMDIChild::~TMDIChild()
{
    // Freed without a close: at program end, with the main window.
    chartwin::RemoveView(this);
}

void TMDIChild::BuildToolPanel()
{
    Panel1 = new QFrame(Form);
    Panel1->setObjectName("Panel1");
    Panel1->setFixedWidth(30);
    auto* column = new QVBoxLayout(Panel1);
    column->setContentsMargins(1, 2, 1, 2);
    column->setSpacing(2);
    auto button = [this, column](const char* name, const QString& caption, const QString& hint) {
        auto* b = new QToolButton(Panel1);
        b->setObjectName(name);
        b->setText(caption);
        b->setAutoRaise(true);
        b->setFixedSize(28, 24);
        SetHint(b, hint);
        column->addWidget(b, 0, Qt::AlignHCenter);
        return b;
    };
    ZoomIn = button("ZoomIn", "+", "Zoom in 2x|");
    ZoomOut = button("ZoomOut", "-", "Zoom out 2x|");
    Zoom1_1 = button("Zoom1_1", "1:1", "Full Chart|");
    CentreButton1 = button("CentreButton1", "(+)", "Re-Centre|");
    ViewBtn = button("ViewBtn", "V", "View / Zoom properties|");
    connect(ZoomIn, &QToolButton::clicked, this, Guard(this, &TMDIChild::ZoomInClick));
    connect(ZoomOut, &QToolButton::clicked, this, Guard(this, &TMDIChild::ZoomOutClick));
    connect(Zoom1_1, &QToolButton::clicked, this, Guard(this, &TMDIChild::Zoom1_1Click));
    connect(CentreButton1, &QToolButton::clicked, this, Guard(this, &TMDIChild::CentreButton1Click));
    connect(ViewBtn, &QToolButton::clicked, this, Guard(this, &TMDIChild::ViewBtnClick));

    // The cursor moves a pixel at a time with these; their commands come
    // with the cursor.
    UpDown = new TSpinButton(Qt::Vertical, Panel1);
    UpDown->setObjectName("UpDown");
    column->addWidget(UpDown, 0, Qt::AlignHCenter);
    LeftRight = new TSpinButton(Qt::Horizontal, Panel1);
    LeftRight->setObjectName("LeftRight");
    column->addWidget(LeftRight, 0, Qt::AlignHCenter);

    // AIS controls: shown in the AIS view only.
    ShowAIS = button("ShowAIS", "AIS", "Show / Hide AIS Targets|");
    ShowAIS->setCheckable(true);
    AISrepeat = button("AISrepeat", "R", "Repeat last AIS target announcement|");
    RR = new TSpinButton(Qt::Vertical, Panel1);
    RR->setObjectName("RR");
    SetHint(RR, "Rings off|");
    column->addWidget(RR, 0, Qt::AlignHCenter);
    RangeR = new QLabel("0", Panel1);
    RangeR->setObjectName("RangeR");
    RangeR->setAlignment(Qt::AlignCenter);
    column->addWidget(RangeR);
    for (QWidget* control : std::initializer_list<QWidget*> { ShowAIS, AISrepeat, RR, RangeR })
        control->hide();
    column->addStretch(1);
}

void TMDIChild::BuildPopupMenu()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    auto add = [this](QMenu* menu, const char* name, const char* caption, QKeySequence key = {},
                   bool checkable = false, bool checked = false) {
        auto* item = new QAction(QString::fromLatin1(caption), this);
        item->setObjectName(name);
        if (!key.isEmpty()) {
            item->setShortcut(key);
            // The short cuts work while this view has the focus.
            item->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            addAction(item);
        }
        if (checkable) {
            item->setCheckable(true);
            item->setChecked(checked);
        }
        menu->addAction(item);
        return item;
    };
    auto radio = [&](QMenu* menu, QActionGroup* group, const char* name, const char* caption, bool checked) {
        QAction* item = add(menu, name, caption, {}, true, checked);
        group->addAction(item);
        return item;
    };
    auto submenu = [this](const char* name, const char* caption) {
        QMenu* menu = PopupMenu1->addMenu(QString::fromLatin1(caption));
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        return menu;
    };
    QMenu* m = PopupMenu1;

    // Route editing, the chart information panel, track playback and the
    // area are commands of the view that come with their own areas.
    AddRouteWaypoint1 = add(m, "AddRouteWaypoint1", "&Add Route Waypoint", Qt::CTRL | Qt::Key_R);
    InsertWaypoint1 = add(m, "InsertWaypoint1", "Insert &Route Waypoint");
    EditRoute1 = add(m, "EditRoute1", "&Edit Route Waypoint");
    DeleteSelectedWaypoint1 = add(m, "DeleteSelectedWaypoint1", "&Delete Route Waypoint");
    WaypointSnapMode = add(m, "WaypointSnapMode", "Waypoint &Snap Mode", {}, true);
    m->addSeparator();
    ShowToolBar1 = add(m, "ShowToolBar1", "Show ToolBar", Qt::CTRL | Qt::Key_T, true, true);
    Information1 = add(m, "Information1", "&Chart Information", Qt::CTRL | Qt::Key_I, true);
    ViewProperties1 = add(m, "ViewProperties1", "&View Properties", Qt::Key_F12);
    Area1 = add(m, "Area1", "&Area");
    CopyView1 = add(m, "CopyView1", "Cop&y View");
    m->addSeparator();
    ReCentre1 = add(m, "ReCentre1", "Re-Centre", Qt::Key_F5);
    ZoomOut1 = add(m, "ZoomOut1", "Zoom Out", Qt::Key_F6);
    ZoomIn1 = add(m, "ZoomIn1", "Zoom In", Qt::Key_F7);
    Zoom1_11 = add(m, "Zoom1_11", "Zoom 1:1", Qt::Key_F8);
    PlaybackLog1 = add(m, "PlaybackLog1", "Playback Log", Qt::CTRL | Qt::Key_G);
    ShowChts = add(m, "ShowChts", "Show Charts");
    ShowChts->setVisible(false);

    // AIS items: their commands come with the AIS presentation.
    AisSeparatorBefore = m->addSeparator();
    HighlightNearest1 = add(m, "HighlightNearest1", "AIS Highlight Nearest Target", {}, true);
    ShowMMSI1 = add(m, "ShowMMSI1", "AIS Show MMSI", {}, true);
    ShowNameMMSI1 = submenu("ShowNameMMSI1", "AIS Show Name / MMSI");
    auto* labels = new QActionGroup(this);
    OnAll1 = radio(ShowNameMMSI1, labels, "OnAll1", "On All", true);
    OnSelected1 = radio(ShowNameMMSI1, labels, "OnSelected1", "On Selected", false);
    AutoRemove1 = submenu("AutoRemove1", "AIS Auto Remove");
    auto* ageOut = new QActionGroup(this);
    Never1 = radio(AutoRemove1, ageOut, "Never1", "Never", false);
    After15Mins1 = radio(AutoRemove1, ageOut, "After15Mins1", "After 15 Mins", true);
    After10Mins1 = radio(AutoRemove1, ageOut, "After10Mins1", "After 10 Mins", false);
    After5Mins1 = radio(AutoRemove1, ageOut, "After5Mins1", "After 5 Mins", false);
    LargeLollipop1 = add(m, "LargeLollipop1", "AIS Large Lollipops", {}, true);
    AISFollowSelectedTarget1 = add(m, "AISFollowSelectedTarget1", "AIS Follow Selected Target", {}, true);
    AISVesselOrientation1 = submenu("AISVesselOrientation1", "AIS Vessel Orientation");
    auto* orientation = new QActionGroup(this);
    AISCOG1 = radio(AISVesselOrientation1, orientation, "AISCOG1", "AIS COG", true);
    AISTrueHead1 = radio(AISVesselOrientation1, orientation, "AISTrueHead1", "AIS True Head", false);
    AISZoom = add(m, "AISZoom", "AIS Zoom Nearest Target", {}, true);
    AISShape = add(m, "AISShape", "AIS Conventional Target Shape", {}, true);
    AisSeparatorAfter = m->addSeparator();
    ClearAllTargets1 = add(m, "ClearAllTargets1", "AIS Clear All Targets");

    // A check item's command sets its own check mark: undo Qt's toggle first.
    connect(ShowToolBar1, &QAction::triggered, ShowToolBar1,
        [this](bool now) { ShowToolBar1->setChecked(!now); });
    connect(ShowToolBar1, &QAction::triggered, this, Guard(this, &TMDIChild::ShowToolBar1Click));
    connect(ViewProperties1, &QAction::triggered, this, Guard(this, &TMDIChild::ViewBtnClick));
    connect(CopyView1, &QAction::triggered, this, Guard(this, &TMDIChild::CopyView1Click));
    connect(ReCentre1, &QAction::triggered, this, Guard(this, &TMDIChild::CentreButton1Click));
    connect(ZoomOut1, &QAction::triggered, this, Guard(this, &TMDIChild::ZoomOutClick));
    connect(ZoomIn1, &QAction::triggered, this, Guard(this, &TMDIChild::ZoomInClick));
    connect(Zoom1_11, &QAction::triggered, this, Guard(this, &TMDIChild::Zoom1_1Click));
    connect(ShowChts, &QAction::triggered, this, Guard(this, &TMDIChild::ShowChtsClick));

    Image1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Image1, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& at) { PopupMenu1->popup(Image1->mapToGlobal(at)); });
}

void TMDIChild::FormCreate()
{
    NewChartBitmap();
    SetZoom(ChartHomeZoom);
    FCursorX = 0;
    FCursorY = 0;
    FMouseDown = false;
    FAutoRecentre = AutoCentre;
    FShowWaypoints = FShowRoute = FShowTides = FShowTrack = true;
    FLineTypeShown.fill(true);
    FPlotSurveyLog = FShowSurveyTrack = FShowLastN = true;
    FEventTextOnly = FColourBlobs = false;
    FAutoZoom = false;
    FShowGraticule = false;
    FShowVessel = true;
    FKeepOnTop = false;
    FPlotRange = 10.0;
    FShowCount = 100;
    FShapeThreshold = 15;
    FTextThreshold = 100;
    FTidalThreshold = 20;
    FTrendField = '-';
    FHighlightLimit = 0;
    FRingCount = 0;

    if (Host)
        Host->InitDataPlot();

    FIsAisView = chartwin::ViewCount() == 1 && chartwin::View(0) == this;
    if (FIsAisView) {
        // The AIS settings are program-wide but belong to the AIS view: a
        // second view leaves them (and the AIS view's menu marks) alone.
        SelectedAisTarget = 0;
        AisAgeLimit = kFifteenMinutes;
        AisLollipopRadius = 2;
        AisLollipopPenWidth = 1;
        AisHeadingMode = 0;
        for (QWidget* control : std::initializer_list<QWidget*> { ShowAIS, RangeR, RR, AISrepeat })
            control->show();
        HighlightNearest1->setChecked(true);
        AisTargetCount = 0;
    } else {
        for (QAction* item : std::initializer_list<QAction*> { AisSeparatorBefore, HighlightNearest1,
                 ShowMMSI1, ShowNameMMSI1->menuAction(), AutoRemove1->menuAction(), LargeLollipop1,
                 AISFollowSelectedTarget1, AISVesselOrientation1->menuAction(), AISZoom, AisSeparatorAfter,
                 ClearAllTargets1, AISShape, Area1 })
            item->setVisible(false);
        ShowAIS->setChecked(false);
    }
}

void TMDIChild::FormClose(TCloseAction& Action)
{
    if (chartwin::ViewCount() > 1) {
        if (FIsAisView) {
            platform::MessageWarning(kAisViewStays);
            Action = TCloseAction::None;
        } else {
            Action = TCloseAction::Free;
        }
        return;
    }
    Action = TCloseAction::None;
    if (!platform::AskYesNo(kOnlyView))
        return;
    if (FIsAisView) {
        platform::MessageWarning(kAisViewStays);
        return;
    }
    if (Host)
        Host->ClearRouteList();
    ChartPointCount = 0;
    ChartKind = 0;
    CurrentChartName.clear();
    WaypointDbCount = 0;
    RouteCount = 0;
    for (int i = 1; i <= kMaxChartPoints; ++i)
        ChartPoints[i] = PenUpPoint;
    if (Host)
        Host->ClearNavPanel();
    LayerFlags = "**********";
    ConfigName = "";
    Action = TCloseAction::Free;
}

void TMDIChild::closeEvent(QCloseEvent* e)
{
    TCloseAction action = TCloseAction::None;
    platform::guarded([&] { FormClose(action); });
    switch (action) {
    case TCloseAction::Free:
        // The MDI area lets it go (Qt frees it later); then it leaves the
        // list and the main window's menus follow the views that are left.
        QMdiSubWindow::closeEvent(e);
        if (e->isAccepted() && chartwin::RemoveView(this) && Host)
            platform::guarded([this] { Host->UpdateMenuItems(); });
        break;
    case TCloseAction::Hide:
        e->ignore();
        hide();
        break;
    case TCloseAction::Minimize:
        e->ignore();
        showMinimized();
        break;
    case TCloseAction::None:
        e->ignore();
        break;
    }
}

void TMDIChild::ShowToolBar1Click()
{
    ShowToolBar1->setChecked(!ShowToolBar1->isChecked());
    Panel1->setVisible(ShowToolBar1->isChecked());
}

void TMDIChild::CopyView1Click()
{
    if (Host)
        Host->CopyViewClick();
}

void TMDIChild::wheelEvent(QWheelEvent* e)
{
    const int delta = e->angleDelta().y();
    if (delta == 0) {
        e->ignore(); // a sideways wheel does not zoom
        return;
    }
    platform::guarded([&] { FormMouseWheel(delta); });
    e->accept();
}

bool TMDIChild::eventFilter(QObject* watched, QEvent* e)
{
    // The wheel zooms the view; it does not scroll the bitmap.
    if ((watched == Image1 || watched == ScrollBox1->viewport()) && e->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(e));
        return e->isAccepted();
    }
    return QMdiSubWindow::eventFilter(watched, e);
}

#include "dialogs/Cviewer.h"
#include "nav/PositionReadout.h"

#include "dialogs/CTRef.h"
#include "dialogs/ViewerHost.h"
#include "draw/RasterCanvas.h"
#include "nav/LatLonText.h"
#include "nav/NavState.h"
#include "platform/Guarded.h"
#include "platform/QtImageFile.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"
#include "platform/QtWindowState.h"
#include "rtl/Paths.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <span>

TCviewer* Cviewer = nullptr;

namespace
{

const char* const kCaption = "Raster Image Viewer";

QAction* AddItem(
    QMenu* menu, const char* name, const char* text, bool checkable = false, bool checked = false)
{
    QAction* item = menu->addAction(text);
    item->setObjectName(name);
    item->setCheckable(checkable);
    item->setChecked(checked);
    return item;
}

} // namespace

TCviewer::TCviewer(QWidget* parent, TViewerHost* host)
    : QDialog(parent)
    , host_(host)
{
    setObjectName("Cviewer");
    setWindowTitle(kCaption);
    // A window of its own, not one the main window owns: the window manager
    // minimises an owned window together with its owner, and the chart would
    // go with it. It stays above the main window by staying on top.
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);
    setModal(false);
    resize(640, 480);

    ScrollBox = new QScrollArea(this);
    ScrollBox->setObjectName("ScrollBox");
    ScrollBox->setWidgetResizable(false);
    Image1 = new QLabel;
    Image1->setObjectName("Image1");
    Image1->setScaledContents(false);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox->setWidget(Image1);
    Image1->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ScrollBox);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    ZoomIn = AddItem(PopupMenu1, "ZoomIn", "Zoom In");
    ZoomOut = AddItem(PopupMenu1, "ZoomOut", "Zoom Out");
    Normal = AddItem(PopupMenu1, "Normal", "Normal 1:1");
    PopupMenu1->addSeparator();
    OpenChartletFile1 = AddItem(PopupMenu1, "OpenChartletFile1", "Open Image File");
    RefInfo = AddItem(PopupMenu1, "RefInfo", "Reference Image");
    OnTop = AddItem(PopupMenu1, "OnTop", "Stay On Top", true, true);
    PopupMenu1->addSeparator();
    COV = AddItem(PopupMenu1, "COV", "Track Vessel", true);
    VCross = AddItem(PopupMenu1, "VCross", "Show Fix Crosses", true);
    Showtrackhistory = AddItem(PopupMenu1, "Showtrackhistory", "Plot Track History");
    ClearTrack = AddItem(PopupMenu1, "ClearTrack", "Clear Track");
    PopupMenu1->addSeparator();
    Autoplay = AddItem(PopupMenu1, "Autoplay", "Auto Play Audio Clips", true, true);
    PlaySoundFile = AddItem(PopupMenu1, "PlaySoundFile", "Play Audio Clip");
    StopAudioClip = AddItem(PopupMenu1, "StopAudioClip", "Stop Audio Clip");
    PopupMenu1->addSeparator();
    CreateWP = AddItem(PopupMenu1, "CreateWP", "Create KV Waypoint");
    KVChartPoint = AddItem(PopupMenu1, "KVChartPoint", "Add KV Chart Point");
    AutoAdd = AddItem(PopupMenu1, "AutoAdd", "Auto Add Chart Points", true);
    PopupMenu1->addSeparator();
    PrintChartletView = AddItem(PopupMenu1, "PrintChartletView", "Print Raster View");
    CopyChartletView = AddItem(PopupMenu1, "CopyChartletView", "Copy Raster View");

    Bind(ZoomIn, &TCviewer::ZoomInClick);
    Bind(ZoomOut, &TCviewer::ZoomOutClick);
    Bind(Normal, &TCviewer::NormalClick);
    Bind(OpenChartletFile1, &TCviewer::OpenChartletFile1Click);
    Bind(RefInfo, &TCviewer::RefInfoClick);
    Bind(OnTop, &TCviewer::OnTopClick);
    Bind(COV, &TCviewer::COVClick);
    Bind(VCross, &TCviewer::VCrossClick);
    Bind(Showtrackhistory, &TCviewer::ShowtrackhistoryClick);
    Bind(ClearTrack, &TCviewer::ClearTrackClick);
    Bind(Autoplay, &TCviewer::AutoplayClick);
    Bind(PlaySoundFile, &TCviewer::PlaySoundFileClick);
    Bind(StopAudioClip, &TCviewer::StopAudioClipClick);
    Bind(CreateWP, &TCviewer::CreateWPClick);
    Bind(KVChartPoint, &TCviewer::KVChartPointClick);
    Bind(AutoAdd, &TCviewer::AutoAddClick);
    Bind(PrintChartletView, &TCviewer::PrintChartletViewClick);
    Bind(CopyChartletView, &TCviewer::CopyChartletViewClick);
    connect(PopupMenu1, &QMenu::aboutToShow, this,
        [this] { platform::guardedIn(this, [this] { PopupMenu1Popup(); }); });

    // FormCreate
    openFolder_ = ChartsFolder;
    Timer1 = new TTimer(this, FixIntervalMs, false);
    Timer2 = new TTimer(this, 2000, false);
    connect(Timer1, &TTimer::timeout, this, [this] { platform::guardedIn(this, [this] { CTPlot(); }); });
    connect(Timer2, &TTimer::timeout, this,
        [this] { platform::guardedIn(this, [this] { KVChartPointClick(); }); });
    reference_.trackWidth = 1;
    UpdateMenuState();
}

TCviewer::~TCviewer() = default;

void TCviewer::Bind(QAction* item, void (TCviewer::*handler)())
{
    connect(item, &QAction::triggered, this,
        [this, handler] { platform::guardedIn(this, [&] { (this->*handler)(); }); });
}

void TCviewer::SetFixInterval(int ms)
{
    Timer1->setInterval(ms);
}

std::string TCviewer::Caption() const
{
    std::string caption = kCaption;
    caption.append(" (").append(baseName_).append(")");
    return caption;
}

std::string TCviewer::ClipPath() const
{
    return rtl::ExtractFilePath(imagePath_) + baseName_ + ".wav";
}

// ---- Loading and showing

void TCviewer::OpenChartletFile1Click()
{
    platform::FileDialogRequest request;
    request.title = "Open";
    request.initialFolder = openFolder_.empty() ? ChartsFolder : openFolder_;
    request.filter = "Bitmap Files (*.bmp)|*.bmp|JPEG Files (*.jpg)|*.jpg";
    request.defaultExt = "bmp";
    const std::optional<std::string> path = platform::ui().openFile(request);
    if (!path)
        return;
    openFolder_ = rtl::ExtractFilePath(*path);
    OpenImage(*path, true);
}

void TCviewer::OpenImage(const std::string& path, bool plotFix)
{
    Timer1->setEnabled(false);
    COV->setChecked(false);
    referenceValid_ = false;
    QImage picture;
    try {
        picture = platform::LoadImageFile(rtl::OpenPath(path));
    } catch (const platform::ImageError& e) {
        UpdateMenuState();
        platform::MessageError(e.what());
        return;
    }
    picture_ = picture.convertToFormat(QImage::Format_RGB32);
    drawable_ = !platform::IsJpegFileName(path);
    imageLoaded_ = true;
    imagePath_ = path;
    baseName_ = rtl::ChangeFileExt(rtl::ExtractFileName(path), "");
    referencePath_ = ChartletReferencePath(path);
    setWindowTitle(qs(Caption()));

    const ReferenceReadResult read = ReadChartletReference(rtl::OpenPath(referencePath_));
    reference_ = read.reference;
    if (read.status != ReferenceStatus::Read) {
        // Without a usable reference the picture shows at its own size.
        reference_.height = std::max(1, picture_.height());
        reference_.width = std::max(1, picture_.width());
    }
    cursor_ = {};
    lastAdded_ = {};
    zoom_ = NormalZoom(reference_);
    ResetBitmap();
    ShowBitmap();
    CentreImage();
    if (plotFix)
        CTPlot();
    referenceValid_ = reference_.valid();
    UpdateMenuState();
    if (read.status == ReferenceStatus::FormatError)
        platform::MessageError(read.message);
    if (reference_.hasAudioClip() && Autoplay->isChecked())
        PlaySoundFileClick();
}

void TCviewer::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (PendingName.empty())
        return;
    const std::string name = PendingName;
    PendingName.clear();
    platform::guardedIn(this, [&] {
        const std::string jpeg = ChartsFile(name + ".jpg");
        OpenImage(rtl::FileExists(jpeg) ? jpeg : ChartsFile(name + ".bmp"), false);
    });
}

void TCviewer::ResetBitmap()
{
    bitmap_ = QImage(reference_.width, reference_.height, QImage::Format_RGB32);
    bitmap_.fill(Qt::white);
    {
        QPainter painter(&bitmap_);
        painter.drawImage(0, 0, picture_);
    }
    canvas_ = std::make_unique<chartwin::TRasterCanvas>(bitmap_);
    cursor_ = {};
    cursorShown_ = false;
    firstPoint_ = true;
}

void TCviewer::ShowBitmap()
{
    if (!imageLoaded_)
        return;
    const QSize size(zoom_.width, zoom_.height);
    const QImage shown = size == bitmap_.size() ? bitmap_ : bitmap_.scaled(size);
    Image1->setPixmap(QPixmap::fromImage(shown));
    Image1->resize(size);
}

void TCviewer::CentreImage()
{
    const QSize client = ScrollBox->viewport()->size();
    ScrollBox->horizontalScrollBar()->setValue(CentredScrollPosition(zoom_.width, client.width()));
    ScrollBox->verticalScrollBar()->setValue(CentredScrollPosition(zoom_.height, client.height()));
}

void TCviewer::ScrollToImagePixel(PixelPoint at)
{
    const QSize client = ScrollBox->viewport()->size();
    ScrollBox->horizontalScrollBar()->setValue(
        ScrollPositionFor(zoom_.width, client.width(), at.x, zoom_.zoom));
    ScrollBox->verticalScrollBar()->setValue(
        ScrollPositionFor(zoom_.height, client.height(), at.y, zoom_.zoom));
}

// ---- Zoom

void TCviewer::ZoomInClick()
{
    StepZoom(::ZoomIn);
}

void TCviewer::ZoomOutClick()
{
    StepZoom(::ZoomOut);
}

void TCviewer::StepZoom(bool (*step)(ChartletZoom&))
{
    if (!imageLoaded_)
        return;
    if (!step(zoom_)) {
        platform::Beep();
        return;
    }
    // The image drawn afresh at the new size, the cursor point in the middle.
    const PixelPoint centre = cursor_;
    ClearAndReplot();
    ScrollToImagePixel(centre);
}

void TCviewer::NormalClick()
{
    if (!imageLoaded_)
        return;
    zoom_ = NormalZoom(reference_);
    ClearAndReplot();
    CentreImage();
    setWindowTitle(qs(Caption()));
}

void TCviewer::ClearAndReplot()
{
    ResetBitmap();
    ShowtrackhistoryClick();
    ShowBitmap();
}

// ---- The track

void TCviewer::DrawFixCross(PixelPoint at)
{
    for (const PixelStroke& stroke : FixCrossStrokes(at)) {
        canvas_->MoveTo(stroke.from.x, stroke.from.y);
        canvas_->LineTo(stroke.to.x, stroke.to.y);
    }
    canvas_->MoveTo(at.x, at.y);
}

void TCviewer::DrawTrackTo(PixelPoint at, bool moveFirst)
{
    canvas_->SetPenMode(chartwin::TPenMode::Copy);
    canvas_->SetPenColour(static_cast<chartwin::TColour>(reference_.trackColour) & 0xFFFFFF);
    canvas_->SetPenWidth(reference_.trackWidth);
    if (moveFirst)
        canvas_->MoveTo(at.x, at.y);
    canvas_->LineTo(at.x, at.y);
    if (VCross->isChecked())
        DrawFixCross(at);
}

void TCviewer::CTPlot()
{
    if (!referenceValid_ || !drawable_ || !canvas_ || LogCount < 1)
        return;
    const std::vector<PixelPoint> newest
        = TrackPixels(reference_, std::span<const LogRecord>(&LogRecords[LogCount], 1));
    if (newest.empty())
        return;
    DrawTrackTo(newest.front(), firstPoint_);
    firstPoint_ = false;
    ShowBitmap();
    if (COV->isChecked())
        ScrollToImagePixel(newest.front());
}

void TCviewer::ShowtrackhistoryClick()
{
    if (!referenceValid_ || !drawable_ || !canvas_)
        return;
    firstPoint_ = true;
    const std::vector<PixelPoint> track
        = TrackPixels(reference_, std::span<const LogRecord>(LogRecords.begin(), std::max<int>(LogCount, 0)));
    for (std::size_t i = 0; i < track.size(); ++i)
        DrawTrackTo(track[i], i == 0);
    if (!track.empty())
        firstPoint_ = false;
    ShowBitmap();
}

void TCviewer::COVClick()
{
    // The menu has toggled the check mark: it says what is wanted now.
    if (!COV->isChecked()) {
        Timer1->setEnabled(false);
        firstPoint_ = false;
        return;
    }
    Timer1->setEnabled(!dragging_);
    ShowtrackhistoryClick();
    firstPoint_ = true;
    CTPlot();
}

void TCviewer::VCrossClick()
{
    // The check mark is the state; the menu toggles it.
}

void TCviewer::ClearTrackClick()
{
    if (!imageLoaded_)
        return;
    ResetBitmap();
    ShowBitmap();
}

// ---- The cursor

void TCviewer::DrawCursorCross()
{
    if (!drawable_ || !canvas_)
        return;
    const int penX = canvas_->PenX(), penY = canvas_->PenY();
    canvas_->SetPenMode(chartwin::TPenMode::Not);
    canvas_->SetPenWidth(reference_.trackWidth);
    for (const PixelStroke& stroke : CursorCrossStrokes(cursor_)) {
        canvas_->MoveTo(stroke.from.x, stroke.from.y);
        canvas_->LineTo(stroke.to.x, stroke.to.y);
    }
    canvas_->SetPenMode(chartwin::TPenMode::Copy);
    canvas_->MoveTo(penX, penY);
    cursorShown_ = !cursorShown_;
}

void TCviewer::ShowCursorPosition(int x, int y)
{
    cursorPosition_ = PixelToPosition(reference_, zoom_.width, zoom_.height, x, y);
    CursorPositionText = CursorPositionReadout(cursorPosition_.lat, cursorPosition_.lon);
    setWindowTitle(qs(CursorPositionText));
}

void TCviewer::MoveCursor(int x, int y)
{
    if (cursorShown_)
        DrawCursorCross();
    cursor_ = DisplayedToImage(x, y, zoom_.zoom);
    DrawCursorCross();
    ShowBitmap();
}

void TCviewer::Image1MouseDown(int x, int y)
{
    if (!imageLoaded_)
        return;
    Timer1->setEnabled(false);
    if (referenceValid_)
        ShowCursorPosition(x, y);
    MoveCursor(x, y);
    dragging_ = true;
}

void TCviewer::Image1MouseMove(int x, int y)
{
    if (!dragging_)
        return;
    if (referenceValid_)
        ShowCursorPosition(x, y);
    MoveCursor(x, y);
}

void TCviewer::Image1MouseUp(int x, int y)
{
    if (!dragging_)
        return;
    MoveCursor(x, y);
    dragging_ = false;
    firstPoint_ = true;
    Timer1->setEnabled(COV->isChecked());
}

bool TCviewer::eventFilter(QObject* watched, QEvent* e)
{
    const QEvent::Type type = e->type();
    if (watched != Image1
        || (type != QEvent::MouseButtonPress && type != QEvent::MouseMove
            && type != QEvent::MouseButtonRelease))
        return QDialog::eventFilter(watched, e);
    const auto* mouse = static_cast<QMouseEvent*>(e);
    if (type != QEvent::MouseMove && mouse->button() != Qt::LeftButton)
        return QDialog::eventFilter(watched, e);
    const QPoint at = mouse->position().toPoint();
    platform::guardedIn(this, [&] {
        if (type == QEvent::MouseButtonPress)
            Image1MouseDown(at.x(), at.y());
        else if (type == QEvent::MouseMove)
            Image1MouseMove(at.x(), at.y());
        else
            Image1MouseUp(at.x(), at.y());
    });
    return true;
}

void TCviewer::contextMenuEvent(QContextMenuEvent* e)
{
    PopupMenu1->popup(e->globalPos());
}

// ---- Waypoints and chart points

void TCviewer::CreateWPClick()
{
    if (!referenceValid_)
        return;
    CurLat = cursorPosition_.lat;
    CurLon = cursorPosition_.lon;
    if (host_)
        host_->AddChartWaypointHere();
}

void TCviewer::KVChartPointClick()
{
    if (!referenceValid_ || !drawable_ || !canvas_ || !host_)
        return;
    ChartPointDigitising state;
    state.chartWindows = host_->ChartViewCount();
    state.logCount = LogCount;
    state.chartPointCount = ChartPointCount;
    state.chartEditable = ChartEditable;
    state.viewZoom = ViewZoom;
    state.cursor = cursor_;
    state.lastAdded = lastAdded_;
    if (!MayAddChartPoint(state))
        return;
    CurLat = cursorPosition_.lat;
    CurLon = cursorPosition_.lon;
    host_->AddChartPointHere();

    canvas_->SetPenMode(chartwin::TPenMode::Copy);
    canvas_->SetPenColour(static_cast<chartwin::TColour>(reference_.trackColour) & 0xFFFFFF);
    canvas_->SetPenWidth(reference_.trackWidth);
    canvas_->MoveTo(lastAdded_.x, lastAdded_.y);
    if (!host_->PenUpChecked())
        canvas_->LineTo(cursor_.x, cursor_.y);
    lastAdded_ = cursor_;
    if (VCross->isChecked())
        DrawFixCross(cursor_);
    ShowBitmap();
    ScrollToImagePixel(cursor_);
}

void TCviewer::AutoAddClick()
{
    Timer2->setEnabled(AutoAdd->isChecked());
}

// ---- Reference

void TCviewer::RefInfoClick()
{
    if (!imageLoaded_ || !CTRef)
        return;
    CTRef->SetImage(baseName_, drawable_);
    ChartletReference edited = reference_;
    if (CTRef->Execute(edited)) {
        reference_ = edited;
        zoom_ = NormalZoom(reference_);
        ResetBitmap();
        ShowBitmap();
        CentreImage();
        if (platform::AskYesNo("Save modified chartlet reference data file ?")
            && !WriteChartletReference(rtl::OpenPath(referencePath_), reference_))
            platform::MessageError("Cannot write the reference file " + referencePath_);
    }
    referenceValid_ = reference_.valid();
    UpdateMenuState();
}

// ---- Window, sound, print and copy

void TCviewer::OnTopClick()
{
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, OnTop->isChecked());
    if (visible)
        show(); // changing the flags hides the window
}

void TCviewer::AutoplayClick()
{
    // The check mark is the state; the menu toggles it.
}

void TCviewer::PlaySoundFileClick()
{
    if (!reference_.hasAudioClip() || !host_)
        return;
    SoundEnabled = false;
    host_->PlayChartletClip(ClipPath());
}

void TCviewer::StopAudioClipClick()
{
    if (host_)
        host_->StopChartletClip();
}

void TCviewer::PrintChartletViewClick()
{
    if (imageLoaded_ && host_)
        host_->PrintChartletView(grab().toImage());
}

void TCviewer::CopyChartletViewClick()
{
    if (imageLoaded_)
        QGuiApplication::clipboard()->setImage(grab().toImage());
}

void TCviewer::PopupMenu1Popup()
{
    UpdateMenuState();
}

void TCviewer::UpdateMenuState()
{
    const bool plotting = referenceValid_ && drawable_;
    CreateWP->setEnabled(plotting);
    Showtrackhistory->setEnabled(plotting);
    ClearTrack->setEnabled(plotting);
    KVChartPoint->setEnabled(plotting && ChartEditable);
    AutoAdd->setEnabled(plotting && ChartEditable);
    COV->setEnabled(drawable_);
    VCross->setEnabled(drawable_);
    RefInfo->setEnabled(imageLoaded_);
    for (QAction* item : { ZoomIn, ZoomOut, Normal, CopyChartletView, PrintChartletView })
        item->setEnabled(imageLoaded_);
    PlaySoundFile->setEnabled(reference_.hasAudioClip());
    StopAudioClip->setEnabled(reference_.hasAudioClip());
}

void ShowChartletInViewer(const std::string& name)
{
    if (!Cviewer)
        return;
    Cviewer->PendingName = name;
    Cviewer->hide();
    platform::ShowRestored(*Cviewer);
}

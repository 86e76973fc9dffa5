// The raster image viewer and its reference dialog on small images written
// for each test: loading with and without a reference, the track drawn on
// the bitmap pixel by pixel, the cursor, zoom limits, digitising chart
// points and the reference dialog with its corner texts.

#include "dialogs/Cviewer.h"
#include "dialogs/CTRef.h"
#include "dialogs/ViewerHost.h"
#include "draw/RasterCanvas.h"
#include "nav/NavState.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace
{

std::string L(const char* utf8)
{
    return ls(QString::fromUtf8(utf8));
}

// Records what the viewer asks of the main window.
class FakeHost : public TViewerHost
{
public:
    void AddChartWaypointHere() override { waypoints.push_back({ CurLat, CurLon }); }
    void AddChartPointHere() override { points.push_back({ CurLat, CurLon }); }
    bool PenUpChecked() const override { return penUp; }
    int ChartViewCount() const override { return views; }
    void PlayChartletClip(const std::string& path) override { clips.push_back(path); }
    void StopChartletClip() override { ++stops; }
    void PrintChartletView(const QImage& image) override { printed = image.size(); }

    std::vector<TPosition> waypoints, points;
    std::vector<std::string> clips;
    bool penUp = false;
    int views = 1;
    int stops = 0;
    QSize printed;
};

// 100 x 100 pixels over 0.1 degree each way, north-west corner 50.1 N 1.1 W:
// 0.001 degree is one pixel.
ChartletReference Square()
{
    ChartletReference r;
    r.height = 100;
    r.width = 100;
    r.nwLat = 50.1;
    r.nwLon = 1.1;
    r.seLat = 50.0;
    r.seLon = 1.0;
    r.trackColour = 255;
    r.trackWidth = 1;
    return r;
}

void SetTrack(std::initializer_list<std::pair<double, double>> fixes)
{
    LogCount = 0;
    for (const auto& [lat, lon] : fixes) {
        ++LogCount;
        LogRecords[LogCount].lat = rtl::Real6(lat);
        LogRecords[LogCount].lon = rtl::Real6(lon);
    }
}

using Pixels = std::set<std::pair<int, int>>;

Pixels PixelsOf(const QImage& image, QRgb colour)
{
    Pixels found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                found.insert({ x, y });
    return found;
}

class CviewerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        ChartsFolder = dir.path() + "/";
        CTRef = new TCTRef;
        viewer = std::make_unique<TCviewer>(nullptr, &host);
    }

    void TearDown() override
    {
        viewer.reset();
        delete CTRef;
        CTRef = nullptr;
    }

    // A white bitmap `name`.bmp, with `reference` as its .ref when given.
    std::string WriteBitmap(const std::string& name, QSize size, const ChartletReference* reference)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        const std::string path = dir.path() + "/" + name + ".bmp";
        EXPECT_TRUE(image.save(qs(path), "BMP"));
        if (reference) {
            EXPECT_TRUE(WriteChartletReference(dir.path() + "/" + name + ".ref", *reference));
        }
        return path;
    }

    void OpenSquare(const ChartletReference& reference = Square())
    {
        viewer->OpenImage(WriteBitmap("plan", { 100, 100 }, &reference), false);
    }

    kvtest::TempDir dir;
    platform::ScriptedUi ui;
    FakeHost host;
    std::unique_ptr<TCviewer> viewer;
};

TEST_F(CviewerTest, OpeningABitmapWithItsReferenceEnablesPlotting)
{
    OpenSquare();
    EXPECT_TRUE(viewer->ImageLoaded());
    EXPECT_TRUE(viewer->ImageDrawable());
    EXPECT_TRUE(viewer->ReferenceValid());
    EXPECT_EQ(viewer->Reference(), Square());
    EXPECT_EQ(ls(viewer->windowTitle()), "Raster Image Viewer (plan)");
    EXPECT_EQ(viewer->Bitmap().size(), QSize(100, 100));
    EXPECT_TRUE(viewer->CreateWP->isEnabled());
    EXPECT_TRUE(viewer->COV->isEnabled());
    EXPECT_FALSE(viewer->KVChartPoint->isEnabled()); // no chart open for editing
    EXPECT_FALSE(viewer->PlaySoundFile->isEnabled());
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(CviewerTest, TrackHistoryIsDrawnOnTheImageAtItsPixels)
{
    OpenSquare();
    // (10, 10) -> (90, 10) -> (90, 90): one-pixel lines leave the last end out.
    SetTrack({ { 50.09, 1.09 }, { 50.09, 1.01 }, { 50.01, 1.01 } });
    viewer->ShowtrackhistoryClick();
    Pixels expected;
    for (int x = 10; x < 90; ++x)
        expected.insert({ x, 10 });
    for (int y = 10; y < 90; ++y)
        expected.insert({ 90, y });
    EXPECT_EQ(PixelsOf(viewer->Bitmap(), qRgb(255, 0, 0)), expected);
    EXPECT_EQ(PixelsOf(viewer->Bitmap(), qRgb(255, 255, 255)).size(), 100u * 100u - expected.size());

    // The newest fix continues the line; "Clear Track" takes it all away.
    SetTrack({ { 50.09, 1.09 }, { 50.09, 1.01 }, { 50.01, 1.01 }, { 50.01, 1.05 } });
    viewer->CTPlot();
    EXPECT_TRUE(PixelsOf(viewer->Bitmap(), qRgb(255, 0, 0)).count({ 60, 90 }));
    viewer->ClearTrackClick();
    EXPECT_TRUE(PixelsOf(viewer->Bitmap(), qRgb(255, 0, 0)).empty());
}

TEST_F(CviewerTest, FixCrossesAreTwelvePixelStrokesInTheColourAndAtTheOffsetsOfTheReference)
{
    ChartletReference shifted = Square();
    shifted.trackColour = 0xFF0000;
    shifted.latOffset = 60;
    shifted.lonOffset = 60;
    OpenSquare(shifted);
    viewer->VCross->setChecked(true);
    SetTrack({ { 50.05, 1.05 } });
    viewer->CTPlot(); // a single point: the cross alone
    // One pixel is 0.001 degree: offsets of 60 move the cross centre from
    // (50, 50) to (51, 49), east being to the right.
    Pixels expected;
    for (int d = -6; d < 6; ++d) {
        expected.insert({ 51 + d, 49 });
        expected.insert({ 51, 49 + d });
    }
    EXPECT_EQ(PixelsOf(viewer->Bitmap(), qRgb(0, 0, 255)), expected);
}

TEST_F(CviewerTest, AnEmptyTrackPlotsNothing)
{
    OpenSquare();
    SetTrack({});
    viewer->COV->trigger(); // "Track Vessel" on: history and newest fix
    viewer->CTPlot();
    EXPECT_TRUE(viewer->Timer1->enabled());
    EXPECT_EQ(PixelsOf(viewer->Bitmap(), qRgb(255, 255, 255)).size(), 100u * 100u);
    viewer->COV->trigger();
    EXPECT_FALSE(viewer->Timer1->enabled());
}

TEST_F(CviewerTest, EqualCornerLatitudesGiveNoPlottingAndNoPosition)
{
    ChartletReference flat = Square();
    flat.seLat = flat.nwLat;
    OpenSquare(flat);
    EXPECT_FALSE(viewer->ReferenceValid());
    EXPECT_FALSE(viewer->CreateWP->isEnabled());
    SetTrack({ { 50.05, 1.05 } });
    viewer->ShowtrackhistoryClick();
    viewer->CTPlot();
    viewer->Image1MouseDown(20, 30);
    viewer->Image1MouseUp(20, 30);
    EXPECT_EQ(ls(viewer->windowTitle()), "Raster Image Viewer (plan)");
    EXPECT_TRUE(PixelsOf(viewer->Bitmap(), qRgb(255, 0, 0)).empty());
}

TEST_F(CviewerTest, AChartletAcrossGreenwichIsValidAndMapsTheMeridianToItsMiddle)
{
    ChartletReference greenwich = Square();
    greenwich.nwLon = 0.5;
    greenwich.seLon = -0.5;
    OpenSquare(greenwich);
    EXPECT_TRUE(viewer->ReferenceValid());
    viewer->Image1MouseDown(50, 0);
    EXPECT_NEAR(viewer->CursorPosition().lon, 0.0, 1e-12);
    EXPECT_NEAR(viewer->CursorPosition().lat, 50.1, 1e-12);
}

TEST_F(CviewerTest, CursorCrossShowsThePositionAndErasesItselfWhenMoved)
{
    OpenSquare();
    viewer->Image1MouseDown(40, 60);
    EXPECT_EQ(viewer->CursorPoint(), (PixelPoint { 40, 60 }));
    EXPECT_NEAR(viewer->CursorPosition().lat, 50.04, 1e-9);
    EXPECT_NEAR(viewer->CursorPosition().lon, 1.06, 1e-9);
    EXPECT_EQ(ls(viewer->windowTitle()), CursorPositionText);
    // White inverted is black: the arms from 3 to 30 pixels.
    const Pixels black = PixelsOf(viewer->Bitmap(), qRgb(0, 0, 0));
    EXPECT_TRUE(black.count({ 43, 60 }));
    EXPECT_TRUE(black.count({ 40, 33 }));
    EXPECT_FALSE(black.count({ 40, 60 }));
    viewer->Image1MouseMove(70, 20);
    viewer->Image1MouseUp(70, 20);
    const Pixels moved = PixelsOf(viewer->Bitmap(), qRgb(0, 0, 0));
    EXPECT_FALSE(moved.count({ 43, 60 }));
    EXPECT_TRUE(moved.count({ 73, 20 }));
    // The same through the mouse on the image.
    const auto send = [&](QEvent::Type type, QPoint at) {
        QMouseEvent event(type, at, viewer->Image1->mapToGlobal(at), Qt::LeftButton,
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewer->Image1, &event);
    };
    send(QEvent::MouseButtonPress, { 10, 80 });
    send(QEvent::MouseMove, { 12, 84 });
    send(QEvent::MouseButtonRelease, { 12, 84 });
    EXPECT_EQ(viewer->CursorPoint(), (PixelPoint { 12, 84 }));
    EXPECT_NEAR(viewer->CursorPosition().lat, 50.016, 1e-9);
    // "Clear Track" removes the cross too.
    viewer->ClearTrackClick();
    EXPECT_TRUE(PixelsOf(viewer->Bitmap(), qRgb(0, 0, 0)).empty());
}

TEST_F(CviewerTest, ZoomStopsWithABeepAtBothEnds)
{
    ChartletReference tall = Square();
    tall.height = 16383;
    tall.width = 1;
    viewer->OpenImage(WriteBitmap("tall", { 1, 16383 }, &tall), false);
    viewer->ZoomInClick();
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(viewer->Zoom().height, 16383);
    EXPECT_EQ(viewer->Zoom().zoom, 1.0);

    OpenSquare();
    viewer->ZoomInClick();
    EXPECT_EQ(viewer->Zoom().height, 150);
    EXPECT_EQ(viewer->Zoom().zoom, 1.5);
    int steps = 0;
    while (ui.beeps() == 1 && steps < 100) {
        viewer->ZoomOutClick();
        ++steps;
    }
    EXPECT_EQ(ui.beeps(), 2);
    EXPECT_GE(viewer->Zoom().height, kMinDisplayedSide);
    // The mouse reports displayed pixels, the cursor is in image pixels.
    viewer->NormalClick();
    viewer->ZoomInClick();
    viewer->Image1MouseDown(75, 30);
    EXPECT_EQ(viewer->CursorPoint(), (PixelPoint { 50, 20 }));
    EXPECT_EQ(viewer->Bitmap().size(), QSize(100, 100));
}

TEST_F(CviewerTest, ChartPointsAreAddedOnlyWhenTheCursorMovedAndOneViewIsOpen)
{
    OpenSquare();
    ChartEditable = true;
    ChartPointCount = 1;
    ViewZoom = 1.0;
    viewer->Image1MouseDown(20, 20);
    viewer->Image1MouseUp(20, 20);
    viewer->KVChartPointClick();
    ASSERT_EQ(host.points.size(), 1u);
    EXPECT_NEAR(host.points[0].lat, 50.08, 1e-9);
    EXPECT_NEAR(host.points[0].lon, 1.08, 1e-9);
    // The cursor not moved since: nothing.
    viewer->KVChartPointClick();
    EXPECT_EQ(host.points.size(), 1u);
    // Two chart views: nothing.
    viewer->Image1MouseDown(30, 20);
    viewer->Image1MouseUp(30, 20);
    host.views = 2;
    viewer->KVChartPointClick();
    EXPECT_EQ(host.points.size(), 1u);
    host.views = 1;
    viewer->KVChartPointClick();
    EXPECT_EQ(host.points.size(), 2u);
    // A line from the last point to this one, in the track colour.
    EXPECT_TRUE(PixelsOf(viewer->Bitmap(), qRgb(255, 0, 0)).count({ 25, 20 }));
    // A waypoint goes to the main window at the cursor.
    viewer->CreateWPClick();
    ASSERT_EQ(host.waypoints.size(), 1u);
    EXPECT_NEAR(host.waypoints[0].lat, 50.08, 1e-9);
    EXPECT_NEAR(host.waypoints[0].lon, 1.07, 1e-9);
    // A fix in the track log stops digitising.
    SetTrack({ { 50.05, 1.05 } });
    viewer->Image1MouseDown(40, 20);
    viewer->KVChartPointClick();
    EXPECT_EQ(host.points.size(), 2u);
}

TEST_F(CviewerTest, AMalformedReferenceIsReportedAndTheImageShowsWithoutIt)
{
    const std::string path = WriteBitmap("bad", { 64, 48 }, nullptr);
    dir.write("bad.ref", "480\r\n0\r\n50.8\r\n");
    viewer->OpenImage(path, false);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].rfind("Reference file format error", 0), 0u) << ui.messages()[0];
    EXPECT_TRUE(viewer->ImageLoaded());
    EXPECT_FALSE(viewer->ReferenceValid());
    EXPECT_EQ(viewer->Zoom().width, 64);
    EXPECT_EQ(viewer->Zoom().height, 48);
    viewer->ZoomInClick();
    EXPECT_EQ(viewer->Zoom().width, 96);
}

TEST_F(CviewerTest, AJpegThatCannotBeDecodedIsReportedWithTheLibrarysMessage)
{
    const std::string path = dir.write("broken.jpg", "BM not a jpeg at all");
    viewer->OpenImage(path, false);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_NE(ui.messages()[0].find("Not a JPEG file"), std::string::npos) << ui.messages()[0];
    EXPECT_FALSE(viewer->ImageLoaded());
    EXPECT_FALSE(viewer->ZoomIn->isEnabled());
}

TEST_F(CviewerTest, APendingNameOpensItsJpegWhenShownAndItIsNeverDrawnOn)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    ASSERT_TRUE(image.save(qs(dir.path() + "/Harbour.jpg"), "JPG"));
    ChartletReference r = Square();
    r.height = 30;
    r.width = 40;
    r.audioFlag = 1;
    ASSERT_TRUE(WriteChartletReference(dir.path() + "/Harbour.ref", r));
    viewer->PendingName = "Harbour";
    viewer->show();
    EXPECT_EQ(viewer->ImagePath(), dir.path() + "/Harbour.jpg");
    EXPECT_TRUE(viewer->PendingName.empty());
    EXPECT_FALSE(viewer->ImageDrawable());
    EXPECT_TRUE(viewer->ReferenceValid());
    EXPECT_FALSE(viewer->CreateWP->isEnabled());
    EXPECT_FALSE(viewer->COV->isEnabled());
    // The clip beside it plays at once ("Auto Play Audio Clips" is checked).
    EXPECT_EQ(host.clips, std::vector<std::string> { dir.path() + "/Harbour.wav" });
    EXPECT_FALSE(SoundEnabled);
    viewer->StopAudioClipClick();
    EXPECT_EQ(host.stops, 1);
    SetTrack({ { 50.09, 1.09 }, { 50.08, 1.08 } });
    const QImage before = viewer->Bitmap();
    viewer->ShowtrackhistoryClick();
    viewer->Image1MouseDown(10, 10);
    EXPECT_EQ(viewer->Bitmap(), before);
    viewer->hide();
}

TEST_F(CviewerTest, ReferenceDialogEditsTheReferenceAndSavesItAfterYes)
{
    OpenSquare();
    ui.answerModal([](QDialog& d) {
        auto& dlg = static_cast<TCTRef&>(d);
        EXPECT_EQ(ls(dlg.CTname->text()), "plan");
        EXPECT_EQ(ls(dlg.NWLat->text()), L("50°06.00000N"));
        EXPECT_EQ(ls(dlg.NWLong->text()), L("001°06.00000W"));
        EXPECT_TRUE(dlg.TrackRed->isChecked());
        EXPECT_TRUE(dlg.TrackThin->isChecked());
        dlg.CTHeight->setValue(200);
        dlg.SELat->setText(qs(L("50°00.0N")));
        dlg.TrackGreen->setChecked(true);
        dlg.TrackThick->setChecked(true);
        dlg.LatOffs->setValue(-120);
        return platform::ModalResult::Ok;
    });
    ui.answerYes();
    viewer->RefInfoClick();
    ChartletReference expected = Square();
    expected.height = 200;
    expected.trackColour = 0x00FF00;
    expected.trackWidth = 2;
    expected.latOffset = -120;
    EXPECT_EQ(viewer->Reference(), expected);
    EXPECT_EQ(viewer->Bitmap().size(), QSize(100, 200));
    EXPECT_EQ(viewer->Zoom().height, 200);
    EXPECT_EQ(kvtest::ReadBytes(dir.path() + "/plan.ref"), FormatChartletReference(expected));
    EXPECT_EQ(ui.shown().back().text, "Save modified chartlet reference data file ?");
}

TEST_F(CviewerTest, AReferenceFileThatCannotBeSavedIsReported)
{
    const std::string path = WriteBitmap("locked", { 100, 100 }, nullptr);
    // A folder where the file should be: it can be neither read nor replaced.
    dir.makeFolder("locked.ref");
    viewer->OpenImage(path, false);
    ui.clear();
    ui.answerModal([](QDialog&) { return platform::ModalResult::Ok; });
    ui.answerYes();
    viewer->RefInfoClick();
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_EQ(ui.messages().back(), "Cannot write the reference file " + dir.path() + "/locked.ref");

    // Cancel changes nothing and asks nothing.
    ui.clear();
    const ChartletReference before = viewer->Reference();
    ui.answerModal([](QDialog& d) {
        static_cast<TCTRef&>(d).CTHeight->setValue(5);
        return platform::ModalResult::Cancel;
    });
    viewer->RefInfoClick();
    EXPECT_EQ(viewer->Reference(), before);
    EXPECT_TRUE(ui.allAnswersUsed());
}

TEST(CTRefTest, ClosingCompletesTheCornerTexts)
{
    platform::ScriptedUi ui;
    TCTRef dlg;
    dlg.SetControls(Square());
    dlg.NWLat->setText(qs(L("50°07.5N")));
    dlg.SELat->clear();
    dlg.NWLong->clear();
    dlg.SELong->setText(qs(L("001°1E")));
    dlg.done(QDialog::Rejected);
    EXPECT_EQ(ls(dlg.NWLat->text()), L("50°07.50000N"));
    EXPECT_EQ(ls(dlg.SELat->text()), L("00°00.00000N"));
    // An empty longitude reads back as the waypoint dialog writes it.
    EXPECT_EQ(ls(dlg.NWLong->text()), L("000°00.00000W"));
    EXPECT_EQ(ls(dlg.SELong->text()), L("001°10000000E"));
}

TEST(CTRefTest, TypingAidsPlaceTheDegreeSignAndThePoint)
{
    TCTRef dlg;
    dlg.NWLat->setText("50");
    dlg.NWLatChange();
    EXPECT_EQ(ls(dlg.NWLat->text()), L("50°"));
    EXPECT_EQ(dlg.NWLat->cursorPosition(), 3);
    dlg.SELong->setText(qs(L("001°15")));
    dlg.SELongChange();
    EXPECT_EQ(ls(dlg.SELong->text()), L("001°15."));
    EXPECT_EQ(dlg.SELong->cursorPosition(), 7);
    dlg.SetImage("photo", false);
    EXPECT_FALSE(dlg.NWLat->isEnabled());
    EXPECT_FALSE(dlg.LatOffs->isEnabled());
    EXPECT_TRUE(dlg.CTHeight->isEnabled());
}

} // namespace

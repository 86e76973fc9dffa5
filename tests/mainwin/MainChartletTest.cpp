// The raster image viewer inside the program: the demo chartlet opened from
// its chart waypoint, and the viewer's calls into the main window (clips,
// waypoints, printing).

#include "MainFormFixture.h"

#include "dialogs/Cviewer.h"
#include "dialogs/WPeditDlg.h"
#include "mainwin/MediaPlayer.h"
#include "nav/ChartWaypoints.h"
#include "platform/QtText.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

namespace
{

class FailingPlayer : public TMediaPlayer
{
public:
    void Play(const std::string& path) override { played.push_back(path); }
    std::string FileName() const override { return played.empty() ? std::string() : played.back(); }
    void Stop() override { ++stops; }

    std::vector<std::string> played;
    int stops = 0;
};

class MainChartletTest : public MainFormTest
{
protected:
    // A white bitmap "<name>.bmp" in the charts folder with a reference that
    // says a clip lies beside it.
    std::string WriteChartletWithClip(const std::string& name)
    {
        QImage image(60, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        const std::string path = dir.path() + "/" + name + ".bmp";
        EXPECT_TRUE(image.save(qs(path), "BMP"));
        ChartletReference r;
        r.height = 40;
        r.width = 60;
        r.nwLat = 50.1;
        r.nwLon = 1.1;
        r.seLat = 50.0;
        r.seLon = 1.0;
        r.audioFlag = 1;
        EXPECT_TRUE(WriteChartletReference(dir.path() + "/" + name + ".ref", r));
        return path;
    }
};

TEST_F(MainChartletTest, TheDemoEntranceWaypointOpensItsChartletInTheViewer)
{
    const std::string demo = std::string(KV_SOURCE_DIR) + "/demo/";
    for (const char* name : { "zudeve.cfg", "charts/harbour.cht", "charts/harbour.cfg", "charts/harbour.wpt",
             "charts/Entrance.jpg", "charts/Entrance.ref" })
        dir.write(name, kvtest::ReadBytes(demo + name));
    Start();
    FirstTick();
    ASSERT_EQ(CurrentChartName, "harbour");

    // The waypoint nearest to the working position is the chartlet mark.
    CurLat = 50.7925;
    CurLon = 1.3120;
    ui.answerModal([](QDialog& d) {
        auto& dlg = static_cast<TWPeditDlg&>(d);
        dlg.show();
        EXPECT_EQ(ls(dlg.WPdesc->text()), "Entrance");
        EXPECT_EQ(dlg.SymbolCode(), 32);
        dlg.BitBtn2->click(); // Cancel: the chartlet opens all the same
        return platform::ModalResult::Cancel;
    });
    MainForm->EditChartWaypoint1Click();
    EXPECT_TRUE(ui.allAnswersUsed());

    ASSERT_TRUE(Cviewer->isVisible());
    EXPECT_EQ(Cviewer->ImagePath(), ChartsFolder + "Entrance.jpg");
    EXPECT_EQ(ls(Cviewer->windowTitle()), "Raster Image Viewer (Entrance)");
    EXPECT_TRUE(Cviewer->ReferenceValid());
    EXPECT_FALSE(Cviewer->ImageDrawable());
    EXPECT_EQ(Cviewer->Reference(), ReadChartletReference(ChartsFolder + "Entrance.ref").reference);
    EXPECT_EQ(Cviewer->Image1->size(), QSize(640, 480));
    EXPECT_TRUE(Cviewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    // Pressing on the fairway buoy shows its position.
    const PixelPoint buoy = PositionToPixel(Cviewer->Reference(), 50.7860, 1.3000);
    Cviewer->Image1MouseDown(buoy.x, buoy.y);
    Cviewer->Image1MouseUp(buoy.x, buoy.y);
    EXPECT_NEAR(Cviewer->CursorPosition().lat, 50.7860, 0.02 / 480);
    EXPECT_NEAR(Cviewer->CursorPosition().lon, 1.3000, 0.042 / 640);
    EXPECT_EQ(ls(Cviewer->windowTitle()), CursorPositionText);

    // A waypoint there goes through the main window's "Add Chart Waypoint".
    ui.answerModal([](QDialog&) { return platform::ModalResult::Cancel; });
    Cviewer->CreateWPClick();
    EXPECT_TRUE(ui.allAnswersUsed());
    EXPECT_NEAR(CurLat, 50.7860, 0.02 / 480);
    Cviewer->hide();
}

TEST_F(MainChartletTest, AMissingClipTurnsSoundBackOn)
{
    Start();
    auto player = std::make_shared<FailingPlayer>();
    MainForm->SetMediaPlayer(player);
    ChartsFolder = dir.path() + "/";
    SoundEnabled = true;
    Cviewer->OpenImage(WriteChartletWithClip("quay"), false);
    EXPECT_TRUE(player->played.empty());
    EXPECT_TRUE(SoundEnabled);
    EXPECT_EQ(ls(MainForm->StatusLine->text()), "Sound file not found: quay.wav");
}

TEST_F(MainChartletTest, AClipThatCannotBePlayedTurnsSoundBackOnAndStopWorksToo)
{
    Start();
    auto player = std::make_shared<FailingPlayer>();
    MainForm->SetMediaPlayer(player);
    dir.write("pier.wav", "not sound");
    Cviewer->OpenImage(WriteChartletWithClip("pier"), false);
    ASSERT_EQ(player->played.size(), 1u);
    EXPECT_FALSE(SoundEnabled); // playing
    player->OnFailed("not a playable sound file");
    EXPECT_TRUE(SoundEnabled);

    Cviewer->PlaySoundFileClick();
    EXPECT_FALSE(SoundEnabled);
    Cviewer->StopAudioClipClick();
    EXPECT_EQ(player->stops, 1);
    EXPECT_TRUE(SoundEnabled);
    player->OnFinished();
    EXPECT_TRUE(SoundEnabled);
}

TEST_F(MainChartletTest, PrintingAsksThePrintDialogFirst)
{
    Start();
    Cviewer->OpenImage(WriteChartletWithClip("quay"), false);
    ui.answerPrint(false);
    Cviewer->PrintChartletViewClick();
    EXPECT_TRUE(ui.allAnswersUsed());
    EXPECT_EQ(ui.shown().back().kind, "print");
}

TEST_F(MainChartletTest, PenUpAndChartViewsComeFromTheMainWindow)
{
    Start();
    TViewerHost& host = *MainForm;
    MainForm->PenUp1->setChecked(true);
    EXPECT_TRUE(host.PenUpChecked());
    MainForm->PenUp1->setChecked(false);
    EXPECT_FALSE(host.PenUpChecked());
    EXPECT_EQ(host.ChartViewCount(), 0);
    AddView();
    AddView();
    EXPECT_EQ(host.ChartViewCount(), 2);
}

} // namespace

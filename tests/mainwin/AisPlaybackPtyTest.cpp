// AIS log playback beside the NMEA interface, end to end in the shown main
// window: COM4 is a pseudo-terminal with an autopilot at its other end, a
// route is active and XTE and APB output is on. A played-back position never
// reaches the port, the interface cannot be opened while a log plays, the
// navigation panel does not keep a played-back fix's figures, and a log
// recorded as a shore station does not leave the program one.

#include "MainFormFixture.h"

#include "mainwin/NeedleGauge.h"
#include "nav/NmeaTemplate.h"
#include "platform/QtHint.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"
#include "support/AisSentences.h"
#include "support/PtyPair.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>

namespace
{

// "$GPGGA,<time>,<lat>,N,<lon>,W,<quality>,..." with its checksum.
std::string Gga(
    const std::string& time, const std::string& lat, const std::string& lonWest, char quality = '1')
{
    const std::string body
        = "GPGGA," + time + "," + lat + ",N," + lonWest + ",W," + quality + ",08,1.0,10.0,M,47.0,M,,";
    return "$" + body + NmeaChecksum(body, 0);
}

class AisPlaybackPtyTest : public MainFormTest
{
protected:
    // The program on COM4 with XTE and APB output, shown with a chart view,
    // the interface closed, and one waypoint 6' north of 50° N on the
    // meridian of 1° W.
    void StartOnARoute()
    {
        dir.makeFolder("logs");
        autopilot.MapAs(4);
        WriteAutopilotConfig();
        Start();
        MainForm->SecsTimer->setEnabled(false);
        MainForm->show();
        MainForm->CreateChartView("harbour");
        FollowOneWaypointNorth();
        UtcHourOffset = 0;
        ui.clear();
    }

    // A recording in the logs folder: a vessel heard, then the fixes.
    std::string WriteLog(const std::vector<std::string>& fixes)
    {
        std::string bytes = "AIS Log Date : 01-12-26\r\n";
        bytes += kvtest::AivdmSentence(kvtest::PositionReportPayload(235000001, 50.05, -1.02)) + "\r\n";
        for (const std::string& fix : fixes)
            bytes += fix + "\r\n";
        return dir.write("logs/01-12-26.AIS", bytes);
    }

    void StartPlayback(const std::string& path)
    {
        ui.answerFile(path);
        MainForm->PlayAISlog->click();
        ASSERT_TRUE(AisPlayback);
    }

    // Plays `ticks` lines, or to the end of the file with -1.
    void Play(int ticks = -1)
    {
        for (int i = 0; AisPlayback && (ticks < 0 || i < ticks) && i < 100; ++i)
            emit MainForm->AISplayTime->timeout();
    }

    // The tool button's stop, answered with OK.
    void StopByTheButton()
    {
        ASSERT_TRUE(MainForm->PlayAISlog->isEnabled());
        ui.answerOk();
        MainForm->PlayAISlog->click();
        ASSERT_FALSE(AisPlayback);
    }

    // The interface opened with the tool button.
    void OpenTheInterface()
    {
        MainForm->NMEAServerOnOff->click();
        ASSERT_TRUE(NmeaOpen);
    }

    // Live fixes on the leg through the port: the first makes no leg, the
    // second is on the track 0.6' along it.
    void ExpectLiveFixesFollowed()
    {
        EXPECT_EQ(FixThrough(autopilot, Gga("120000", "5000.000", "00100.000"), 0), "");
        EXPECT_NEAR(CurLat, 50.0, 1e-9);
        const std::string onTrack = "$ECXTE,A,A,0.00,R,N,A*0C\r\n"
                                    "$ECAPB,A,A,0.00,R,N,,,,,OUTER,000,T,000,T,A*63\r\n";
        EXPECT_EQ(FixThrough(autopilot, Gga("120100", "5000.600", "00100.000"), onTrack.size()), onTrack);
        EXPECT_NEAR(CurLat, 50.01, 1e-9);
        EXPECT_NEAR(CurLon, 1.0, 1e-9);
        EXPECT_EQ(ls(MainForm->GPSIndicator->text()), "GPS");
    }

    kvtest::PtyPair autopilot;
};

// Fixes 0.6' east of the leg, closing on the waypoint: live, each after the
// first would send a steer-left XTE and APB.
const std::vector<std::string> kOffTheLeg
    = { Gga("120000", "5000.000", "00059.400"), Gga("120100", "5000.600", "00059.400"),
          Gga("120200", "5001.200", "00059.400"), Gga("120300", "5001.800", "00059.400") };

TEST_F(AisPlaybackPtyTest, NoPlayedBackFixReachesThePortAndTheInterfaceStaysShutDuringPlayback)
{
    StartOnARoute();
    StartPlayback(WriteLog(kOffTheLeg));
    Play(3); // the header, the vessel and the first fix
    EXPECT_FALSE(MainForm->NMEAServerOnOff->isEnabled());
    EXPECT_FALSE(MainForm->Nserver->isEnabled()) << "Options > NMEA Interface is greyed as the button is";

    // Every way of opening the interface is refused: the tool button, the
    // menu item and the command itself.
    MainForm->NMEAServerOnOff->click();
    MainForm->Nserver->trigger();
    EXPECT_FALSE(NmeaOpen);
    Play(2);
    EXPECT_NEAR(CurLat, 50.02, 1e-9) << "played-back fixes move the own vessel";
    EXPECT_EQ(autopilot.Read(1, 200), "") << "nothing worked from a played-back fix is sent";
    MainForm->NMEAServerOnOffClick();
    EXPECT_FALSE(NmeaOpen);
    EXPECT_FALSE(MainForm->ComPortOpen());
    EXPECT_FALSE(MainForm->Nserver->isChecked());
    EXPECT_FALSE(MainForm->NMEAServerOnOff->isChecked());
    EXPECT_EQ(ui.messages(), std::vector<std::string> {});

    // The play button still stops the playback, and the interface opens again.
    StopByTheButton();
    EXPECT_TRUE(MainForm->NMEAServerOnOff->isEnabled());
    EXPECT_TRUE(MainForm->Nserver->isEnabled());
    MainForm->Nserver->trigger();
    EXPECT_TRUE(NmeaOpen);
    EXPECT_TRUE(MainForm->Nserver->isChecked());
    EXPECT_FALSE(MainForm->PlayAISlog->isEnabled());
    EXPECT_EQ(autopilot.Read(1, 100), "");
}

// How a playback comes to its end: played to the end of the file (false) or
// stopped with the play button (true).
class PlaybackEndingTest : public AisPlaybackPtyTest, public ::testing::WithParamInterface<bool>
{
protected:
    void EndThePlayback()
    {
        if (GetParam())
            StopByTheButton();
        else
            Play();
        ASSERT_FALSE(AisPlayback);
    }
};

INSTANTIATE_TEST_SUITE_P(Endings, PlaybackEndingTest, ::testing::Values(false, true),
    [](const ::testing::TestParamInfo<bool>& info) {
        return info.param ? "StoppedByTheUser" : "PlayedToTheEnd";
    });

// A shore station's recording: GGA quality 5 at the station's position,
// 1.2' west of the leg.
const std::vector<std::string> kStation
    = { Gga("120000", "5003.000", "00101.200", '5'), Gga("120100", "5003.000", "00101.200", '5') };

TEST_P(PlaybackEndingTest, MonitorModeEndsWithThePlaybackThatSetItAndLiveFixesAreFollowed)
{
    StartOnARoute();
    StartPlayback(WriteLog(kStation));
    Play(4); // the header, the vessel and both fixes
    ASSERT_TRUE(MainForm->AISMonitor->isChecked());
    ASSERT_EQ(ls(MainForm->GPSIndicator->text()), "MON");
    EndThePlayback();
    EXPECT_FALSE(MainForm->AISMonitor->isChecked());
    EXPECT_EQ(ls(Hint(MainForm->GPSIndicator)), "GPS and position data status|");

    OpenTheInterface();
    ExpectLiveFixesFollowed();
}

TEST_P(PlaybackEndingTest, NavigationPanelIsClearedAsAtStartWhenThePlaybackIsOver)
{
    StartOnARoute();
    StartPlayback(WriteLog(kOffTheLeg));
    Play(5);
    // Meanwhile the panel shows the played-back fixes' figures.
    ASSERT_NE(ls(MainForm->SpeedOG->text()), "");
    ASSERT_NE(ls(MainForm->RngToWp->text()), "");
    ASSERT_NE(ls(MainForm->XTEScale->text()), "");
    EndThePlayback();
    for (const QLabel* readout : { MainForm->SpeedOG, MainForm->CourseOG, MainForm->SpeedMG,
             MainForm->RngToWp, MainForm->BearingToWP, MainForm->TimeToWP, MainForm->XTEScale })
        EXPECT_EQ(ls(readout->text()), "") << readout->objectName().toStdString();
    EXPECT_EQ(MainForm->XTerror->progress(), 0);
    EXPECT_EQ(MainForm->XTerror->backColor(), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(ls(MainForm->StatusLine->text()), "");
}

// A recording that sails on to the waypoint and past the route's end: its
// arrival is the recorded boat's, not this one's. The own vessel's position
// and its leg come back with its track, and the live fixes are steered for
// the waypoint as before the playback.
TEST_P(PlaybackEndingTest, LegAndPositionComeBackAsTheyWereBeforeThePlayback)
{
    StartOnARoute();
    const double lat = CurLat;
    const double lon = CurLon;
    const double reference = XteRefCourse;
    StartPlayback(WriteLog({ Gga("120000", "5005.000", "00100.000"), Gga("120100", "5006.000", "00100.000"),
        Gga("120200", "5007.000", "00100.000") }));
    Play(4); // the header, the vessel and two fixes: at the waypoint
    ASSERT_NE(ActiveWaypoint, 1) << "the recorded boat arrived";
    EndThePlayback();
    EXPECT_EQ(ActiveWaypoint, 1);
    EXPECT_EQ(ArrivedWaypoint, 0);
    EXPECT_EQ(XteRefCourse, reference);
    EXPECT_EQ(CurLat, lat);
    EXPECT_EQ(CurLon, lon);

    OpenTheInterface();
    ExpectLiveFixesFollowed();
}

TEST_F(AisPlaybackPtyTest, NoPlaybackStartsBeforeTheInterfaceOpensAtStart)
{
    dir.makeFolder("logs");
    autopilot.MapAs(4);
    WriteConfig("zudeve.cfg", [] {
        NmeaStartMode = "Auto";
        ComPort = 4;
        BaudRate = 4800;
    });
    Start();
    MainForm->SecsTimer->setEnabled(false);
    MainForm->show();
    EXPECT_FALSE(MainForm->PlayAISlog->isEnabled());
    ui.answerFile(WriteLog(kOffTheLeg));
    MainForm->PlayAISlog->click();
    EXPECT_FALSE(AisPlayback);

    FirstTick();
    EXPECT_TRUE(MainForm->ComPortOpen());
    EXPECT_FALSE(MainForm->PlayAISlog->isEnabled());
}

TEST_F(AisPlaybackPtyTest, MonitorModeNeverSurvivesTheInterfaceBeingOpened)
{
    StartOnARoute();
    MainForm->AISMonitor->setChecked(true);
    OpenTheInterface();
    EXPECT_FALSE(MainForm->AISMonitor->isChecked());
    ExpectLiveFixesFollowed();
}

} // namespace

// A navigator's day end to end: korvex starts in a copy of the demo folder
// with its chart and route, a pseudo-terminal stands in for COM1, the
// receiver's GGA and RMC sentences with AIS traffic come in along the first
// leg, the autopilot sentences go back out, the anchorage is reached and
// the fairway buoy taken, the voice prompts and the AIS announcement are
// heard, a manual fix goes into the survey log, the log is plotted, the
// preferences change, the route goes to the autopilot and the program is
// quit. What the day left on disk is read back field by field.

#include "MainFormFixture.h"

#include "chartwin/Childwin.h"
#include "chartwin/ViewList.h"
#include "dialogs/GlobalDlg.h"
#include "nav/AisDatabase.h"
#include "nav/AisRecord.h"
#include "nav/LocalClock.h"
#include "nav/NmeaTemplate.h"
#include "nav/TrackLog.h"
#include "platform/QtText.h"
#include "platform/QtTimer.h"
#include "rtl/TextFile.h"
#include "support/AisSentences.h"
#include "support/TempDir.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QToolButton>
#include <cmath>

namespace
{

using Lines = std::vector<std::string>;

// Monday 7 December 2026, 09:00:30 at the start, five minutes on at each
// fix: half a minute after the receiver's UTC times, which stamp the fixes
// ("Log GPS UTC time if available" is on by default).
int gStep = 0;

LocalDateTime DayClock()
{
    return LocalDateTime {
        .year = 2026, .month = 12, .day = 7, .hour = 9, .minute = 5 * gStep, .second = 30
    };
}

// "$" + body + "*hh".
std::string Sentence(const std::string& body)
{
    return "$" + body + NmeaChecksum(body, 1);
}

// Degrees of a sentence's "ddmm.mmm" or "dddmm.mmm" field.
double Degrees(const std::string& field, int degreeDigits)
{
    return std::stod(field.substr(0, degreeDigits)) + std::stod(field.substr(degreeDigits)) / 60.0;
}

class DayAtSeaTest : public MainFormTest
{
protected:
    void TearDown() override
    {
        SetLocalClock({});
        MainFormTest::TearDown();
    }
};

TEST_F(DayAtSeaTest, FromStartToQuitAlongTheDemoRoute)
{
    gStep = 0;
    SetLocalClock(DayClock);
    CopyDemoFolder();
    // The voice prompts the day plays come with the demo folder.
    for (const char* name : { "left.wav", "right.wav", "OnTrack.wav", "approach.wav", "Starboard.wav" })
        ASSERT_EQ(dir.read(name).substr(0, 4), "RIFF") << name;
    const std::string configAtStart = dir.read("zudeve.cfg");
    kvtest::PtyPair com1; // the demo configuration's port, at 4800 baud
    com1.MapAs(1);

    // 1. Start: the demo chart in a view and the demo route, the first leg
    // from the configured position (the harbour entrance) to the anchorage.
    Start();
    MainForm->show();
    auto player = std::make_shared<FakePlayer>();
    MainForm->SetMediaPlayer(player);
    FirstTick();
    MainForm->SecsTimer->setEnabled(false); // the test runs the ticks itself
    ASSERT_EQ(chartwin::ViewCount(), 1);
    TMDIChild* view = chartwin::View(0);
    EXPECT_TRUE(view->FIsAisView);
    ASSERT_EQ(RouteName, "approach");
    ASSERT_EQ(RouteCount, 6);
    EXPECT_EQ(ActiveWaypoint, 1);
    EXPECT_EQ(ls(MainForm->WPName->currentText()), "Anchorage               ");
    EXPECT_TRUE(MainForm->ProcAis->isChecked());
    EXPECT_TRUE(MainForm->UpdateAISDatabase->isChecked());
    EXPECT_EQ(dir.read("logs/07-12-26.txt"), "Log Date : 07-12-26\r\n@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y\r\n");
    EXPECT_EQ(dir.read("logs/07-12-26.AIS"), "AIS Log Date : 07-12-26\r\n");
    EXPECT_EQ(dir.read("KVAIS.ADB"), "");

    // Setting up in the preferences: the autopilot takes HSC and BOD as
    // well as XTE and APB; the steering, waypoint and AIS voices on.
    ui.answerModal([](QDialog& d) {
        auto& g = static_cast<TGlobalDlg&>(d);
        EXPECT_TRUE(g.sendXTE->isChecked() && g.sendAPB->isChecked());
        g.sendHSC->setChecked(true);
        g.SendBOD->setChecked(true);
        g.Voice->setChecked(true);
        g.WPVoice->setChecked(true);
        g.AISvoice->setChecked(true);
        return platform::ModalResult::Ok;
    });
    MainForm->Global1->trigger();
    EXPECT_TRUE(
        OutHSC && OutBOD && GlobalSettings.Voice && GlobalSettings.WPVoice && GlobalSettings.AISvoice);
    MainForm->NMEAServerOnOffClick();
    ASSERT_TRUE(NmeaOpen);
    MainForm->FixTimer->setEnabled(false);
    EXPECT_EQ(ui.messages(), (Lines { "Total chart points = 48", "NMEA Interface Open!" }));
    ui.clear();
    ui.strictMessages = true; // from here on no box

    // 2-5. Along the first leg. Each fix: the receiver's RMC (the GGA is
    // the selected sentence: the RMC is passed over), the AIS lines of the
    // fix, then the GGA that the fix tick takes.
    const std::string vesselPosition
        = kvtest::AivdmSentence(kvtest::PositionReportPayload(235009001, 50.805, -1.32));
    const Lines vesselStatic = kvtest::AivdmFragments(
        kvtest::StaticDataPayload(235009001, "SOLENT TRADER", "MXYZ7", 70, 48), 2, "3");
    struct Fix {
        const char* time;
        const char* lat;
        const char* lon;
        Lines ais; // AIS lines before the fix's sentences
        std::string sent; // what the autopilot receives after the fix
        std::string played; // the prompts the fix plays
        bool arrival = false; // the fix inside the arrival circle
    };
    const Fix fixes[] = {
        // At the entrance, the configured position: no leg yet.
        { "090500", "5048.000", "00118.000", {}, "", "" },
        // South of the first leg: steer right. The heading is the bearing
        // to the anchorage to a tenth of a degree (no tidal stream).
        { "091000", "5047.778", "00118.840", {},
            "$ECXTE,A,A,0.03,R,N,A*0F\r\n"
            "$ECAPB,A,A,0.03,R,N,,,,,ANCHOR,252,T,252,T,A*20\r\n"
            "$ECHSC,252.1,T,252.1,M*47\r\n"
            "$ECBOD,252,T,252,M,ANCHOR,*4F\r\n",
            "OnTrack.wav" },
        // A vessel heard NNW, on the starboard beam of the course made good
        // through the second fix (247); then north of the leg, 0.31 nm
        // short of the anchorage: steer left.
        { "091500", "5047.676", "00119.680", { vesselPosition, vesselStatic[0], vesselStatic[1] },
            "$ECXTE,A,A,0.06,L,N,A*14\r\n"
            "$ECAPB,A,A,0.06,L,N,,,,,ANCHOR,240,T,240,T,A*3B\r\n"
            "$ECHSC,239.6,T,239.6,M*47\r\n"
            "$ECBOD,240,T,240,M,ANCHOR,*4F\r\n",
            "Starboard.wav left.wav" },
        // Inside the anchorage's arrival circle: on to the fairway buoy,
        // with the approach prompt after the cue. The second leg runs from
        // the anchorage (105°), and the boat lies 0.05 nm north of it. Only
        // the XTE and the heading of this fix are looked at here.
        { "092000", "5047.550", "00119.980", {}, "$ECXTE,A,A,0.05,R,N,A*09\r\n", "OnTrack.wav approach.wav",
            true },
        // A little south of the second leg, inside the deadband: everything
        // names the buoy, the anchorage is the origin, and BOD carries the
        // leg's bearing from it.
        { "092500", "5047.295", "00118.990", {},
            "$ECXTE,A,A,0.03,L,N,A*11\r\n"
            "$ECAPB,A,A,0.03,L,N,,,,,FAIRWA,102,T,102,T,A*2D\r\n"
            "$ECHSC,102.2,T,102.2,M*47\r\n"
            "$ECBOD,105,T,105,M,FAIRWA,ANCHOR*45\r\n",
            "OnTrack.wav" },
    };
    Lines ggas;
    for (const Fix& fix : fixes) {
        ++gStep;
        const std::string rmc = Sentence(
            std::string("GPRMC,") + fix.time + ",A," + fix.lat + ",N," + fix.lon + ",W,6.5,250.0,071226,,,A");
        const std::string gga = Sentence(std::string("GPGGA,") + fix.time + "," + fix.lat + ",N," + fix.lon
            + ",W,1,08,1.0,10.0,M,47.0,M,,");
        ggas.push_back(gga);
        std::string before = rmc + "\r\n";
        for (const std::string& line : fix.ais)
            before += line + "\r\n";
        com1.Write(before);
        player->played.clear();
        std::string sent = FixThrough(com1, gga, fix.sent.size());
        EXPECT_EQ(sent, fix.sent) << gga;
        if (fix.arrival) {
            // The APB, HSC and BOD after the XTE, line by line.
            std::string rest;
            for (int line = 0; line < 3;) {
                const std::string more = com1.Read(1);
                if (more.empty())
                    break;
                rest += more;
                line += more == "\n";
            }
            EXPECT_NE(rest.find("\r\n$ECHSC,107.3,T,107.3,M*47\r\n"), std::string::npos) << rest;
            EXPECT_EQ(ActiveWaypoint, 2);
        }
        std::string played;
        for (const std::string& name : player->played)
            played += (played.empty() ? "" : " ") + name;
        EXPECT_EQ(played, fix.played) << gga;
        EXPECT_EQ(FixStatus, "$GPGGA");
    }
    // 4. The fairway buoy is the active waypoint, in the list too.
    EXPECT_EQ(ActiveWaypoint, 2);
    EXPECT_EQ(ls(MainForm->WPName->currentText()), "Fairway                 ");
    EXPECT_EQ(LogCount, 5);

    // 6. The vessel announced by its sector and drawn in the AIS view: a red
    // lollipop (yellow when selected) at its position.
    EXPECT_EQ(LastAnnouncedName, "Starboard");
    ASSERT_EQ(AisTargetCount, 1);
    const nav::AisTargetRecord target = AisTargets[1];
    EXPECT_EQ(target.mmsi, 235009001);
    EXPECT_EQ(target.name, "SOLENT TRADER@@@@@@@");
    view->ShowAIS->click();
    MainForm->RefreshAllViews();
    const auto seenAround = [&](double lat, double lonWest, const std::vector<QRgb>& colours, int r) {
        int32_t x = 0, y = 0;
        if (!view->Project(lat, lonWest, x, y))
            return false;
        const QImage screen = view->Image1->grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx) {
                if (!screen.rect().contains(x + dx, y + dy))
                    continue;
                const QRgb at = screen.pixel(x + dx, y + dy) & 0xFFFFFF;
                if (std::find(colours.begin(), colours.end(), at) != colours.end())
                    return true;
            }
        return false;
    };
    EXPECT_TRUE(
        seenAround(target.latitude / 600000.0, -target.longitude / 600000.0, { 0xFF0000, 0xFFFF00 }, 2));

    // 7. A manual fix five minutes on: the last sentence is taken again, an
    // event in the survey log, and the autopilot gets the same sentences.
    ++gStep;
    MainForm->FixBtn->click();
    EXPECT_EQ(com1.Read(fixes[4].sent.size()), fixes[4].sent);
    EXPECT_EQ(LogCount, 6);

    // 8. The survey log plotted: a magenta point at each record.
    MainForm->RefreshAllViews();
    for (const Fix& fix : fixes) {
        EXPECT_TRUE(seenAround(Degrees(fix.lat, 2), Degrees(fix.lon, 3), { 0xFF00FF }, 1)) << fix.time;
    }

    // 9. Preferences: kilometres, and the "Black on White" colours.
    ui.answerModal([](QDialog& d) {
        auto& g = static_cast<TGlobalDlg&>(d);
        g.Kilo->click();
        g.Defaults->setCurrentIndex(3);
        g.DefaultsClick();
        return platform::ModalResult::Ok;
    });
    MainForm->Global1->trigger();
    EXPECT_DOUBLE_EQ(DistanceFactor, 1.852);
    EXPECT_EQ(BackgroundColour, 0xFFFFFF);
    EXPECT_EQ(ForegroundColour, 0x000000);

    // 10. The route to the autopilot: every waypoint in route order, and
    // their count in a box.
    ui.strictMessages = false;
    MainForm->SendWPS->click();
    EXPECT_EQ(com1.Read(kDemoRouteWpl.size()), kDemoRouteWpl);
    EXPECT_EQ(ui.messages(), Lines { "  6 Waypoints sent" });

    // 11. Quit, which closes the interface and writes the configuration.
    ui.answerYes();
    EXPECT_TRUE(MainForm->close());
    EXPECT_FALSE(NmeaOpen);
    EXPECT_TRUE(ui.allAnswersUsed());

    // The configuration: what the day changed, line by line. The view
    // followed the vessel to its last position; the preferences gave
    // kilometres and black on white with the text, track and tide in the
    // foreground colour; the folders left empty are written out in full.
    {
        Lines expected = kvtest::CrLfLines(configAtStart);
        ASSERT_EQ(expected.size(), 47u);
        expected[2 - 1] = " 5.07882500000000E+0001";
        expected[3 - 1] = " 1.31650000000000E+0000";
        expected[7 - 1] = " 1.85200000000000E+0000";
        expected[13 - 1] = "16777215";
        expected[14 - 1] = "0";
        expected[15 - 1] = "0";
        expected[16 - 1] = "15";
        expected[17 - 1] = "3";
        expected[18 - 1] = "111";
        expected[36 - 1] = app + "logs/";
        expected[45 - 1] = app + "charts/";
        const Lines saved = kvtest::CrLfLines(dir.read("zudeve.cfg"));
        EXPECT_EQ(saved, expected);
        EXPECT_EQ(saved.at(12 - 1), "approach");
    }

    // The track log: the six fixes, the manual one at the last position
    // with the time of the sentence it took again.
    {
        const std::string bytes = dir.read("logs/07-12-26.log");
        ASSERT_EQ(bytes.size(), kTrackLogSize);
        ResetNavState();
        DecodeTrackLog(bytes);
        ASSERT_EQ(LogCount, 6);
        for (int i = 1; i <= 6; ++i) {
            const Fix& fix = fixes[std::min(i, 5) - 1];
            EXPECT_NEAR(static_cast<double>(LogRecords[i].lat), Degrees(fix.lat, 2), 1e-9) << i;
            EXPECT_NEAR(static_cast<double>(LogRecords[i].lon), Degrees(fix.lon, 3), 1e-9) << i;
            EXPECT_NEAR(static_cast<double>(LogRecords[i].time), 9 * 60 + 5 * std::min(i, 5), 1e-9) << i;
        }
    }

    // The survey log: a record a fix under the demo template (number,
    // date, time, position, quality, course and speed made good, velocity
    // made good to the waypoint, cross-track error, position in degrees),
    // the manual fix as event 1. The first fix has no course made good yet.
    {
        const std::string text = dir.read("logs/07-12-26.txt");
        EXPECT_EQ(text,
            "Log Date : 07-12-26\r\n"
            "@f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y\r\n"
            "00001,07-12-26,090500,5048.0000,N,00118.0000,W,1-08,,0.00,********,0.00,50.80000000:-1."
            "30000000\r\n"
            "00002,07-12-26,091000,5047.7780,N,00118.8400,W,1-08,247,6.91,6.88 "
            "Kn,-0.03,50.79630000:-1.31400000\r\n"
            "00003,07-12-26,091500,5047.6760,N,00119.6800,W,1-08,253,6.66,6.49 "
            "Kn,0.06,50.79460000:-1.32800000\r\n"
            "00004,07-12-26,092000,5047.5500,N,00119.9800,W,1-08,250,5.32,********,-0.05,50.79250000:-1."
            "33300000\r\n"
            "00005,07-12-26,092500,5047.2950,N,00118.9900,W,1-08,191,1.97,0.03 "
            "Kn,0.03,50.78825000:-1.31650000\r\n"
            "*1\r\n"
            "00006,07-12-26,092500,5047.2950,N,00118.9900,W,1-08,131,3.47,3.04 "
            "Kn,0.03,50.78825000:-1.31650000\r\n");
        // Field by field against what came in and what went out: the time
        // and position of the fix's sentence, the cross-track error of its
        // XTE sentence (positive: steer left).
        const Lines lines = kvtest::CrLfLines(text);
        ASSERT_EQ(lines.size(), 9u);
        for (int i = 1; i <= 6; ++i) {
            const Lines record = CommaFields(lines[i < 6 ? i + 1 : 8]);
            const Lines gga = CommaFields(ggas[std::min(i, 5) - 1]);
            ASSERT_EQ(record.size(), 13u) << i;
            EXPECT_EQ(std::stoi(record[0]), i);
            EXPECT_EQ(record[2], gga[1]);
            EXPECT_EQ(record[3], gga[2] + "0");
            EXPECT_EQ(record[4], gga[3]);
            EXPECT_EQ(record[5], gga[4] + "0");
            EXPECT_EQ(record[6], gga[5]);
            EXPECT_EQ(record[7], gga[6] + "-" + gga[7]);
            const std::string& xte = fixes[std::min(i, 5) - 1].sent;
            if (i > 1) {
                EXPECT_EQ(std::stod(record[11]), std::stod(xte.substr(11, 4)) * (xte[16] == 'L' ? 1 : -1))
                    << i;
            }
        }
    }

    // The AIS log: each AIS sentence once, the GPS sentence of the moment
    // after the first AIS line of its time.
    EXPECT_EQ(dir.read("logs/07-12-26.AIS"),
        "AIS Log Date : 07-12-26\r\n" + vesselPosition + "\r\n" + ggas[1] + "\r\n" + vesselStatic[0] + "\r\n"
            + vesselStatic[1] + "\r\n");

    // The AIS database: the vessel's static data, all else zero.
    {
        const std::string bytes = dir.read("KVAIS.ADB");
        ASSERT_EQ(bytes.size(), nav::kAisRecordSize);
        const nav::AisTargetRecord r = nav::LoadAisRecord(reinterpret_cast<const uint8_t*>(bytes.data()));
        EXPECT_EQ(r.mmsi, 235009001);
        EXPECT_EQ(r.imoNumber, 9123456);
        EXPECT_EQ(r.callSign, "MXYZ7@@");
        EXPECT_EQ(r.name, "SOLENT TRADER@@@@@@@");
        EXPECT_EQ(r.shipType, 70);
        EXPECT_EQ(r.toBow, 120);
        EXPECT_EQ(r.toStern, 30);
        EXPECT_EQ(r.toPort, 10);
        EXPECT_EQ(r.toStarboard, 12);
        EXPECT_EQ(r.draught, 48);
        EXPECT_EQ(r.messageType, 0);
        EXPECT_EQ(r.latitude, 0);
        EXPECT_EQ(r.longitude, 0);
        EXPECT_EQ(r.eta, 0);
        EXPECT_EQ(r.destination, "");
    }
}

} // namespace

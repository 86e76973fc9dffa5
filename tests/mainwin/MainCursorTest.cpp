// End to end: the mouse over a real chart view of the demo chart reads the
// position into the main window's position panel, and measuring between two
// clicks reads range and bearing on its status line.

#include "MainFormFixture.h"

#include "chartwin/Childwin.h"
#include "chartwin/ViewList.h"
#include "mainwin/Main.h"
#include "nav/PositionReadout.h"
#include "nav/RouteCommands.h"
#include "nav/RouteEdit.h"
#include "platform/QtText.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <cmath>

namespace
{

class MainCursorTest : public MainFormTest
{
protected:
    void StartOnTheDemoChart()
    {
        const std::string demo = std::string(KV_SOURCE_DIR) + "/demo/";
        for (const char* name :
            { "zudeve.cfg", "charts/harbour.cht", "charts/harbour.cfg", "charts/harbour.wpt" })
            dir.write(name, kvtest::ReadBytes(demo + name));
        Start();
        FirstTick();
        ASSERT_EQ(CurrentChartName, "harbour");
        ASSERT_EQ(chartwin::ViewCount(), 1);
        view = chartwin::View(0);
    }

    // A mouse event on the view's image, as the window system delivers it.
    void Mouse(QEvent::Type type, int x, int y, Qt::MouseButtons buttons)
    {
        const QPointF at(x, y);
        QMouseEvent event(type, at, view->Image1->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(view->Image1, &event);
    }

    void Click(int x, int y)
    {
        Mouse(QEvent::MouseButtonPress, x, y, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, x, y, Qt::NoButton);
    }

    std::string Panel(QLabel* label) const { return platform::ls(label->text()); }

    TMDIChild* view = nullptr;
};

TEST_F(MainCursorTest, MouseOverTheDemoChartReadsThePositionPanel)
{
    StartOnTheDemoChart();
    AltPositionFormat = true;
    const int x0 = view->FCursorX, y0 = view->FCursorY;
    const double lat0 = view->FCursorLat, lon0 = view->FCursorLon;

    Mouse(QEvent::MouseButtonPress, x0, y0, Qt::LeftButton);
    EXPECT_EQ(Panel(MainForm->PosnPanel), CursorPositionReadout(lat0, lon0));
    // A drag 40 pixels right and 30 down: east and south of the centre.
    Mouse(QEvent::MouseMove, x0 + 40, y0 + 30, Qt::LeftButton);
    const double lat = lat0 - 30.0 / view->FScaleLat;
    const double lon = lon0 - 40.0 / view->FScaleLon;
    EXPECT_NEAR(view->FCursorLat, lat, 1e-12);
    EXPECT_NEAR(view->FCursorLon, lon, 1e-12);
    EXPECT_EQ(Panel(MainForm->PosnPanel), CursorPositionReadout(lat, lon));
    EXPECT_EQ(Panel(MainForm->PosnPanel).size(), 24u);
    Mouse(QEvent::MouseButtonRelease, x0 + 40, y0 + 30, Qt::NoButton);
    EXPECT_EQ(view->FCursorX, x0 + 40);
    EXPECT_EQ(CurLat, view->FCursorLat);
    EXPECT_EQ(CursorPositionText, Panel(MainForm->PosnPanel));

    // Moving without the button pressed leaves the readout.
    Mouse(QEvent::MouseMove, 5, 5, Qt::NoButton);
    EXPECT_EQ(Panel(MainForm->PosnPanel), CursorPositionReadout(lat, lon));
}

TEST_F(MainCursorTest, MeasuringBetweenTwoClicksReadsRangeAndBearing)
{
    StartOnTheDemoChart();
    const int x0 = view->FCursorX, y0 = view->FCursorY;
    Click(x0 - 50, y0);
    SetMeasureMode(true); // the measure button: the origin is the working position
    const double originLon = CurLon;
    Click(x0 + 50, y0);
    const std::string status = Panel(MainForm->StatusLine);
    const double nm = (originLon - CurLon) * 60 * CosLat;
    ASSERT_GT(nm, 0);
    EXPECT_NEAR(std::stod(status), nm, 1e-4) << status;
    EXPECT_NE(status.find("Nm  Bearing 270\xB0T To  90\xB0T From"), std::string::npos) << status;
    EXPECT_EQ(status, FormatRouteDistance());
}

} // namespace

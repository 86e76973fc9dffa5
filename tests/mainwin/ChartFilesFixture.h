#pragma once
// The main window started in a temporary application folder with chart
// files of the test's making in its "charts" folder.

#include "MainFormFixture.h"

#include "nav/ChartStore.h"
#include "nav/WaypointFile.h"
#include "rtl/Numbers.h"

#include <string>
#include <vector>

class ChartFilesTest : public MainFormTest
{
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        dir.makeFolder("charts");
    }

    static ChartPoint P(double storedLat, double lon)
    {
        return ChartPoint { rtl::Real6(storedLat), rtl::Real6(lon) };
    }

    // A chart or layer file as the program writes it: the points, then the
    // end marker. Uses the store, which it leaves empty.
    std::string WriteChartFile(const std::string& name, const std::vector<ChartPoint>& points)
    {
        ClearChartStore();
        AppendToChartStore(points);
        int removed = 0;
        const std::string image = EncodeChartFile(1, removed);
        ClearChartStore();
        return dir.write("charts/" + name, image);
    }

    void WriteChartConfig(const std::string& name, double lat, double lon, double zoom)
    {
        dir.write("charts/" + name + ".cfg",
            rtl::RealText(lat) + "\r\n" + rtl::RealText(lon) + "\r\n" + rtl::RealText(zoom) + "\r\n0\r\n");
    }

    // Opens a chart file with "Open Chart", the dialog answering `path`.
    void OpenChart(const std::string& path)
    {
        ui.answerFile(path);
        MainForm->FileOpenItemClick();
    }

    std::vector<ChartPoint> Stored() const
    {
        return std::vector<ChartPoint>(ChartPoints.begin(), ChartPoints.begin() + ChartPointCount);
    }

    std::vector<std::string> Captions() const
    {
        std::vector<std::string> captions;
        for (int i = 0; i < MainForm->MDIChildCount(); ++i)
            captions.push_back(MainForm->MDIChildren(i)->windowTitle().toStdString());
        return captions;
    }

    // The demo folder's configuration and its harbour chart, which the
    // configuration names, in the application folder.
    void CopyDemoChart()
    {
        const std::string demo = std::string(KV_SOURCE_DIR) + "/demo/";
        for (const char* name : { "zudeve.cfg", "charts/harbour.cht", "charts/harbour.cfg",
                 "charts/harbour.wpt", "routes/approach.rte" })
            dir.write(name, kvtest::ReadBytes(demo + name));
    }

    std::string charts() const { return app + "charts/"; }
};

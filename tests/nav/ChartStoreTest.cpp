#include "nav/ChartStore.h"
#include "nav/NavState.h"
#include "rtl/TextFile.h"
#include "support/ShortStringPrint.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// Bytes from pairs of hex digits; blanks are ignored.
std::string Hex(const char* text)
{
    std::string bytes;
    std::string digits;
    for (const char* p = text; *p; ++p) {
        if (*p == ' ')
            continue;
        digits += *p;
        if (digits.size() == 2) {
            bytes += static_cast<char>(std::stoi(digits, nullptr, 16));
            digits.clear();
        }
    }
    return bytes;
}

ChartPoint Point(double storedLat, double lon)
{
    return ChartPoint { rtl::Real6(storedLat), rtl::Real6(lon) };
}

// 6-byte reals: 1.0 = 81 00 00 00 00 00, -1.0 = 81 00 00 00 00 80,
// 2.0 = 82 00 00 00 00 00, 3.0 = 82 00 00 00 00 40, 200.0 = 88 00 00 00 00 48,
// 0.5 = 80 00 00 00 00 00.
const char* const kPenUpRecord = "81 00 00 00 00 80  81 00 00 00 00 80";

class ChartStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        ClearChartStore();
    }

    void Fill(const std::vector<ChartPoint>& points)
    {
        ClearChartStore();
        AppendToChartStore(points);
    }

    std::vector<ChartPoint> Stored() const
    {
        return std::vector<ChartPoint>(ChartPoints.begin(), ChartPoints.begin() + ChartPointCount);
    }

    std::string Encode(int first = 1)
    {
        int removed = -1;
        std::string image = EncodeChartFile(first, removed);
        lastRemoved = removed;
        return image;
    }

    kvtest::TempDir dir;
    int lastRemoved = 0;
};

TEST_F(ChartStoreTest, FileIsRecordsOfLatitudeThenLongitudeEndedByAPenUp)
{
    Fill({ PenUpPoint, Point(200.0, 1.0), Point(0.5, -1.0) });
    EXPECT_EQ(Encode(),
        Hex("81 00 00 00 00 80  81 00 00 00 00 80"
            "88 00 00 00 00 48  81 00 00 00 00 00"
            "80 00 00 00 00 00  81 00 00 00 00 80")
            + Hex(kPenUpRecord));
    EXPECT_EQ(lastRemoved, 0);
}

TEST_F(ChartStoreTest, ReadingDropsTheEndMarkerSoASavedStoreReadsBackTheSame)
{
    const std::vector<ChartPoint> points { PenUpPoint, Point(50.8, 1.3), Point(250.81, 1.31), PenUpPoint,
        Point(1250.79, 1.2), Point(1250.78, 1.25) };
    Fill(points);
    const ChartFileContents back = DecodeChartFile(Encode());
    EXPECT_FALSE(back.dosFile);
    EXPECT_EQ(back.points, points);
}

TEST_F(ChartStoreTest, RunsOfPenUpsAreWrittenOnceAndCounted)
{
    Fill({ Point(1, 1), PenUpPoint, PenUpPoint, PenUpPoint, Point(2, 2) });
    EXPECT_EQ(Encode(),
        Hex("81 00 00 00 00 00  81 00 00 00 00 00") + Hex(kPenUpRecord)
            + Hex("82 00 00 00 00 00  82 00 00 00 00 00") + Hex(kPenUpRecord));
    EXPECT_EQ(lastRemoved, 2);
    // An empty store writes the end marker alone.
    ClearChartStore();
    EXPECT_EQ(Encode(), Hex(kPenUpRecord));
}

TEST_F(ChartStoreTest, TrailingPenUpGivesWayToTheEndMarker)
{
    Fill({ Point(1, 1), PenUpPoint });
    EXPECT_EQ(Encode(), Hex("81 00 00 00 00 00  81 00 00 00 00 00") + Hex(kPenUpRecord));
    EXPECT_EQ(lastRemoved, 1);
    // Also when editing left a stale point in the slot after the last one.
    ChartPoints[3] = Point(5, 5);
    EXPECT_EQ(Encode(), Hex("81 00 00 00 00 00  81 00 00 00 00 00") + Hex(kPenUpRecord));
    // And with the store full, where no slot follows.
    std::vector<ChartPoint> full(kMaxChartPoints, Point(1, 1));
    full.back() = PenUpPoint;
    Fill(full);
    EXPECT_EQ(Encode().size(), (kMaxChartPoints - 1 + 1) * ChartPoint::storedSize);
    EXPECT_EQ(lastRemoved, 1);
}

TEST_F(ChartStoreTest, DosFilesAreReadWhole)
{
    const std::string one = Hex("81 00 00 00 00 00  81 00 00 00 00 00");
    const std::string two = Hex("82 00 00 00 00 00  82 00 00 00 00 00");

    // No end marker: the last record is a point, and kept.
    ChartFileContents read = DecodeChartFile(one + two);
    EXPECT_TRUE(read.dosFile);
    EXPECT_EQ(read.points, (std::vector<ChartPoint> { Point(1, 1), Point(2, 2) }));

    // A partial last record: every complete record is kept, the tail ignored.
    read = DecodeChartFile(one + Hex(kPenUpRecord) + two.substr(0, 7));
    EXPECT_TRUE(read.dosFile);
    EXPECT_EQ(read.points, (std::vector<ChartPoint> { Point(1, 1), PenUpPoint }));

    read = DecodeChartFile(Hex("81 00 00"));
    EXPECT_TRUE(read.dosFile);
    EXPECT_TRUE(read.points.empty());

    // No records at all, and the end marker alone, give no points.
    read = DecodeChartFile("");
    EXPECT_FALSE(read.dosFile);
    EXPECT_TRUE(read.points.empty());
    read = DecodeChartFile(Hex(kPenUpRecord));
    EXPECT_FALSE(read.dosFile);
    EXPECT_TRUE(read.points.empty());
}

TEST_F(ChartStoreTest, AppendingStopsAtTheCapacityAndKeepsWhatFits)
{
    Fill(std::vector<ChartPoint>(kMaxChartPoints - 2, Point(1, 1)));
    EXPECT_FALSE(AppendToChartStore({ Point(2, 2), Point(3, 3), Point(4, 4) }));
    EXPECT_EQ(ChartPointCount, kMaxChartPoints);
    EXPECT_EQ(LoadedPointCount, kMaxChartPoints);
    EXPECT_EQ(ChartPoints[kMaxChartPoints], Point(3, 3));
    EXPECT_TRUE(AppendToChartStore({}));
}

class ChartLayerTest : public ChartStoreTest
{
protected:
    void WriteLayer(int layer, const std::vector<ChartPoint>& points)
    {
        Fill(points);
        dir.write("harbour.00" + std::to_string(layer), Encode());
    }
};

TEST_F(ChartLayerTest, PresentLayersAreAppendedInOrderAndMissingOnesFlagged)
{
    WriteLayer(0, { PenUpPoint, Point(10, 10) });
    WriteLayer(3, { Point(13, 13) });
    WriteLayer(9, { Point(19, 19) });
    dir.write("harbour.cht", "");
    Fill({ Point(1, 1) });
    LayerFlags = "**********";
    const LayerLoadResult result = AppendChartLayers(dir.path() + "/", "harbour");
    EXPECT_FALSE(result.storeFull);
    EXPECT_FALSE(result.dosFile);
    EXPECT_EQ(LayerFlags, "*--*-----*");
    EXPECT_EQ(Stored(),
        (std::vector<ChartPoint> { Point(1, 1), PenUpPoint, Point(10, 10), Point(13, 13), Point(19, 19) }));
    EXPECT_EQ(LoadedPointCount, 5);
}

TEST_F(ChartLayerTest, SwitchedOffLayersAreNotRead)
{
    WriteLayer(0, { Point(10, 10) });
    WriteLayer(1, { Point(11, 11) });
    ClearChartStore();
    LayerFlags = "-*********";
    AppendChartLayers(dir.path() + "/", "harbour");
    EXPECT_EQ(Stored(), (std::vector<ChartPoint> { Point(11, 11) }));
    EXPECT_EQ(LayerFlags, "-*--------");

    ClearChartStore();
    LayerFlags = "----------";
    AppendChartLayers(dir.path() + "/", "harbour");
    EXPECT_EQ(ChartPointCount, 0);
    EXPECT_EQ(LayerFlags, "----------");
}

TEST_F(ChartLayerTest, LayersAreFoundOnlyBesideTheChart)
{
    dir.makeFolder("other");
    Fill({ Point(10, 10) });
    const std::string layer = Encode();
    dir.write("other/harbour.000", layer);
    ClearChartStore();
    LayerFlags = "**********";
    AppendChartLayers(dir.path() + "/", "harbour");
    EXPECT_EQ(ChartPointCount, 0);
    EXPECT_EQ(LayerFlags, "----------");
    // The name is matched without regard to case.
    dir.write("HARBOUR.000", layer);
    LayerFlags = "**********";
    AppendChartLayers(dir.path() + "/", "harbour");
    EXPECT_EQ(ChartPointCount, 1);
}

TEST_F(ChartLayerTest, LayerAfterAFullStoreIsNotTaken)
{
    WriteLayer(0, { Point(10, 10) });
    dir.write("harbour.001", Hex("81 00 00 00 00 00  81 00 00 00 00 00"));
    Fill(std::vector<ChartPoint>(kMaxChartPoints, Point(1, 1)));
    LayerFlags = "**********";
    const LayerLoadResult result = AppendChartLayers(dir.path() + "/", "harbour");
    EXPECT_TRUE(result.storeFull);
    EXPECT_TRUE(result.dosFile);
    EXPECT_EQ(ChartPointCount, kMaxChartPoints);
    EXPECT_EQ(ChartPoints[kMaxChartPoints], Point(1, 1));
    EXPECT_EQ(LayerFlags, "**--------");
}

// Saving the chart and its layer in either order, with points added after
// the layer was read: every point lands in one file only, the chart never
// takes the layer's points, and the added line does not join the chart's
// last point. A layer of another chart's name goes into the chart.
TEST_F(ChartLayerTest, ChartAndItsLayerSavedInEitherOrderHoldEveryPointOnce)
{
    const std::vector<ChartPoint> own { PenUpPoint, Point(1, 1), Point(2, 2) };
    const std::vector<ChartPoint> layer { PenUpPoint, Point(10, 10), Point(11, 11) };
    const std::vector<ChartPoint> added { Point(20, 20), Point(21, 21) };
    const std::string chart = dir.file("harbour.cht");
    const std::string layerFile = dir.file("harbour.003");
    const std::string otherLayer = dir.file("other.003");
    auto decode = [this](const std::string& name) { return DecodeChartFile(dir.read(name)).points; };
    auto save = [](const std::string& path, bool isChart) {
        int removed = 0;
        const std::string image = isChart ? EncodeChartFileAt(path, removed) : EncodeLayerFile(path, removed);
        ASSERT_TRUE(rtl::WriteFileAtomic(path, image));
        NoteChartFileWritten(path, isChart);
    };
    auto load = [&](const std::string& layerPath) {
        ClearChartStore();
        AppendToChartStore(own, chart);
        AppendToChartStore(layer, layerPath);
        ChartPoints[++ChartPointCount] = added[0];
        ChartPoints[++ChartPointCount] = added[1];
    };
    for (const std::string& name : { std::string("harbour.cht"), std::string("harbour.003") })
        dir.write(name, "");

    load(layerFile);
    save(chart, true);
    save(layerFile, false);
    std::vector<ChartPoint> withLift = own;
    withLift.push_back(PenUpPoint);
    withLift.insert(withLift.end(), added.begin(), added.end());
    EXPECT_EQ(decode("harbour.cht"), withLift);
    EXPECT_EQ(decode("harbour.003"), layer);

    load(layerFile);
    save(layerFile, false);
    save(chart, true);
    std::vector<ChartPoint> layerAndAdded = layer;
    layerAndAdded.insert(layerAndAdded.end(), added.begin(), added.end());
    EXPECT_EQ(decode("harbour.003"), layerAndAdded);
    EXPECT_EQ(decode("harbour.cht"), own);

    dir.write("other.003", "");
    load(otherLayer);
    save(chart, true);
    std::vector<ChartPoint> all = own;
    all.insert(all.end(), layerAndAdded.begin(), layerAndAdded.end());
    EXPECT_EQ(decode("harbour.cht"), all);
}

} // namespace

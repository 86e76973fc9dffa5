// Position list lines in every input format, the separators and the sample
// texts the window shows.

#include "converter/ConvertLine.h"
#include "nav/ChartStore.h"

#include <gtest/gtest.h>

namespace
{

using converter::ConvertLine;
using converter::TInputFormat;
using converter::TLineOptions;

constexpr TInputFormat Grid = TInputFormat::Grid, Dec = TInputFormat::DecimalDegrees,
                       Dm = TInputFormat::DegreesMinutes;

// The point a line gives; `point` starts at a marker value so a line that
// leaves it unchanged shows.
struct Converted {
    converter::TLineResult result;
    ChartPoint point { rtl::Real6(7.0), rtl::Real6(7.0) };
};

Converted Convert(
    const std::string& line, TInputFormat format, bool reverse, char separator = '\t', int lineStyle = 0)
{
    Converted c;
    c.result = ConvertLine(line, TLineOptions { format, reverse, separator, 200 * lineStyle }, c.point);
    return c;
}

TEST(ConvertLineTest, LinesGiveTheirPointInEveryFormat)
{
    struct Case {
        const char* line;
        TInputFormat format;
        bool reverse;
        char separator;
        int lineStyle;
        double lat, lon; // stored latitude, west-positive longitude
        double tolerance; // 0: exactly the 6-byte reals of lat and lon
    };
    const Case cases[] = {
        // Grid: the separator and Reverse do not apply; line style 1 adds 200.
        { "553690.6 223163.5", Grid, true, '\t', 0, 51.88537672, -0.23338819, 1e-8 },
        { "553690.6 223163.5", Grid, false, ',', 0, 51.88537672, -0.23338819, 1e-8 },
        { "100000 100000", Grid, true, '\t', 1, 250.7215, 6.2511, 1e-3 },
        { "553690.6 223163.5", Grid, true, '\t', 3, 651.88537672, -0.23338819, 1e-8 },
        // Decimal degrees: the second value runs to the end of the line.
        { "51.88627587\t0.22884737", Dec, false, '\t', 0, 51.88627587, -0.22884737, 0 },
        { "51.88627587\t0.22884737", Dec, true, '\t', 0, 0.22884737, -51.88627587, 0 },
        { "0.22884737   51.88627587", Dec, true, ' ', 0, 51.88627587, -0.22884737, 0 },
        { "50.5,-1.25", Dec, false, ',', 0, 50.5, 1.25, 0 },
        { "-4.5:48.25", Dec, true, ':', 0, 48.25, 4.5, 0 },
        { "50\t1", Dec, false, '\t', 3, 650, -1, 0 },
        // Degrees and minutes split at the separator, then at each first point.
        { "51.22.7587  001.50.4737", Dm, false, ' ', 0, 51.3793117, -1.8412283, 1e-7 },
        { "001.50.4737\t51.22.7587", Dm, true, '\t', 0, 51.3793117, -1.8412283, 1e-7 },
        { "51.227587 001.504737", Dm, false, ' ', 0, 51.3793117, -1.8412283, 1e-7 },
        { "50.0.0\t1.0.0", Dm, false, '\t', 3, 650, -1, 0 },
        // Negative degrees give their sign to the minutes, also at -0.
        { "50.30.0,-1.50.4737", Dm, false, ',', 0, 50.5, 1.8412283, 1e-7 },
        { "50.30.0,-0.30.0", Dm, false, ',', 0, 50.5, 0.5, 1e-12 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const Converted got = Convert(c.line, c.format, c.reverse, c.separator, c.lineStyle);
        EXPECT_FALSE(got.result.rejected);
        if (c.tolerance == 0) {
            EXPECT_EQ(got.point, (ChartPoint { rtl::Real6(c.lat), rtl::Real6(c.lon) }));
        } else {
            EXPECT_NEAR(got.point.lat.value(), c.lat, c.tolerance);
            EXPECT_NEAR(got.point.lon.value(), c.lon, c.tolerance);
        }
    }
}

TEST(ConvertLineTest, DisplayTextIsTheLineOrTheConvertedPosition)
{
    EXPECT_EQ(Convert("553690.6 223163.5", Grid, true).result.display, "51.88537672  0.23338819");
    EXPECT_EQ(Convert("51.88627587\t0.22884737", Dec, false).result.display, "51.88627587\t0.22884737");
    EXPECT_EQ(Convert("51.22.7587  001.50.4737", Dm, false, ' ').result.display, "51.22.7587  001.50.4737");
    // Minutes without their point are shown with it.
    EXPECT_EQ(Convert("51.227587 001.504737", Dm, false, ' ').result.display, "51.22.7587 001.50.4737");
}

TEST(ConvertLineTest, PositionsNoChartRecordHoldsGivePenUps)
{
    const Converted north = Convert("600000 1300000", Grid, true);
    EXPECT_EQ(north.point, PenUpPoint);
    ASSERT_TRUE(north.result.rejected);
    // The latitude and longitude, each in 12 characters with 8 decimals.
    EXPECT_EQ(north.result.rejected->size(), 25u);
    EXPECT_EQ(north.result.rejected->substr(0, 5), " 61.5");
    EXPECT_EQ(north.result.display, north.result.rejected->substr(1, 11) + north.result.rejected->substr(13));

}

// A value missing, not read whole, not finite or beyond any position makes
// no point: the point stays as it was (no made-up 0 N or 0 E).
TEST(ConvertLineTest, LineWithoutAPositionMakesNoPoint)
{
    struct Case {
        const char* line;
        TInputFormat format;
        char separator;
    };
    const Case cases[] = {
        { "12.5\tabc", Dec, '\t' },
        { "nan\t50", Dec, '\t' },
        { "1e400\t5", Dec, '\t' },
        { "50.1\t", Dec, '\t' },
        { "abc\t-1.2", Dec, '\t' },
        { "51.5", Dec, ',' }, // no separator: the first value is missing
        { "1e300\t1", Dec, '\t' },
        { "0\t-3e7", Dec, '\t' },
        { "2e6\t0", Dec, '\t' },
        { "90.5\t1.5", Dec, '\t' }, // latitude beyond the pole
        { "1.5\t180.5", Dec, '\t' }, // longitude beyond the date line
        { "51.22.7587 abc.50.4737", Dm, ' ' },
        { "51.75.0 001.50.4737", Dm, ' ' }, // 75 minutes
        { "51.22.7587", Dm, ' ' },
        { "553690.6 x", Grid, '\t' },
        { "", Grid, '\t' },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const Converted got = Convert(c.line, c.format, false, c.separator);
        EXPECT_TRUE(got.result.unreadable);
        EXPECT_FALSE(got.result.rejected);
        EXPECT_EQ(got.point, (ChartPoint { rtl::Real6(7.0), rtl::Real6(7.0) }));
    }
}

TEST(ConvertLineTest, SecondsFormatLeavesThePointAsItWas)
{
    const Converted c = Convert("51.22.45 1.50.30", TInputFormat::DegreesMinutesSeconds, false, ' ');
    EXPECT_EQ(c.point, (ChartPoint { rtl::Real6(7.0), rtl::Real6(7.0) }));
    EXPECT_EQ(c.result.display, "");
    EXPECT_TRUE(converter::SampleFormat(TInputFormat::DegreesMinutesSeconds, false).empty());
}

TEST(ConvertLineTest, SeparatorChoices)
{
    EXPECT_EQ(converter::SeparatorOf("Tab"), '\t');
    EXPECT_EQ(converter::SeparatorOf("Space"), ' ');
    EXPECT_EQ(converter::SeparatorOf(";"), ';');
    EXPECT_EQ(converter::SeparatorOf("None"), 'N');
    EXPECT_EQ(converter::SeparatorOf(""), std::nullopt);
}

TEST(ConvertLineTest, SampleFormats)
{
    using V = std::vector<std::string>;
    const std::string head = "Sample Format Required";
    EXPECT_EQ(converter::SampleFormat(Grid, false),
        (V { head, "Easting    Northing", "553690.6 223163.5", "553691.3 223164.7" }));
    EXPECT_EQ(converter::SampleFormat(Dec, true),
        (V { head, "Longitude         Latitude", "0.22884737   51.88627587", "0.23001422   51.88568446" }));
    EXPECT_EQ(converter::SampleFormat(Dec, false),
        (V { head, "Latitude         Longitude", "51.88627587  0.22884737", "51.88568446  0.23001422" }));
    EXPECT_EQ(converter::SampleFormat(Dm, true),
        (V { head, "Longitude         Latitude", "001.50.4737  51.22.7587", "001.49.9422  51.22.8446" }));
    EXPECT_EQ(converter::SampleFormat(Dm, false),
        (V { head, "Latitude         Longitude", "51.22.7587  001.50.4737", "51.22.8446  001.49.9422" }));
}

} // namespace

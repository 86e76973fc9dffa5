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

TLineOptions Options(TInputFormat format, bool reverse, char separator = '\t', int lineStyle = 0)
{
    return TLineOptions { format, reverse, separator, 200 * lineStyle };
}

// The point a line gives; `point` starts at a marker value so a line that
// leaves it unchanged shows.
struct Converted {
    converter::TLineResult result;
    ChartPoint point { rtl::Real6(7.0), rtl::Real6(7.0) };
};

Converted Convert(const std::string& line, const TLineOptions& options)
{
    Converted c;
    c.result = ConvertLine(line, options, c.point);
    return c;
}

TEST(ConvertLineTest, GridReferenceBecomesLatitudeAndWestPositiveLongitude)
{
    const Converted c = Convert("553690.6 223163.5", Options(TInputFormat::Grid, true));
    EXPECT_EQ(c.result.display, "51.88537672  0.23338819");
    EXPECT_FALSE(c.result.rejected);
    EXPECT_NEAR(c.point.lat.value(), 51.88537672, 1e-8);
    EXPECT_NEAR(c.point.lon.value(), -0.23338819, 1e-8);

    // The separator and Reverse do not apply to grid input.
    const Converted same = Convert("553690.6 223163.5", Options(TInputFormat::Grid, false, ','));
    EXPECT_EQ(same.point, c.point);
}

TEST(ConvertLineTest, GridPositionsInsideTheBoxAreTakenAndOutsideItGivePenUps)
{
    const Converted west = Convert("100000 100000", Options(TInputFormat::Grid, true, '\t', 1));
    EXPECT_FALSE(west.result.rejected);
    EXPECT_NEAR(west.point.lat.value(), 200 + 50.7215, 1e-3);
    EXPECT_NEAR(west.point.lon.value(), 6.2511, 1e-3);

    const Converted north = Convert("600000 1300000", Options(TInputFormat::Grid, true));
    EXPECT_EQ(north.point, PenUpPoint);
    ASSERT_TRUE(north.result.rejected);
    // The latitude and longitude, each in 12 characters with 8 decimals.
    EXPECT_EQ(north.result.rejected->size(), 25u);
    EXPECT_EQ(north.result.rejected->substr(0, 5), " 61.5");
    EXPECT_EQ(north.result.display, north.result.rejected->substr(1, 11) + north.result.rejected->substr(13));

    // A line with no numbers is easting 0, northing 0: west of the box.
    EXPECT_EQ(Convert("", Options(TInputFormat::Grid, true)).point, PenUpPoint);
}

TEST(ConvertLineTest, DecimalDegreesWithAndWithoutReverse)
{
    const std::string line = "51.88627587\t0.22884737";
    const Converted plain = Convert(line, Options(TInputFormat::DecimalDegrees, false));
    EXPECT_EQ(plain.result.display, line);
    EXPECT_EQ(plain.point.lat, rtl::Real6(51.88627587));
    EXPECT_EQ(plain.point.lon, rtl::Real6(-0.22884737));

    const Converted reversed = Convert(line, Options(TInputFormat::DecimalDegrees, true));
    EXPECT_EQ(reversed.point.lat, rtl::Real6(0.22884737));
    EXPECT_EQ(reversed.point.lon, rtl::Real6(-51.88627587));
}

TEST(ConvertLineTest, DecimalSecondValueRunsToTheEndOfTheLineWithAnySeparator)
{
    // The window's own sample: blanks between the values.
    const Converted spaced
        = Convert("0.22884737   51.88627587", Options(TInputFormat::DecimalDegrees, true, ' '));
    EXPECT_EQ(spaced.point.lat, rtl::Real6(51.88627587));
    EXPECT_EQ(spaced.point.lon, rtl::Real6(-0.22884737));

    const Converted comma = Convert("50.5,-1.25", Options(TInputFormat::DecimalDegrees, false, ','));
    EXPECT_EQ(comma.point.lat, rtl::Real6(50.5));
    EXPECT_EQ(comma.point.lon, rtl::Real6(1.25));

    const Converted colon = Convert("-4.5:48.25", Options(TInputFormat::DecimalDegrees, true, ':'));
    EXPECT_EQ(colon.point, (ChartPoint { rtl::Real6(48.25), rtl::Real6(4.5) }));

    // Without the separator the first value is empty: it reads as 0.
    const Converted missing = Convert("51.5", Options(TInputFormat::DecimalDegrees, false, ','));
    EXPECT_EQ(missing.point, (ChartPoint { rtl::Real6(0.0), rtl::Real6(-51.5) }));
}

TEST(ConvertLineTest, DegreesAndMinutesSplitAtTheSeparatorThenAtEachFirstPoint)
{
    const std::string line = "51.22.7587  001.50.4737";
    const Converted c = Convert(line, Options(TInputFormat::DegreesMinutes, false, ' '));
    EXPECT_EQ(c.result.display, line);
    EXPECT_NEAR(c.point.lat.value(), 51.3793117, 1e-7);
    EXPECT_NEAR(c.point.lon.value(), -1.8412283, 1e-7);

    const Converted reversed
        = Convert("001.50.4737\t51.22.7587", Options(TInputFormat::DegreesMinutes, true, '\t'));
    EXPECT_EQ(reversed.point, c.point);

    // Minutes without their point read as two whole minutes and a fraction.
    const Converted bare = Convert("51.227587 001.504737", Options(TInputFormat::DegreesMinutes, false, ' '));
    EXPECT_EQ(bare.result.display, "51.22.7587 001.50.4737");
    EXPECT_EQ(bare.point, c.point);
}

TEST(ConvertLineTest, NegativeDegreesGiveTheirSignToTheMinutes)
{
    const Converted west = Convert("50.30.0,-1.50.4737", Options(TInputFormat::DegreesMinutes, false, ','));
    EXPECT_NEAR(west.point.lat.value(), 50.5, 1e-12);
    EXPECT_NEAR(west.point.lon.value(), 1.8412283, 1e-7);

    // Less than a degree west: the sign is in the text, not in the value 0.
    const Converted near = Convert("50.30.0,-0.30.0", Options(TInputFormat::DegreesMinutes, false, ','));
    EXPECT_NEAR(near.point.lon.value(), 0.5, 1e-12);
}

TEST(ConvertLineTest, LineStyleThreeAddsSixHundredToEveryLatitude)
{
    EXPECT_EQ(
        Convert("50\t1", Options(TInputFormat::DecimalDegrees, false, '\t', 3)).point.lat, rtl::Real6(650.0));
    EXPECT_EQ(Convert("50.0.0\t1.0.0", Options(TInputFormat::DegreesMinutes, false, '\t', 3)).point.lat,
        rtl::Real6(650.0));
    EXPECT_NEAR(Convert("553690.6 223163.5", Options(TInputFormat::Grid, true, '\t', 3)).point.lat.value(),
        651.88537672, 1e-8);
}

TEST(ConvertLineTest, ValuesNoChartRecordHoldsAreRejected)
{
    for (const char* line : { "1e300\t1", "0\t-3e7", "2e6\t0" }) {
        const Converted c = Convert(line, Options(TInputFormat::DecimalDegrees, false));
        EXPECT_EQ(c.point, PenUpPoint) << line;
        EXPECT_TRUE(c.result.rejected) << line;
    }
    // Text that is no number, or too large to be one, reads as 0.
    EXPECT_EQ(Convert("1e999\t2", Options(TInputFormat::DecimalDegrees, false)).point,
        (ChartPoint { rtl::Real6(0.0), rtl::Real6(-2.0) }));
    EXPECT_EQ(Convert("abc\t2", Options(TInputFormat::DecimalDegrees, false)).point,
        (ChartPoint { rtl::Real6(0.0), rtl::Real6(-2.0) }));
}

TEST(ConvertLineTest, SecondsFormatLeavesThePointAsItWas)
{
    const Converted c = Convert("51.22.45 1.50.30", Options(TInputFormat::DegreesMinutesSeconds, false, ' '));
    EXPECT_EQ(c.point, (ChartPoint { rtl::Real6(7.0), rtl::Real6(7.0) }));
    EXPECT_EQ(c.result.display, "");
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
    EXPECT_EQ(converter::SampleFormat(TInputFormat::Grid, false),
        (V { head, "Easting    Northing", "553690.6 223163.5", "553691.3 223164.7" }));
    EXPECT_EQ(converter::SampleFormat(TInputFormat::DecimalDegrees, true),
        (V { head, "Longitude         Latitude", "0.22884737   51.88627587", "0.23001422   51.88568446" }));
    EXPECT_EQ(converter::SampleFormat(TInputFormat::DecimalDegrees, false),
        (V { head, "Latitude         Longitude", "51.88627587  0.22884737", "51.88568446  0.23001422" }));
    EXPECT_EQ(converter::SampleFormat(TInputFormat::DegreesMinutes, true),
        (V { head, "Longitude         Latitude", "001.50.4737  51.22.7587", "001.49.9422  51.22.8446" }));
    EXPECT_EQ(converter::SampleFormat(TInputFormat::DegreesMinutes, false),
        (V { head, "Latitude         Longitude", "51.22.7587  001.50.4737", "51.22.8446  001.49.9422" }));
    EXPECT_TRUE(converter::SampleFormat(TInputFormat::DegreesMinutesSeconds, false).empty());
}

} // namespace

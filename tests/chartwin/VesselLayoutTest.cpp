// The own vessel to scale and the tow layout.

#include "chartwin/VesselLayout.h"
#include "draw/ViewFixture.h"

#include <cmath>

using namespace chartwin;
using namespace chartwin::test;

namespace
{

class VesselTest : public ViewFixture
{
protected:
    void SetUp() override
    {
        ViewFixture::SetUp();
        Centre(0, 0, 111120); // one pixel a metre
        VesselLength = 60;
        VesselBeam = 20;
        ShowVesselOutline = true;
    }
};

} // namespace

TEST_F(VesselTest, HullOutlineHeadingNorthFromTheAntenna)
{
    // No track yet: heading 0. Quarters 10 m to each side, shoulders 45 m
    // and the bow 60 m ahead of the reference point at the bitmap centre.
    DrawOwnVessel(view, true);
    EXPECT_EQ(canvas->Pixel(55, 60), kLime); // across the stern to port
    EXPECT_EQ(canvas->Pixel(50, 40), kLime); // port side
    EXPECT_EQ(canvas->Pixel(70, 40), kLime); // starboard side
    EXPECT_EQ(canvas->Pixel(50, 14), kWhite); // the side ends at the shoulder
    EXPECT_EQ(canvas->Pixel(60, 1), kLime); // dotted centre line from the bow
    EXPECT_EQ(canvas->Pixel(60, 4), kWhite);
    EXPECT_EQ(canvas->Pixel(40, 40), kWhite);

    UseBackground(kWhite);
    DrawOwnVessel(view, false);
    EXPECT_EQ(Count(*canvas, kLime), 0);
    ShowVesselOutline = false;
    TowLayoutPoints[5].lat = 99;
    DrawOwnVessel(view, true);
    EXPECT_EQ(Count(*canvas, kLime), 0);
    EXPECT_EQ(TowLayoutPoints[5].lat, 99); // nothing laid out either
}

TEST_F(VesselTest, TowLayoutPointsAndTheirTexts)
{
    view.FCursorLat = 50;
    view.FCursorLon = 1; // 1 degree west
    TowOffsetA = 10;
    TowOffsetB = 4;
    DrawTowLayout(view);
    const double metre = 1 / (111120 * std::cos(50 * M_PI / 180)); // degrees of longitude
    EXPECT_DOUBLE_EQ(TowLayoutPoints[1].lon, 1);
    EXPECT_NEAR(TowLayoutPoints[2].lon, 1 + 4 * metre, 1e-12); // 4 m to port: west
    EXPECT_NEAR(TowLayoutPoints[3].lon, 1 - 10 * metre, 1e-12);
    EXPECT_NEAR(TowLayoutPoints[5].lon, 1 - 3 * metre, 1e-12); // the towed body, 3 m to starboard
    EXPECT_DOUBLE_EQ(TowLayoutPoints[5].lat, 50);
    EXPECT_EQ(TowLayoutTexts[1].str(), "50.000000");
    EXPECT_EQ(TowLayoutTexts[2].str(), "-1.000000"); // east positive

    view.FCursorLat = 52;
    GridDisplay = true;
    GridDatum = 0;
    DrawTowLayout(view);
    // OS grid at 52 N 1 W: easting first (about 468 km), then northing (about 234 km).
    EXPECT_EQ(TowLayoutTexts[1].str().substr(0, 2), "46");
    EXPECT_EQ(TowLayoutTexts[2].str().substr(0, 2), "23");
}

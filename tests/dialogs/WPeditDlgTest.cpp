#include "dialogs/WPeditDlg.h"

#include "draw/RasterCanvas.h"
#include "nav/NavState.h"
#include "platform/QtText.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <gtest/gtest.h>

namespace
{

// Test texts are written with "°"; the program holds the Latin-1 byte 0xB0.
std::string L(const char* utf8)
{
    return ls(QString::fromUtf8(utf8));
}

class WPeditDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNavState();
        BackgroundColour = 0x800000;
        ForegroundColour = 0xFFFFFF;
        ShapeScale = 1.0;
    }

    static void Leave(QLineEdit* field)
    {
        QFocusEvent out(QEvent::FocusOut);
        QCoreApplication::sendEvent(field, &out);
    }

    static void Type(QLineEdit* field, const char* keys)
    {
        for (const char* k = keys; *k; ++k) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(*k)));
            QCoreApplication::sendEvent(field, &press);
        }
    }

    void SetPosition(const std::string& lat, const std::string& lon)
    {
        dlg.Latitude->setText(qs(lat));
        dlg.Longitude->setText(qs(lon));
    }

    TWPeditDlg dlg;
};

TEST_F(WPeditDlgTest, TypingAidsAddTheDegreeSignAndThePoint)
{
    Type(dlg.Latitude, "50");
    EXPECT_EQ(ls(dlg.Latitude->text()), L("50°"));
    EXPECT_EQ(dlg.Latitude->cursorPosition(), 3);
    Type(dlg.Latitude, "07");
    EXPECT_EQ(ls(dlg.Latitude->text()), L("50°07."));
    Type(dlg.Latitude, "1N");
    EXPECT_EQ(ls(dlg.Latitude->text()), L("50°07.1N"));

    Type(dlg.Longitude, "001");
    EXPECT_EQ(ls(dlg.Longitude->text()), L("001°"));
    Type(dlg.Longitude, "15");
    EXPECT_EQ(ls(dlg.Longitude->text()), L("001°15."));
}

TEST_F(WPeditDlgTest, LeavingAPositionFieldCompletesItAndFillsTheGridFields)
{
    SetPosition(L("50°07.1N"), L("001°15.W"));
    Leave(dlg.Latitude);
    EXPECT_EQ(ls(dlg.Latitude->text()), L("50°07.10000N"));
    EXPECT_EQ(ls(dlg.Longitude->text()), L("001°15.00000W"));
    EXPECT_NEAR(dlg.WPLat, 50 + 7.1 / 60, 1e-12);
    EXPECT_DOUBLE_EQ(dlg.WPLon, 1.25);
    // 1.25 W lies east of the grid's central meridian at 2 W.
    const double easting = dlg.Easting->text().toDouble();
    const double northing = dlg.Northing->text().toDouble();
    EXPECT_GT(easting, 450000);
    EXPECT_LT(easting, 460000);
    EXPECT_GT(northing, 20000);
    EXPECT_LT(northing, 30000);

    // Empty texts become zero in both hemispheres' default letters.
    SetPosition("", "");
    Leave(dlg.Longitude);
    EXPECT_EQ(ls(dlg.Latitude->text()), L("00°00.00000N"));
    EXPECT_EQ(ls(dlg.Longitude->text()), L("000°00.00000W"));
    EXPECT_EQ(dlg.Easting->text(), "**********");
}

TEST_F(WPeditDlgTest, LeavingAGridFieldWritesThePositionBack)
{
    SetPosition(L("50°30.00000N"), L("003°15.00000W"));
    dlg.ToOSClick();
    EXPECT_LT(dlg.Easting->text().toDouble(), 400000); // west of 2 W
    SetPosition("", "");
    Leave(dlg.Northing);
    EXPECT_EQ(ls(dlg.Latitude->text()), L("50°30.00000N"));
    EXPECT_EQ(ls(dlg.Longitude->text()), L("003°15.00000W"));

    // Off the grid nothing is converted back.
    SetPosition(L("10°00.00000N"), L("003°15.00000W"));
    dlg.ToOSClick();
    EXPECT_EQ(dlg.Northing->text(), "**********");
    Leave(dlg.Easting);
    EXPECT_EQ(ls(dlg.Latitude->text()), L("10°00.00000N"));
}

TEST_F(WPeditDlgTest, SymbolDecidesTheNumberField)
{
    struct Case {
        int item;
        bool enabled;
        const char* label;
    };
    for (const Case& c : { Case { 21, true, "Radius" }, Case { 32, true, "Pointer" },
             Case { 23, true, "Zoom" }, Case { 5, false, "Radius" }, Case { 20, true, "Radius" } }) {
        dlg.Radius->setText("07");
        dlg.WPShape->setCurrentIndex(c.item);
        EXPECT_EQ(dlg.SymbolCode(), c.item);
        EXPECT_EQ(dlg.Radius->isEnabled(), c.enabled) << c.item;
        EXPECT_EQ(dlg.Label5->text(), c.label) << c.item;
        EXPECT_EQ(dlg.Radius->text(), c.enabled ? "07" : "  ") << c.item;
    }
    // A typed code counts as well as a chosen item.
    dlg.WPShape->setEditText("31");
    EXPECT_TRUE(dlg.Radius->isEnabled());
    dlg.WPShape->setEditText("x");
    EXPECT_EQ(dlg.SymbolCode(), -1);
    EXPECT_FALSE(dlg.Radius->isEnabled());
}

TEST_F(WPeditDlgTest, PreviewDrawsTheSymbolInTheChartColours)
{
    auto foregroundPixels = [this] {
        const QImage image = dlg.Image1->pixmap().toImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += chartwin::RgbToBgr(image.pixel(x, y)) == 0xFFFFFF;
        EXPECT_EQ(chartwin::RgbToBgr(image.pixel(0, 0)), 0x800000u);
        return count;
    };
    dlg.WPShape->setCurrentIndex(23); // no shape
    EXPECT_EQ(foregroundPixels(), 0);
    dlg.WPShape->setCurrentIndex(36); // large cross
    EXPECT_GT(foregroundPixels(), 4);
    EXPECT_EQ(dlg.PreviewCode, 36);
}

TEST_F(WPeditDlgTest, ShowOnlyLookIsNotEditModeAndClosesWithOk)
{
    dlg.SetShowOnly(true);
    EXPECT_FALSE(dlg.InEditMode());
    EXPECT_FALSE(dlg.BitBtn1->isVisibleTo(&dlg));
    EXPECT_FALSE(dlg.GroupBox1->isEnabled());
    dlg.BitBtn2->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);

    dlg.SetShowOnly(false);
    EXPECT_TRUE(dlg.InEditMode());
    EXPECT_TRUE(dlg.GroupBox1->isEnabled());
    dlg.BitBtn2->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST_F(WPeditDlgTest, ClosingCompletesThePositionTexts)
{
    SetPosition(L("51°2S"), "");
    dlg.done(QDialog::Rejected);
    EXPECT_EQ(ls(dlg.Latitude->text()), L("51°20000000S"));
    EXPECT_EQ(ls(dlg.Longitude->text()), L("000°00.00000W"));
}

} // namespace

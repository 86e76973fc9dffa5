// The latitude and longitude fields of every dialog that takes a position,
// typed key by key and closed with OK: what reads whole is taken exactly as
// typed, anything else is refused in an error box naming the field while the
// dialog stays open.

#include "dialogs/CTRef.h"
#include "dialogs/WPeditDlg.h"
#include "nav/LatLonText.h"
#include "nav/NavState.h"
#include "platform/QtText.h"
#include "support/ScriptedUi.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <gtest/gtest.h>

namespace
{

// Test texts are written with "°"; the program holds the Latin-1 byte 0xB0.
std::string L(const char* utf8)
{
    return ls(QString::fromUtf8(utf8));
}

void Type(QLineEdit* field, const char* utf8Keys)
{
    field->clear();
    for (QChar key : QString::fromUtf8(utf8Keys)) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(key));
        QCoreApplication::sendEvent(field, &press);
    }
}

// One dialog's pair of position fields and what OK takes from them.
struct PositionForm {
    QDialog* dialog;
    QLineEdit* lat;
    QLineEdit* lon;
    QPushButton* ok;
    std::string latName, lonName;
    std::function<void(double&, double&)> taken; // after OK
};

struct Case {
    const char* what;
    const char* latKeys;
    const char* lonKeys;
    // Taken: the position as its texts, else the start of the box's text
    // after the field's name.
    const char* latTaken;
    const char* lonTaken;
    const char* refusedLat = nullptr;
    const char* refusedLon = nullptr;
};

const Case kCases[] = {
    { "the form the help shows", "50°49.12345N", "001°15.00000W", "50°49.12345N", "001°15.00000W" },
    { "digits only", "504770000N", "0011500000W", "50°47.70000N", "001°15.00000W" },
    { "digits with the point typed", "5047.80000N", "00115.5E", "50°47.80000N", "001°15.50000E" },
    { "short, completed with zeros", "50°07.1s", "179°50w", "50°07.10000S", "179°50.00000W" },
    { "the greatest longitude", "00°00.00000N", "180°00.00000E", "00°00.00000N", "180°00.00000E" },
    { "a point typed before the field's", "50°4.712345N", "001°15.00000W", nullptr, nullptr,
        " \"50°4..712345\" cannot be read" },
    { "a missing hemisphere", "50°47.80000", "001°15.00000W", nullptr, nullptr,
        " \"50°47.800000\" cannot be read" },
    { "sixty minutes", "50°60.00000N", "001°15.00000W", nullptr, nullptr,
        " \"50°60.00000N\" cannot be read" },
    { "a latitude out of range", "95°00.00000N", "001°15.00000W", nullptr, nullptr,
        " \"95°00.00000N\" is outside 90°S to 90°N." },
    { "a longitude out of range", "50°00.00000N", "180°00.00001W", nullptr, nullptr, nullptr,
        " \"180°00.00001W\" is outside 180°W to 180°E." },
    { "a longitude with a north letter", "50°00.00000N", "001°15.00000N", nullptr, nullptr, nullptr,
        " \"001°15.00000N\" cannot be read" },
};

void RunCases(const PositionForm& form)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        platform::ScriptedUi ui;
        form.dialog->show();
        Type(form.lat, c.latKeys);
        Type(form.lon, c.lonKeys);
        form.ok->click();
        if (c.latTaken) {
            EXPECT_TRUE(ui.messages().empty());
            EXPECT_FALSE(form.dialog->isVisible());
            double lat = 0, lon = 0;
            form.taken(lat, lon);
            std::string latText, lonText;
            FormatLatLonDM(lat, lon, latText, lonText);
            EXPECT_EQ(latText, L(c.latTaken));
            EXPECT_EQ(lonText, L(c.lonTaken));
            continue;
        }
        const bool lat = c.refusedLat != nullptr;
        const std::string expected
            = (lat ? form.latName : form.lonName) + L(lat ? c.refusedLat : c.refusedLon);
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].substr(0, expected.size()), expected);
        EXPECT_EQ(ui.shown()[0].kind, "message:error");
        EXPECT_TRUE(form.dialog->isVisible());
        QLineEdit* field = lat ? form.lat : form.lon;
        EXPECT_EQ(field->selectedText(), field->text());
        form.dialog->reject();
        EXPECT_FALSE(form.dialog->isVisible());
    }
}

class LatLonFieldsTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetNavState(); }
};

TEST_F(LatLonFieldsTest, WaypointPositionIsTakenAsTypedOrRefused)
{
    TWPeditDlg dlg;
    RunCases(
        { &dlg, dlg.Latitude, dlg.Longitude, dlg.BitBtn1, "Lat", "Long", [&dlg](double& lat, double& lon) {
             TPosition p;
             WaypointNameField name;
             dlg.EditedWaypoint(p, name);
             lat = p.lat;
             lon = p.lon;
         } });
}

TEST_F(LatLonFieldsTest, ImageCornersAreTakenAsTypedOrRefused)
{
    TCTRef dlg;
    dlg.SetImage("Entrance", true);
    // The south-east corner as typed; the north-west one stays as it reads.
    dlg.SetControls(ChartletReference {});
    RunCases({ &dlg, dlg.SELat, dlg.SELong, dlg.OKBtn, "SE Corner latitude", "SE Corner longitude",
        [&dlg](double& lat, double& lon) {
            const ChartletReference r = dlg.Controls();
            lat = r.seLat;
            lon = r.seLon;
        } });
}

TEST_F(LatLonFieldsTest, ReadOnlyWaypointClosesWithoutReading)
{
    platform::ScriptedUi ui;
    TWPeditDlg dlg;
    dlg.SetShowOnly(true);
    dlg.show();
    dlg.Longitude->setText(qs(L("200°00.00000W"))); // as an old file may hold
    dlg.BitBtn2->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(ui.messages().empty());
}

} // namespace

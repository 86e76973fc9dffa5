// The "Select Port" dialog and the component's open without a port number.
#include "PortFixture.h"

#include <QComboBox>

#include "serial/SerExcept.h"
#include "serial/SerSelCom.h"
#include "support/ScriptedUi.h"

using namespace serial;
using namespace serial::test;

namespace
{

std::vector<std::string> Items(const TComSelectForm& form)
{
    std::vector<std::string> items;
    for (int i = 0; i < form.PortsComboBox->count(); ++i)
        items.push_back(form.PortsComboBox->itemText(i).toStdString());
    return items;
}

} // namespace

TEST(SerSelCom, ListsThePortsThatExistHeldOnesIncluded)
{
    IsolatedPorts isolated;
    kvtest::PtyPair com3, com7, com12, com51;
    com3.MapAs(3);
    com7.MapAs(7);
    com12.MapAs(12);
    com51.MapAs(51); // beyond the list
    TSerialPort holder;
    holder.SetComNumber(7);
    holder.SetOpen(true);

    TComSelectForm form;
    EXPECT_EQ(form.windowTitle().toStdString(), "Select Port");
    EXPECT_EQ(Items(form), (std::vector<std::string> { "COM3", "COM7", "COM12" }));
    EXPECT_EQ(form.SelectedComNumber(), 3);
    form.PortsComboBox->setCurrentIndex(2);
    EXPECT_EQ(form.SelectedComNumber(), 12);
    EXPECT_TRUE(PortExists(7));
    EXPECT_FALSE(PortExists(0));
    EXPECT_FALSE(PortExists(4));
}

TEST(SerSelCom, OpenWithoutPortNumberAsksForOne)
{
    IsolatedPorts isolated;
    platform::ScriptedUi ui;
    kvtest::PtyPair com3, com7;
    com3.MapAs(3);
    com7.MapAs(7);
    TSerialPort port;
    ui.answerModal([](QDialog& dialog) {
        auto& form = dynamic_cast<TComSelectForm&>(dialog);
        form.PortsComboBox->setCurrentIndex(1);
        return platform::ModalResult::Ok;
    });
    port.WriteString("$ECAPB\r\n"); // AutoOpen: the operation opens the port
    EXPECT_EQ(port.ComNumber(), 7);
    EXPECT_TRUE(port.Open());
    EXPECT_EQ(com7.Read(8), "$ECAPB\r\n");
}

TEST(SerSelCom, CancelAnEmptyListOrNoPromptRaiseNoPortSelected)
{
    IsolatedPorts isolated;
    platform::ScriptedUi ui;
    kvtest::PtyPair com3;
    com3.MapAs(3);
    TSerialPort port;
    ui.answerModal([](QDialog&) { return platform::ModalResult::Cancel; });
    try {
        port.SetOpen(true);
        FAIL();
    } catch (const ENoPortSelected& e) {
        EXPECT_STREQ(e.what(), "The ComNumber property of the TSerialPort has not been set");
    }
    EXPECT_EQ(port.ComNumber(), 0);

    // No port left: the list is empty. (The closed pseudo-terminal's name
    // may at once be another process's, so COM3 is mapped away as well.)
    com3.CloseMaster();
    kvtest::EnvScope gone("KORVEX_COM3", "/nonexistent/korvex-com3");
    ui.answerModal([](QDialog& dialog) {
        EXPECT_EQ(dynamic_cast<TComSelectForm&>(dialog).PortsComboBox->count(), 0);
        return platform::ModalResult::Ok;
    });
    EXPECT_THROW(port.SetOpen(true), ENoPortSelected);

    port.SetPromptForPort(false);
    EXPECT_THROW(port.SetOpen(true), ENoPortSelected);
    EXPECT_TRUE(ui.allAnswersUsed());
    EXPECT_FALSE(port.Open());
}

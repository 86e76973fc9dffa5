#pragma once
// The "Select Port" dialog: shown when the com-port component has to open a
// port while no port number is set. It lists COM1 to COM50 that exist on the
// machine (port n is /dev/ttyS<n-1> or the device named by KORVEX_COM<n>); a
// port that another program holds exists and is listed.

#include <QDialog>
#include <cstdint>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace serial
{

constexpr int HighestListedPort = 50;

// Whether port n exists: it opens, or it is held by another program.
bool PortExists(uint16_t portNumber);

class TComSelectForm : public QDialog
{
public:
    explicit TComSelectForm(QWidget* parent = nullptr);

    // Fills the list with the ports that exist and selects the first.
    void FormCreate();
    // The chosen port's number; 0 when the list is empty.
    uint16_t SelectedComNumber() const;

    QLabel* Label1;
    QLabel* Label2;
    QFrame* Bevel1;
    QComboBox* PortsComboBox;
    QPushButton* OkBtn;
    QPushButton* AbortBtn;
};

} // namespace serial

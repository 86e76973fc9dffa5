#include "dialogs/WPeditDlg.h"

TWPeditDlg* WPeditDlg = nullptr;

TWPeditDlg::TWPeditDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("WPeditDlg");
    setWindowTitle("Edit Nearest Waypoint");
}

#include "dialogs/OKRightDlg.h"

TOKRightDlg* OKRightDlg = nullptr;

TOKRightDlg::TOKRightDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("OKRightDlg");
    setWindowTitle("Edit Selected Route Waypoint");
}

#include "dialogs/View_ZoomDlg.h"

TView_ZoomDlg* View_ZoomDlg = nullptr;

TView_ZoomDlg::TView_ZoomDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("View_ZoomDlg");
    setWindowTitle("View and Zoom Properties");
}

#include "dialogs/Cviewer.h"

TCviewer* Cviewer = nullptr;

TCviewer::TCviewer(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("Cviewer");
    setWindowTitle("Raster Image Viewer");
}

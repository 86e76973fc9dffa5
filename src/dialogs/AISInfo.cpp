#include "dialogs/AISInfo.h"

TAISInfo* AISInfo = nullptr;

TAISInfo::TAISInfo(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("AISInfo");
    setWindowTitle("AIS Target Data");
}

#include "dialogs/CTRef.h"

TCTRef* CTRef = nullptr;

TCTRef::TCTRef(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("CTRef");
    setWindowTitle("Image Reference Information");
}

// gridmerk: converts text lists of positions into korvex chart files. Started
// in its start folder (korvex starts it in its application folder), where it
// keeps its option file "Gmk.pfg".

#include "converter/Apunit1.h"
#include "platform/QtUi.h"
#include "platform/Ui.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    platform::SetApplicationTitle("Position to KV Chart Convertor");
    QApplication::setApplicationName("Position to KV Chart Convertor");
    platform::QtUi dialogs;
    platform::setUi(&dialogs);
    int exitCode = 0;
    {
        TForm1 form;
        form.show();
        exitCode = QApplication::exec();
    }
    platform::setUi(nullptr);
    return exitCode;
}

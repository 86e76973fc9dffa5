// gridmerk: converts text lists of positions into korvex chart files. Started
// in its start folder (korvex starts it in its application folder), where it
// keeps its option file "Gmk.pfg".

#include "converter/Apunit1.h"
#include "help/HelpProgram.h"
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
    help::StartHelpSystem({ argv, argv + argc });
    int exitCode = 0;
    {
        TForm1 form;
        form.show();
        exitCode = QApplication::exec();
    }
    help::StopHelpSystem();
    platform::setUi(nullptr);
    return exitCode;
}

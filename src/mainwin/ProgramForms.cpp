#include "mainwin/ProgramForms.h"

#include "dialogs/AISInfo.h"
#include "dialogs/AboutBox.h"
#include "dialogs/AlarmDialog.h"
#include "dialogs/CTRef.h"
#include "dialogs/Cviewer.h"
#include "dialogs/GlobalDlg.h"
#include "dialogs/OKRightDlg.h"
#include "dialogs/View_ZoomDlg.h"
#include "dialogs/WPeditDlg.h"

void CreateProgramForms(const TStartOptions& options)
{
    // A start begins with the settings at the forms' defaults.
    GlobalSettings = {};
    AlarmSettings = {};
    new TMainForm(options); // sets MainForm before its creation step runs
    AlarmDialog = new TAlarmDialog(MainForm);
    View_ZoomDlg = new TView_ZoomDlg(MainForm);
    AboutBox = new TAboutBox(MainForm);
    WPeditDlg = new TWPeditDlg(MainForm, MainForm);
    GlobalDlg = new TGlobalDlg(MainForm);
    CTRef = new TCTRef(MainForm);
    Cviewer = new TCviewer(MainForm);
    OKRightDlg = new TOKRightDlg(MainForm);
    AISInfo = new TAISInfo(MainForm);
}

void FreeProgramForms()
{
    // The dialogs first: the main window's destruction may still look at them.
    auto free = [](auto*& form) {
        delete form;
        form = nullptr;
    };
    free(AISInfo);
    free(OKRightDlg);
    free(Cviewer);
    free(CTRef);
    free(GlobalDlg);
    free(WPeditDlg);
    free(AboutBox);
    free(View_ZoomDlg);
    free(AlarmDialog);
    delete MainForm; // clears MainForm
}

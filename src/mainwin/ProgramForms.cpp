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
#include "help/HelpKeys.h"

#include <QGuiApplication>
#include <QScreen>

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
    CTRef = new TCTRef(MainForm, MainForm);
    Cviewer = new TCviewer(MainForm, MainForm);
    OKRightDlg = new TOKRightDlg(MainForm);
    AISInfo = new TAISInfo(MainForm);
    // Stepping through the targets by hand redraws every view for the new one.
    QObject::connect(AISInfo, &TAISInfo::RefreshRequested, MainForm, [] { MainForm->RefreshAllViews(); });

    // The help context of each window: F1 in it opens that page.
    help::SetHelpContext(AlarmDialog, 7);
    help::SetHelpContext(View_ZoomDlg, 112);
    help::SetHelpContext(WPeditDlg, 12);
    help::SetHelpContext(GlobalDlg, 32);
    // The preferences' pages have their own (the NMEA page takes the dialog's).
    for (int page = 0; page < kGlobalPageCount; ++page)
        if (kGlobalPageContexts[page] != 0)
            help::SetHelpContext(GlobalDlg->Page(page), kGlobalPageContexts[page]);
    help::SetHelpContext(CTRef, 21);
    help::SetHelpContext(Cviewer, 18);
    help::SetHelpContext(OKRightDlg, 25);
    help::SetHelpContext(AISInfo, 24);
}

void ShowMainForm()
{
    if (QGuiApplication::primaryScreen())
        MainForm->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    MainForm->showMaximized();
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

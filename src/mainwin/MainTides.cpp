// The tidal atlas commands: open an atlas (the tidal hour then comes from
// the PC clock), remove it, and step the tidal hour by hand with the "T"
// button or Ctrl+Y. A manual step holds until the next fix sets the hour
// from the fix time again.

#include "mainwin/FixCycle.h"
#include "mainwin/Main.h"

#include "nav/LocalClock.h"
#include "nav/NavState.h"
#include "nav/TidalAtlas.h"
#include "nav/TideStep.h"
#include "platform/QtText.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>

void TMainForm::SetUpTides()
{
    OpenTideDlg.title = "Open Tidal Atlas";
    OpenTideDlg.filter = "KV Tide files (*.pos)|*.pos|All files (*.*)|*.*";
    OpenTideDlg.defaultExt = "pos";
    Bind(Tides1, &TMainForm::Tides1Click);
    Bind(Tides2, &TMainForm::Tides2Click);
    Bind(IncTide, &TMainForm::IncTideClick);
    Bind(TideStep1, &TMainForm::IncTideClick);
}

void TMainForm::Tides1Click()
{
    if (!ExecuteOpen(OpenTideDlg))
        return;
    LoadTidalData(OpenTideDlg.fileName);
    if (TideStationCount > 0) {
        const LocalDateTime now = LocalNow();
        TideHour = static_cast<int16_t>(TidalHour(now.hour, now.minute, HWHour));
    }
    RefreshAllViews();
    UpdateMenuItems();
}

void TMainForm::Tides2Click()
{
    if (!platform::AskYesNo("This will remove the current tidal atlas! - Are you sure?"))
        return;
    // The station and stream tables keep their contents; the count alone
    // says there is no atlas.
    TideStationCount = 0;
    StandardPort = "No tidal atlas !";
    RefreshAllViews();
    UpdateMenuItems();
}

void TMainForm::IncTideClick()
{
    if (TideStationCount <= 0)
        return;
    TideStepCount = static_cast<int16_t>(NextTideStep(TideStepCount));
    TideHour = TideStepCount;
    RefreshAllViews();
    StatusLine->setText(qs(TideStepStatus(TideStepCount, HWHour, StandardPort)));
}

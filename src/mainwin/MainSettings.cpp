// The preferences and timing commands: the dialog filled from the navigation
// state, shown, and on OK the state set from it (SettingsTransfer.h) with
// what follows for the window: timers, the text-log button and template,
// the tow layout, the tidal hour and the views.

#include "dialogs/Cviewer.h"
#include "mainwin/FixCycle.h"
#include "mainwin/Main.h"
#include "mainwin/SettingsTransfer.h"

#include "nav/LocalClock.h"
#include "nav/NavState.h"
#include "nav/TideStep.h"
#include "platform/QtHint.h"
#include "platform/QtTimer.h"
#include "rtl/Numbers.h"

#include <QAction>
#include <QToolButton>

namespace
{

// The raster image viewer's fix timer follows the fix interval.
void SetViewerFixInterval(int32_t ms)
{
    if (Cviewer)
        Cviewer->SetFixInterval(ms);
}

// The tidal hour from the PC clock.
void TakeTidalHourFromClock()
{
    const LocalDateTime now = LocalNow();
    TideHour = static_cast<int16_t>(TidalHour(now.hour, now.minute, HWHour));
}

} // namespace

void TMainForm::BindSettingsCommands()
{
    Bind(Global1, &TMainForm::GlobalViewClick);
    Bind(GlobalView, &TMainForm::GlobalViewClick);
    Bind(Alarms1, &TMainForm::Alarms1Click);
    Bind(TimeBtn, &TMainForm::Alarms1Click);
}

void TMainForm::GlobalViewClick()
{
    TGlobalFields fields = GlobalDlg->Fields();
    FillPreferenceFields(fields);
    TGlobalSettings settings = GlobalSettings;
    FillPreferenceSettings(settings);
    const bool approachVoice = settings.WPVoice;
    if (!GlobalDlg->Execute(settings, fields))
        return;
    GlobalSettings = settings;

    const int32_t port = ComPort;
    const int32_t baud = BaudRate;
    ApplyPreferenceFields(fields, settings);
    if (NmeaOpen && (ComPort != port || BaudRate != baud))
        platform::MessageWarning(
            "COM Port changes will not be applied until NMEA I/F is closed and re-opened !");
    TextLogFormatChange(fields.LogParse);
    AISplayTime->setInterval(static_cast<int>(rtl::Round(5000.0 / (AisPlaySpeed > 0 ? AisPlaySpeed : 1))));
    // The button is down while text logging is off.
    TxtLogOnOff->setChecked(!TextLogOn);
    SetHint(TxtLogOnOff, TextLogOn ? "Press for Text Logs Off|" : "Release for Text Logs On|");
    // A new choice of the approach voice forgets an approach not yet spoken.
    if (settings.WPVoice != approachVoice)
        WpApproachPending = false;

    TowOffsetE = 0;
    SetTowLayout();
    TakeTidalHourFromClock();
    RefreshAllViews();
}

void TMainForm::Alarms1Click()
{
    TAlarmFields fields = AlarmDialog->Fields();
    FillTimingFields(fields);
    if (!AlarmDialog->Execute(AlarmSettings, fields))
        return;
    if (!ApplyTimingFields(fields))
        platform::MessageWarning("The fix interval must be at least "
            + rtl::StrReal(kShortestFixIntervalMs / 1000.0, 0, 0) + " second - it stays at "
            + rtl::StrReal(FixIntervalMs / 1000.0, 0, 1) + " s");
    FixTimer->setInterval(FixIntervalMs);
    SetViewerFixInterval(FixIntervalMs);
    if (TideStationCount > 0) {
        TakeTidalHourFromClock();
        RefreshAllViews();
    }
}

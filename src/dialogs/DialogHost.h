#pragma once
// What a dialog asks of the window above it. The dialogs sit below the chart
// views and the main window, so they never include them: a dialog that needs
// the main window calls this interface, which the main window implements and
// hands to the dialog when it creates it. A dialog made without a host (a
// test, a tool) simply leaves the call out.
//
// Add a method here only for a call a dialog really makes upwards; settings
// go the other way, as values (see GlobalDlg.h).

class TDialogHost
{
public:
    // Opens the help file at a help context.
    virtual void ShowHelpContext(int context) = 0;

protected:
    ~TDialogHost() = default;
};

#pragma once
// A dialog that edits a settings value. The pattern for every dialog whose
// controls the program reads (GlobalDlg.h is the first):
//   - T<Dialog>Settings beside the dialog: a plain struct with one field per
//     control the program reads, named after the control, starting at the
//     form's default, comparable with ==;
//   - the program's one copy as a global value (GlobalSettings), which every
//     reader reads; no reader outside the dialog's own file touches a control;
//   - SetControls(value) and Controls() on the dialog, and an Execute that is
//     ExecuteOn below: the controls from the value when the dialog opens,
//     back into the value only on OK. Cancel leaves the value as it was.

#include "platform/Ui.h"

template <typename Dialog, typename Settings> bool ExecuteOn(Dialog& dialog, Settings& settings)
{
    dialog.SetControls(settings);
    if (platform::ui().showModal(dialog) != platform::ModalResult::Ok)
        return false;
    settings = dialog.Controls();
    return true;
}

#pragma once
// The edge of every event handler. A menu command, button, timer tick or
// window event runs inside guarded(): an error that escapes the handler is
// shown in an error box with its text and the program keeps running, with
// the state the handler left.
//
// A seam's refusal to show a dialog (DialogRefused) is passed on, so the run
// stops instead of the refusal turning into one more message box.

#include "platform/Ui.h"

#include <exception>
#include <utility>

namespace platform
{

template <typename Handler> void guarded(Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const DialogRefused&) {
        throw;
    } catch (const std::exception& e) {
        MessageError(e.what());
    } catch (...) {
        MessageError("Unknown error");
    }
}

// guarded() for a handler of `window`: the boxes and dialogs it shows, the
// error box included, come above that window.
template <typename Handler> void guardedIn(QWidget* window, Handler&& handler)
{
    AskingWindow scope(window);
    guarded(std::forward<Handler>(handler));
}

} // namespace platform

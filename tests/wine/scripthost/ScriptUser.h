// What a user of the script host's form does: the controls a script connects are shown in a
// window, and while the script sleeps the user drags the first task shown.
#pragma once

#include <windows.h>
#include <ole2.h>

namespace skx::scripthost {

// Shows the control in place in a window of the host's, as a form does; false when it is no
// control or cannot be shown.
bool ShowControl(IUnknown* control);

// Drags the first task marker of the shown control by dy pixels with real mouse messages (press,
// moves, release); false when no control is shown or it shows no task.
bool DragFirstTask(int dy);

// Dispatches this thread's messages for the time given.
void PumpMessagesFor(DWORD milliseconds);

}  // namespace skx::scripthost

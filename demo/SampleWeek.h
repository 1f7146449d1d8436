// A working week of sample tasks, made as TaskObjectX objects and handed to the control.
#pragma once

#include "SkedraXControl.h"

namespace demo {

// Adds the sample week that starts on Monday; the tasks show from the control's next layout on.
// Returns the first failure, or S_OK.
HRESULT AddSampleWeek(ISkedraX& Control, double Monday);

}  // namespace demo

// The grid's saved state: its view kind and the control properties a container can set.
#pragma once

#include "Framework/Core/PropertyStore.h"

namespace skx {

class TSkedra;
class TWinControl;

void WriteSkedraState(const TSkedra& grid, TPropertyStore& store);
// Checks every value before it changes anything: a value outside its range raises EReadError
// and leaves the grid as it was. Missing values keep the grid's own.
void ReadSkedraState(TSkedra& grid, const TPropertyStore& store);

// The same for the window control as the control framework sees it.
void WriteSkedraControlState(const TWinControl& control, TPropertyStore& store);
void ReadSkedraControlState(TWinControl& control, const TPropertyStore& store);

}  // namespace skx

// The base task draws nothing and agrees to every edit and deletion.
#include "SkedraComp/TaskObject.h"

namespace skx {

void TTaskObject::Draw(TCanvas&, const TRect&) {}
bool TTaskObject::EditAppend() { return true; }
bool TTaskObject::EditUpdate() { return true; }
bool TTaskObject::ConfirmDelete() { return true; }

}  // namespace skx

// The base task draws nothing and agrees to every edit and deletion.
#include "SkedraComp/TaskObject.h"

namespace skx {

void TTaskObject::Draw(TCanvas&, const TRect&) {}
bool TTaskObject::EditAppend() { return true; }
bool TTaskObject::EditUpdate() { return true; }
bool TTaskObject::ConfirmDelete() { return true; }
String TTaskObject::AccessibleSubject() const { return String(); }
String TTaskObject::AccessibleDetails() const { return String(); }

}  // namespace skx

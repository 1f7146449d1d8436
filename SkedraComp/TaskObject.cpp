// The base task draws nothing and agrees to every edit and deletion; its identifier is settable.
#include "SkedraComp/TaskObject.h"

#include "Framework/Core/Exceptions.h"

namespace skx {

void TTaskObject::Draw(TCanvas&, const TRect&) {}
bool TTaskObject::EditAppend() { return true; }
bool TTaskObject::EditUpdate() { return true; }
bool TTaskObject::ConfirmDelete() { return true; }
String TTaskObject::AccessibleSubject() const { return String(); }
String TTaskObject::AccessibleDetails() const { return String(); }

void TTaskObject::SetID(int value) {
  if (FOwned) throw EInvalidOperation(L"The identifier of a task cannot change once it is in a schedule");
  FID = value;
}

}  // namespace skx

// The host of the control's modal dialogs, and the bracket around each dialog.
#include "Framework/Win32/ModalHost.h"

namespace skx {

TModalScope::TModalScope(TModalHost* Host) : FHost(Host), FOwner(nullptr) {
  if (FHost != nullptr) {
    FOwner = FHost->ModalOwner();
    FHost->EnableModeless(false);
  } else {
    FOwner = ::GetActiveWindow();
  }
}

TModalScope::~TModalScope() {
  if (FHost != nullptr) FHost->EnableModeless(true);
}

}  // namespace skx

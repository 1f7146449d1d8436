// The host of the control's modal dialogs, and the bracket around each dialog.
#include "Framework/Win32/ModalHost.h"

namespace skx {

namespace {
TModalHost* ModalHost = nullptr;
}  // namespace

void SetModalHost(TModalHost* Host) { ModalHost = Host; }
TModalHost* GetModalHost() { return ModalHost; }

TModalScope::TModalScope() : FHost(ModalHost), FOwner(nullptr) {
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

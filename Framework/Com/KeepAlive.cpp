// Deferred final releases, run from a thread timer of the message loop.
#include "Framework/Com/KeepAlive.h"

#include <map>

namespace skx {

namespace {

std::map<UINT_PTR, IUnknown*>& Pending() {
  static std::map<UINT_PTR, IUnknown*> pending;
  return pending;
}

void CALLBACK ReleasePending(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  auto found = Pending().find(timer);
  if (found == Pending().end()) return;
  IUnknown* object = found->second;
  Pending().erase(found);
  object->Release();
}

}  // namespace

TKeepAlive::TKeepAlive(IUnknown* object) : FObject(object) { FObject->AddRef(); }

TKeepAlive::~TKeepAlive() {
  FObject->AddRef();
  bool last = FObject->Release() == 1;
  if (last) {
    UINT_PTR timer = ::SetTimer(nullptr, 0, 0, &ReleasePending);
    if (timer != 0) {
      Pending()[timer] = FObject;
      return;
    }
  }
  FObject->Release();
}

}  // namespace skx

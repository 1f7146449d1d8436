// Keeps an object alive across a call out to a container that may release it.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace skx {

// The container may drop its last reference to the control inside an event, while the code
// that raised the event still runs on the control: when this holds the last reference, the
// final release waits for the message loop instead of freeing the object under that code.
class TKeepAlive {
 public:
  explicit TKeepAlive(IUnknown* object);
  ~TKeepAlive();
  TKeepAlive(const TKeepAlive&) = delete;
  TKeepAlive& operator=(const TKeepAlive&) = delete;

 private:
  IUnknown* FObject;
};

}  // namespace skx

// Small COM helpers: failure checks, wide strings and GUID texts.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

#include "Framework/Core/Strings.h"

namespace skx {

// Raises EOleError with the system's text for a failed result; returns the result otherwise.
HRESULT OleCheck(HRESULT result);

String BstrToString(BSTR value);
// A new BSTR, or a null BSTR for an empty text (the automation form of an empty string).
BSTR StringToBstr(const String& value);
std::wstring GuidToString(REFGUID guid);

// Owns one reference to an interface.
template <typename T>
class TComRef {
 public:
  TComRef() = default;
  // Takes over a reference the caller already holds.
  explicit TComRef(T* object) : FObject(object) {}
  ~TComRef() { Reset(); }
  TComRef(const TComRef&) = delete;
  TComRef& operator=(const TComRef&) = delete;

  T* Get() const { return FObject; }
  T* operator->() const { return FObject; }
  explicit operator bool() const { return FObject != nullptr; }
  // Out-parameter of a call that hands over a reference; any earlier one is released first.
  T** Receive() {
    Reset();
    return &FObject;
  }
  // Keeps a reference of its own to object (which may be null).
  void Assign(T* object) {
    if (object != nullptr) object->AddRef();
    Reset();
    FObject = object;
  }
  void Reset() {
    T* old = FObject;
    FObject = nullptr;
    if (old != nullptr) old->Release();
  }

 private:
  T* FObject = nullptr;
};

}  // namespace skx

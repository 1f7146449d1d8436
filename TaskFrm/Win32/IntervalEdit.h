// The reminder interval box: an edit with an up-down control.
#pragma once

#include <windows.h>

#include "Framework/Win32/Subclass.h"

#include "Framework/Core/Strings.h"

namespace skx {

// Takes over the edit for its lifetime: it accepts digits, the two signs and the decimal
// separator as typed characters, and a number out of range becomes the nearer bound when the
// focus leaves it.
class TIntervalEdit {
 public:
  TIntervalEdit(HWND Edit, HWND UpDown);
  ~TIntervalEdit();
  TIntervalEdit(const TIntervalEdit&) = delete;
  TIntervalEdit& operator=(const TIntervalEdit&) = delete;

  HWND Handle() const { return FEdit; }
  String Text() const;
  void SetText(const String& Value);
  void SetVisible(bool Visible);

 private:
  friend class TSubclass<TIntervalEdit>;
  LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);
  bool Accepts(wchar_t C) const;

  HWND FEdit;
  HWND FUpDown;
  wchar_t FDecimalSeparator = L'.';
};

}  // namespace skx

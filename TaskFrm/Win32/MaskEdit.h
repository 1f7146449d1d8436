// A Windows edit control that follows an edit mask.
#pragma once

#include <windows.h>

#include "Framework/Win32/Subclass.h"

#include "TaskFrm/EditMask.h"

namespace skx {

// Takes over an edit control for its lifetime: typed, pasted and deleted characters go through
// the mask, Escape after a change returns to the text it had when it got the focus, and a
// change that leaves a required position empty refuses the focus with a beep and a message.
class TMaskEdit {
 public:
  TMaskEdit(HWND Edit, const String& Mask);
  ~TMaskEdit();
  TMaskEdit(const TMaskEdit&) = delete;
  TMaskEdit& operator=(const TMaskEdit&) = delete;

  HWND Handle() const { return FEdit; }
  // The text with the mask applied: literals kept, empty positions as blanks.
  String Text() const { return FMask.Text(); }
  // Fits the text into the mask (WM_SETTEXT does the same).
  void SetText(const String& Value);

 private:
  friend class TSubclass<TMaskEdit>;
  LRESULT Handle(UINT Msg, WPARAM WParam, LPARAM LParam);
  void Show(size_t Caret);
  void TypeText(const String& Text);
  void ClearSelection();
  DWORD Selection(size_t& From, size_t& To) const;
  void RefuseLeaving();

  HWND FEdit;
  TEditMask FMask;
};

}  // namespace skx

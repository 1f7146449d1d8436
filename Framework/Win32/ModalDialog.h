// A dialog window built from code: pixel-exact controls, shown modally like a form.
#pragma once

#include <windows.h>

#include "Framework/Core/DateTime.h"
#include "Framework/Core/Geometry.h"
#include "Framework/Core/Graphics.h"
#include "Framework/Core/Strings.h"
#include "Framework/Win32/GdiObjects.h"
#include "Framework/Win32/ModalHost.h"

namespace skx {

// The text of a window.
String WindowText(HWND Window);
// A font for a dialog's controls.
TGdiObject<HFONT> MakeFont(const TFont& Font, TScale Scale = TScale());

// The values of standard controls: check boxes, drop-down lists and date pickers.
bool Checked(HWND Box);
void SetChecked(HWND Box, bool Value);
int ItemIndex(HWND List);
void SetItemIndex(HWND List, int Index);
void AddItem(HWND List, const wchar_t* Text);
String ItemText(HWND List, UINT Index);
TDateTime PickerDate(HWND Picker);
void SetPickerDate(HWND Picker, TDateTime Date);

constexpr int mrNone = 0;
constexpr int mrOk = IDOK;
constexpr int mrCancel = IDCANCEL;

class TModalDialog {
 public:
  virtual ~TModalDialog();
  TModalDialog(const TModalDialog&) = delete;
  TModalDialog& operator=(const TModalDialog&) = delete;

  HWND Handle() const { return FWindow; }
  // Shows the dialog owned by the window that Host names (the control's container), or else by
  // the active window, which stays disabled until the dialog closes with a modal result; answers
  // that result. The dialog is hidden, not destroyed, so its controls can still be read.
  int ShowModal(TModalHost* Host);
  int ModalResult() const { return FModalResult; }

 protected:
  TModalDialog() = default;
  // Creates the hidden top-level dialog window, its client area placed in the screen's centre.
  // Called from the derived constructor's body: from then on messages reach Message.
  void CreateForm(const String& Caption, int ClientWidth, int ClientHeight);
  // Destroys the window with its controls; a derived destructor calls it before it frees what
  // its controls use. No message reaches Message afterwards.
  void DestroyHandle();

  // A child dialog (a page) that routes its messages to Message as well.
  HWND CreatePage(const TRect& Bounds);
  // A control; WS_CHILD and WS_VISIBLE are added. Raises when the window cannot be made.
  HWND CreateControl(HWND Parent, const wchar_t* ClassName, const String& Text, DWORD Style,
                     DWORD ExStyle, const TRect& Bounds, int Id, HFONT Font);

  // Messages of the dialog and of its pages, answered as a dialog procedure answers (FALSE: not
  // handled). Failures are shown and the dialog goes on.
  virtual INT_PTR Message(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) = 0;
  // A message before the dialog manager sees it; true when it was used up.
  virtual bool PreTranslate(MSG&) { return false; }
  // Asked on every attempt to close (OK, Cancel, Escape, the close box) while the modal result
  // holds the attempt's result; false keeps the dialog open.
  virtual bool CloseQuery() { return true; }
  // The control that has the focus when the dialog is shown.
  virtual HWND FirstFocus() = 0;

  // OK and Cancel (from the buttons, Enter, Escape and the close box) try to close.
  void TryClose(int Result);

 private:
  static INT_PTR CALLBACK DialogProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
  HWND CreateDialogWindow(HWND Parent, DWORD Style, DWORD ExStyle, const String& Caption);

  HWND FWindow = nullptr;
  bool FRouting = false;
  int FModalResult = mrNone;
};

}  // namespace skx

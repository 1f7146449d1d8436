// The reminder interval box on an edit and an up-down control.
#include "TaskFrm/Win32/IntervalEdit.h"

#include <commctrl.h>

#include "Framework/Win32/ModalDialog.h"
#include "TaskFrm/TaskFormValues.h"

namespace skx {

TIntervalEdit::TIntervalEdit(HWND Edit, HWND UpDown) : FEdit(Edit), FUpDown(UpDown) {
  wchar_t separator[8] = {};
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) > 0) {
    FDecimalSeparator = separator[0];
  }
  ::SendMessageW(FUpDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(FEdit), 0);
  ::SendMessageW(FUpDown, UDM_SETRANGE32, MinReminderInterval, MaxReminderInterval);
  ::SendMessageW(FUpDown, UDM_SETPOS32, 0, DefaultReminderInterval);
  TSubclass<TIntervalEdit>::Attach(FEdit, this);
}

TIntervalEdit::~TIntervalEdit() { TSubclass<TIntervalEdit>::Detach(FEdit); }

String TIntervalEdit::Text() const { return WindowText(FEdit); }

void TIntervalEdit::SetText(const String& Value) { ::SetWindowTextW(FEdit, Value.c_str()); }

void TIntervalEdit::SetVisible(bool Visible) {
  ::ShowWindow(FEdit, Visible ? SW_SHOW : SW_HIDE);
  ::ShowWindow(FUpDown, Visible ? SW_SHOW : SW_HIDE);
}

bool TIntervalEdit::Accepts(wchar_t C) const {
  return (C >= L'0' && C <= L'9') || C == L'+' || C == L'-' || C == FDecimalSeparator || C < L' ';
}

LRESULT TIntervalEdit::Handle(UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_CHAR && !Accepts(static_cast<wchar_t>(WParam))) {
    ::MessageBeep(0);
    return 0;
  }
  if (Msg == WM_KILLFOCUS) {
    const String text = Text();
    const String clamped = IntervalOnExit(text);
    if (clamped != text) SetText(clamped);
  }
  return ::DefSubclassProc(FEdit, Msg, WParam, LParam);
}


}  // namespace skx

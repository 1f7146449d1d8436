// The masked edit on a Windows edit control.
#include "TaskFrm/Win32/MaskEdit.h"

#include <commctrl.h>


namespace skx {

namespace {

// Posted when the focus left a field it may not leave, to take the focus back.
constexpr UINT WM_REFUSE_LEAVING = WM_APP + 1;

String ClipboardText(HWND owner) {
  String text;
  if (!::OpenClipboard(owner)) return text;
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
      text = chars;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

}  // namespace

TMaskEdit::TMaskEdit(HWND Edit, const String& Mask) : FEdit(Edit), FMask(Mask) {
  ::SendMessageW(FEdit, EM_LIMITTEXT, FMask.Length(), 0);
  TSubclass<TMaskEdit>::Attach(FEdit, this);
  Show(0);
}

TMaskEdit::~TMaskEdit() { TSubclass<TMaskEdit>::Detach(FEdit); }

void TMaskEdit::SetText(const String& Value) {
  FMask.SetText(Value);
  Show(0);
}

void TMaskEdit::Show(size_t Caret) {
  ::DefSubclassProc(FEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(FMask.EditText().c_str()));
  ::SendMessageW(FEdit, EM_SETSEL, Caret, Caret);
}

DWORD TMaskEdit::Selection(size_t& From, size_t& To) const {
  DWORD start = 0, end = 0;
  ::SendMessageW(FEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  From = start;
  To = end;
  return end - start;
}

void TMaskEdit::ClearSelection() {
  size_t from, to;
  Selection(from, to);
  FMask.Clear(from, to);
  Show(from);
}

void TMaskEdit::TypeText(const String& Text) {
  size_t from, to;
  Selection(from, to);
  FMask.Clear(from, to);
  size_t caret = from;
  bool typed = false;
  for (wchar_t c : Text) typed = FMask.TypeChar(caret, c) || typed;
  if (!typed) ::MessageBeep(0);
  Show(caret);
}

void TMaskEdit::RefuseLeaving() {
  ::MessageBeep(0);
  ::SetFocus(FEdit);
  HWND form = ::GetAncestor(FEdit, GA_ROOT);
  wchar_t caption[128] = {};
  ::GetWindowTextW(form, caption, 128);
  ::MessageBoxW(form, InvalidMaskInputMessage, caption, MB_OK | MB_ICONERROR);
  // The box gives the focus back to whichever control the dialog remembered.
  ::SetFocus(FEdit);
}

LRESULT TMaskEdit::Handle(UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_CHAR:
      if (WParam == VK_BACK) {
        size_t from, to;
        if (Selection(from, to) > 0) {
          ClearSelection();
        } else {
          Show(FMask.Backspace(from));
        }
        return 0;
      }
      // Control characters: copy, paste and cut come back as their own messages; the edit's own
      // undo (Ctrl+Z) would go round the mask.
      if (WParam < L' ') return WParam == 0x1A ? 0 : ::DefSubclassProc(FEdit, Msg, WParam, LParam);
      TypeText(String(1, static_cast<wchar_t>(WParam)));
      return 0;
    case WM_KEYDOWN:
      if (WParam == VK_DELETE) {
        size_t from, to;
        if (Selection(from, to) == 0) ::SendMessageW(FEdit, EM_SETSEL, from, from + 1);
        ClearSelection();
        return 0;
      }
      if (WParam == VK_ESCAPE && FMask.Modified()) {
        FMask.Undo();
        Show(0);
        return 0;
      }
      break;
    case WM_GETDLGCODE: {
      // Escape abandons a change before it can cancel the dialog.
      const auto* msg = reinterpret_cast<const MSG*>(LParam);
      LRESULT code = ::DefSubclassProc(FEdit, Msg, WParam, LParam);
      if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE && FMask.Modified())
        code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_PASTE:
      TypeText(ClipboardText(FEdit));
      return 0;
    case WM_CUT:
      ::DefSubclassProc(FEdit, WM_COPY, 0, 0);
      ClearSelection();
      return 0;
    case WM_CLEAR:
      ClearSelection();
      return 0;
    case WM_UNDO:
    case EM_UNDO:
      return 0;
    case WM_SETTEXT:
      FMask.SetText(LParam != 0 ? reinterpret_cast<const wchar_t*>(LParam) : L"");
      Show(0);
      return TRUE;
    case WM_SETFOCUS:
      // Escape returns to the text the field had when it got the focus; a field that was
      // refused its leaving keeps the text from before the change.
      if (FMask.CanLeave()) FMask.MarkUnmodified();
      break;
    case WM_KILLFOCUS: {
      // Only a move inside the same window is refused: switching to another window is not.
      const LRESULT result = ::DefSubclassProc(FEdit, Msg, WParam, LParam);
      HWND next = reinterpret_cast<HWND>(WParam);
      if (!FMask.CanLeave() && next != nullptr &&
          ::GetAncestor(next, GA_ROOT) == ::GetAncestor(FEdit, GA_ROOT)) {
        ::PostMessageW(FEdit, WM_REFUSE_LEAVING, 0, 0);
      }
      return result;
    }
    case WM_REFUSE_LEAVING:
      if (!FMask.CanLeave() && ::GetFocus() != FEdit) RefuseLeaving();
      return 0;
  }
  return ::DefSubclassProc(FEdit, Msg, WParam, LParam);
}


}  // namespace skx

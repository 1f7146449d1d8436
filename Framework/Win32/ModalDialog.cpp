// Dialog windows built from code and their modal loop.
#include "Framework/Win32/ModalDialog.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "Framework/Core/Exceptions.h"
#include "Framework/Win32/ErrorReport.h"
#include "Framework/Win32/GdiCanvas.h"
#include "Framework/Win32/ModalHost.h"
#include "Framework/Win32/Module.h"

namespace skx {

namespace {

constexpr DWORD FormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD FormExStyle = WS_EX_DLGMODALFRAME;

// Re-enables the owner when the modal loop ends, however it ends.
class TOwnerDisabled {
 public:
  explicit TOwnerDisabled(HWND owner)
      : FOwner(owner != nullptr && ::IsWindowEnabled(owner) ? owner : nullptr) {
    if (FOwner != nullptr) ::EnableWindow(FOwner, FALSE);
  }
  ~TOwnerDisabled() {
    if (FOwner != nullptr) ::EnableWindow(FOwner, TRUE);
  }
  TOwnerDisabled(const TOwnerDisabled&) = delete;
  TOwnerDisabled& operator=(const TOwnerDisabled&) = delete;

 private:
  HWND FOwner;
};

}  // namespace

TDateTime PickerDate(HWND Picker) {
  SYSTEMTIME time{};
  ::SendMessageW(Picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
  return EncodeDate(time.wYear, time.wMonth, time.wDay);
}

void SetPickerDate(HWND Picker, TDateTime Date) {
  int year, month, day;
  DecodeDate(Date, year, month, day);
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(day);
  ::SendMessageW(Picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

bool Checked(HWND Box) { return ::SendMessageW(Box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND Box, bool Value) {
  ::SendMessageW(Box, BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
}

int ItemIndex(HWND List) { return static_cast<int>(::SendMessageW(List, CB_GETCURSEL, 0, 0)); }

void SetItemIndex(HWND List, int Index) { ::SendMessageW(List, CB_SETCURSEL, Index, 0); }

void AddItem(HWND List, const wchar_t* Text) {
  ::SendMessageW(List, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text));
}

String ItemText(HWND List, UINT Index) {
  const LRESULT length = ::SendMessageW(List, CB_GETLBTEXTLEN, Index, 0);
  if (length <= 0) return String();
  String text(static_cast<size_t>(length) + 1, L'\0');
  ::SendMessageW(List, CB_GETLBTEXT, Index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  return text;
}

String WindowText(HWND Window) {
  const int length = ::GetWindowTextLengthW(Window);
  String text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(Window, &text[0], length + 1)));
  return text;
}

TGdiObject<HFONT> MakeFont(const TFont& Font, TScale Scale) {
  const LOGFONTW description = ToLogFont(Font, Scale);
  return TGdiObject<HFONT>(::CreateFontIndirectW(&description));
}

void TModalDialog::CreateForm(const String& Caption, int ClientWidth, int ClientHeight) {
  FRouting = true;
  FWindow = CreateDialogWindow(nullptr, FormStyle, FormExStyle, Caption);
  // The frame is measured rather than computed: without a window manager the system draws none.
  RECT frame{0, 0, ClientWidth, ClientHeight};
  ::AdjustWindowRectEx(&frame, FormStyle, FALSE, FormExStyle);
  ::SetWindowPos(FWindow, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT window, client;
  ::GetWindowRect(FWindow, &window);
  ::GetClientRect(FWindow, &client);
  const int width = window.right - window.left + ClientWidth - client.right;
  const int height = window.bottom - window.top + ClientHeight - client.bottom;
  ::SetWindowPos(FWindow, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

TModalDialog::~TModalDialog() { DestroyHandle(); }

void TModalDialog::DestroyHandle() {
  FRouting = false;
  if (FWindow != nullptr) ::DestroyWindow(FWindow);
  FWindow = nullptr;
}

HWND TModalDialog::CreateDialogWindow(HWND Parent, DWORD Style, DWORD ExStyle,
                                      const String& Caption) {
  // A template without controls: menu and class empty, then the caption.
  std::vector<DWORD> buffer((sizeof(DLGTEMPLATE) + (Caption.size() + 3) * sizeof(WCHAR)) /
                                sizeof(DWORD) + 1);
  auto* dialog = reinterpret_cast<DLGTEMPLATE*>(buffer.data());
  dialog->style = Style;
  dialog->dwExtendedStyle = ExStyle;
  auto* words = reinterpret_cast<WORD*>(dialog + 1);
  words[0] = 0;
  words[1] = 0;
  std::memcpy(words + 2, Caption.c_str(), (Caption.size() + 1) * sizeof(WCHAR));
  HWND window = ::CreateDialogIndirectParamW(ThisModule(), dialog, Parent, DialogProc,
                                             reinterpret_cast<LPARAM>(this));
  if (window == nullptr) throw Exception(L"Cannot create the dialog window " + Caption);
  return window;
}

HWND TModalDialog::CreatePage(const TRect& Bounds) {
  HWND page = CreateDialogWindow(FWindow, WS_CHILD | DS_CONTROL, 0, String());
  ::SetWindowPos(page, nullptr, Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  return page;
}

HWND TModalDialog::CreateControl(HWND Parent, const wchar_t* ClassName, const String& Text,
                                 DWORD Style, DWORD ExStyle, const TRect& Bounds, int Id,
                                 HFONT Font) {
  HWND control = ::CreateWindowExW(ExStyle, ClassName, Text.c_str(), WS_CHILD | WS_VISIBLE | Style,
                                   Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height(), Parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)), ThisModule(),
                                   nullptr);
  if (control == nullptr) throw Exception(String(L"Cannot create a window of class ") + ClassName);
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(Font), FALSE);
  return control;
}

int TModalDialog::ShowModal(TModalHost* Host) {
  TModalScope scope(Host);
  ::SetWindowLongPtrW(FWindow, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(scope.Owner()));
  FModalResult = mrNone;
  {
    TOwnerDisabled disabled(scope.Owner());
    ::ShowWindow(FWindow, SW_SHOW);
    ::SetForegroundWindow(FWindow);
    ::SetFocus(FirstFocus());
    MSG msg;
    while (FModalResult == mrNone) {
      const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
      if (got <= 0) {
        // The thread is asked to end: the loop ends with Cancel and leaves the request in place.
        if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
        FModalResult = mrCancel;
        break;
      }
      if (PreTranslate(msg) || ::IsDialogMessageW(FWindow, &msg)) continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  // Hidden after the owner is enabled again, so that the owner is activated in its place.
  ::ShowWindow(FWindow, SW_HIDE);
  return FModalResult;
}

void TModalDialog::TryClose(int Result) {
  FModalResult = Result;
  bool canClose = false;
  try {
    canClose = CloseQuery();
  } catch (...) {
    FModalResult = mrNone;
    throw;
  }
  if (!canClose) FModalResult = mrNone;
}

INT_PTR CALLBACK TModalDialog::DialogProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_INITDIALOG) {
    ::SetWindowLongPtrW(Window, DWLP_USER, LParam);
    return FALSE;
  }
  auto* self = reinterpret_cast<TModalDialog*>(::GetWindowLongPtrW(Window, DWLP_USER));
  if (self == nullptr || !self->FRouting) return FALSE;
  try {
    if (const INT_PTR answer = self->Message(Window, Msg, WParam, LParam)) return answer;
    const int id = LOWORD(WParam);
    if (Msg == WM_COMMAND && Window == self->FWindow && (id == IDOK || id == IDCANCEL)) {
      self->TryClose(id);
      return TRUE;
    }
  } catch (...) {
    ReportCurrentException(self->FWindow);
    return TRUE;
  }
  return FALSE;
}

}  // namespace skx

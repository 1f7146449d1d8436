// The task dialog's layout: one row per control, in tab order, each made as its kind says.
#include "TaskFrm/Win32/TaskForm.h"

#include <commctrl.h>

namespace skx {

namespace {

constexpr int FormWidth = 477;
constexpr int FormHeight = 353;
constexpr TRect PageControlBounds{8, 8, 8 + 461, 8 + 305};
// The group box's controls are placed relative to the box, which lies at (4, 8) on its page.
constexpr int WhenLeft = 4;
constexpr int WhenTop = 8;
constexpr int VisibleItems = 3;

constexpr DWORD TabStop = WS_TABSTOP | WS_GROUP;
constexpr DWORD EditStyle = ES_AUTOHSCROLL | TabStop;

constexpr TRect InWhenBox(int left, int top, int width, int height) {
  return Bounds(WhenLeft + left, WhenTop + top, width, height);
}

enum class TRowKind { GroupBox, Label, Edit, DatePicker, Image, ClearButton, List, CheckBox, UpDown, Memo, Button };
enum class TRowPlace { General, Notes, Form };

// A label's access key is only drawn: the dialog manager moves the focus on access keys of
// controls that call themselves static, and these answer that they are nothing.
LRESULT CALLBACK UntiedLabelProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR) {
  if (msg == WM_GETDLGCODE) return 0;
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(window, UntiedLabelProc, id);
  return ::DefSubclassProc(window, msg, wParam, lParam);
}

}  // namespace

// Style adds to the kind's own; Extra is an image's bitmap or a list's item height.
struct TTaskFormRow {
  int Id;
  TRowKind Kind;
  TRowPlace Place;
  const wchar_t* Caption;
  TRect Bounds;  // a memo's empty bounds fill its page
  DWORD Style;
  int Extra;
};

namespace {

using K = TRowKind;
using P = TRowPlace;

constexpr TTaskFormRow Layout[] = {
    {idWhenGroupBox, K::GroupBox, P::General, L" &When ", Bounds(WhenLeft, WhenTop, 445, 57), 0, 0},
    {idStartLabel, K::Label, P::General, L"&Start", InWhenBox(12, 28, 22, 13), 0, 0},
    {idStartTimeEdit, K::Edit, P::General, nullptr, InWhenBox(40, 24, 65, 21), 0, 0},
    {idStartDateEdit, K::DatePicker, P::General, nullptr, InWhenBox(112, 24, 80, 21), 0, 0},
    {idFinishLabel, K::Label, P::General, L"&Finish", InWhenBox(248, 28, 27, 13), 0, 0},
    {idEndTimeEdit, K::Edit, P::General, nullptr, InWhenBox(280, 24, 65, 21), 0, 0},
    {idEndDateEdit, K::DatePicker, P::General, nullptr, InWhenBox(352, 24, 80, 21), 0, 0},
    {idDescLabel, K::Label, P::General, L"&Description", Bounds(4, 76, 53, 13), 0, 0},
    {idDescEdit, K::Edit, P::General, nullptr, Bounds(4, 92, 445, 21), 0, 0},
    {idWhereImage, K::Image, P::General, nullptr, Bounds(2, 122, 16, 16), 0, tbHome},
    {idWhereLabel, K::Label, P::General, L"W&here", Bounds(20, 124, 32, 13), 0, 0},
    {idWhereEdit, K::Edit, P::General, nullptr, Bounds(4, 140, 417, 21), 0, 0},
    {idLocationClearBtn, K::ClearButton, P::General, nullptr, Bounds(425, 140, 21, 21), 0, 0},
    {idTypeLabel, K::Label, P::General, L"&Type", Bounds(4, 172, 24, 13), 0, 0},
    {idTypeCbx, K::List, P::General, nullptr, Bounds(4, 188, 105, 22), CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 16},
    {idStatusLabel, K::Label, P::General, L"&State", Bounds(124, 172, 25, 13), 0, 0},
    {idStatusCbx, K::List, P::General, nullptr, Bounds(124, 188, 105, 21), 0, 13},
    {idPriorityLabel, K::Label, P::General, L"&Priority", Bounds(244, 172, 31, 13), 0, 0},
    {idPriorityCbx, K::List, P::General, nullptr, Bounds(244, 188, 105, 21), 0, 13},
    {idReminderImage, K::Image, P::General, nullptr, Bounds(6, 226, 16, 16), 0, tbRemind},
    {idReminderChk, K::CheckBox, P::General, L"&Remind", Bounds(26, 226, 59, 17), 0, 0},
    {idEveryLabel, K::Label, P::General, L"every", Bounds(88, 227, 26, 13), 0, 0},
    {idEveryEdit, K::Edit, P::General, nullptr, Bounds(124, 224, 53, 22), 0, 0},
    {idEveryUpDown, K::UpDown, P::General, nullptr, Bounds(0, 0, 0, 0), 0, 0},
    {idMinuteLabel, K::Label, P::General, L"minute", Bounds(184, 228, 31, 13), 0, 0},
    {idPrivateImage, K::Image, P::General, nullptr, Bounds(6, 252, 16, 16), 0, tbPrivate},
    {idPrivateChk, K::CheckBox, P::General, L"Pr&ivate", Bounds(26, 252, 67, 17), 0, 0},
    {idNotesMemo, K::Memo, P::Notes, nullptr, Bounds(0, 0, 0, 0), 0, 0},
    {idOKBtn, K::Button, P::Form, L"OK", Bounds(311, 324, 75, 23), BS_DEFPUSHBUTTON, 0},
    {idCancelBtn, K::Button, P::Form, L"Cancel", Bounds(395, 324, 75, 23), BS_PUSHBUTTON, 0},
};

}  // namespace

const wchar_t* const TTaskForm::PageCaptions[2] = {L"&General", L"&Note"};

void TTaskForm::CreateControls() {
  CreateForm(L"Task", FScale.Of(FormWidth), FScale.Of(FormHeight));
  ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FFont), FALSE);
  const TRect pageControlBounds = FScale.Of(PageControlBounds);
  FPageControl = CreateControl(Handle(), WC_TABCONTROLW, String(), TabStop | WS_CLIPSIBLINGS, 0,
                               pageControlBounds, idPageControl, FFont);
  for (int i = 0; i < 2; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(PageCaptions[i]);
    ::SendMessageW(FPageControl, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  RECT display{0, 0, pageControlBounds.Width(), pageControlBounds.Height()};
  ::SendMessageW(FPageControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const TRect pageBounds{pageControlBounds.Left + display.left, pageControlBounds.Top + display.top,
                         pageControlBounds.Left + display.right,
                         pageControlBounds.Top + display.bottom};
  FGeneralSheet = CreatePage(pageBounds);
  FNotesSheet = CreatePage(pageBounds);
  for (const TTaskFormRow& row : Layout) CreateRow(row, pageBounds);

  FStartTimeEdit = std::make_unique<TMaskEdit>(Control(idStartTimeEdit), TimeEditMask);
  FEndTimeEdit = std::make_unique<TMaskEdit>(Control(idEndTimeEdit), TimeEditMask);
  FLocationClearBtn = std::make_unique<TClearButton>(Control(idLocationClearBtn));
  FEveryEdit = std::make_unique<TIntervalEdit>(Control(idEveryEdit), Control(idEveryUpDown));
  for (const wchar_t* priority : TaskPriorityNames) AddItem(Control(idPriorityCbx), priority);
  ShowPage(0);
}

HWND TTaskForm::CreateRow(const TTaskFormRow& Row, const TRect& PageBounds) {
  HWND parent = Row.Place == P::General ? FGeneralSheet : Row.Place == P::Notes ? FNotesSheet : Handle();
  const String caption = Row.Caption != nullptr ? Row.Caption : L"";
  const TRect bounds = FScale.Of(Row.Bounds);
  const auto make = [&](const wchar_t* className, DWORD style, DWORD exStyle, const TRect& at) {
    return CreateControl(parent, className, caption, style | Row.Style, exStyle, at, Row.Id, FFont);
  };
  switch (Row.Kind) {
    case K::GroupBox: return make(WC_BUTTONW, BS_GROUPBOX, 0, bounds);
    case K::Label: {
      HWND label = make(WC_STATICW, SS_LEFTNOWORDWRAP, 0, bounds);
      ::SetWindowSubclass(label, UntiedLabelProc, 1, 0);
      AutoSize(label, bounds);
      return label;
    }
    case K::Edit: return make(WC_EDITW, EditStyle, WS_EX_CLIENTEDGE, bounds);
    case K::DatePicker: return make(DATETIMEPICK_CLASSW, DTS_SHORTDATEFORMAT | TabStop, 0, bounds);
    case K::Image: {
      // The icon is stretched over its scaled place; at 96 it is shown as it is.
      HWND image = make(WC_STATICW, SS_BITMAP | (FScale.IsBase() ? 0 : SS_REALSIZECONTROL), 0, bounds);
      ::SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP,
                     static_cast<LPARAM>(TaskBitmap(static_cast<TTaskBitmap>(Row.Extra)).Handle()));
      ::SetWindowPos(image, nullptr, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
      return image;
    }
    case K::ClearButton: return make(WC_STATICW, SS_NOTIFY, 0, bounds);
    case K::List: {
      HWND list = make(WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | TabStop, 0, bounds);
      SetComboHeights(list, bounds, FScale.Of(Row.Extra));
      return list;
    }
    case K::CheckBox: return make(WC_BUTTONW, BS_AUTOCHECKBOX | TabStop, 0, bounds);
    case K::UpDown:
      return make(UPDOWN_CLASSW, UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, bounds);
    case K::Memo:
      return make(WC_EDITW,
                  ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL | WS_VSCROLL |
                      WS_HSCROLL | TabStop,
                  WS_EX_CLIENTEDGE, Bounds(0, 0, PageBounds.Width(), PageBounds.Height()));
    case K::Button: return make(WC_BUTTONW, TabStop, 0, bounds);
  }
  return nullptr;
}

void TTaskForm::AutoSize(HWND Label, const TRect& Bounds) const {
  // Labels fit their captions: a font with wider letters than the one the form was laid out for
  // must not cut them off.
  HDC dc = ::GetDC(Label);
  HGDIOBJ old = ::SelectObject(dc, FFont);
  const String caption = WindowText(Label);
  RECT needed{0, 0, 0, 0};
  ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &needed, DT_CALCRECT | DT_SINGLELINE);
  ::SelectObject(dc, old);
  ::ReleaseDC(Label, dc);
  if (needed.right > Bounds.Width()) {
    ::SetWindowPos(Label, nullptr, 0, 0, needed.right, Bounds.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TTaskForm::SetComboHeights(HWND List, const TRect& Bounds, int ItemHeight) const {
  const int fieldHeight = Bounds.Height();
  ::SendMessageW(List, CB_SETITEMHEIGHT, 0, ItemHeight);
  // A drop-down list's window height is its field's and its dropped list's together; the list
  // takes what the field leaves. The field's frame differs between systems, and so does what
  // reading its item height answers (Wine adds its padding), so the item height is set once as
  // read, measured, and set again corrected by the difference.
  const int dropped = VisibleItems * ItemHeight + 2;
  ::SetWindowPos(List, nullptr, 0, 0, Bounds.Width(), fieldHeight + dropped, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const LRESULT field = ::SendMessageW(List, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  ::SendMessageW(List, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
  RECT shown;
  ::GetWindowRect(List, &shown);
  ::SendMessageW(List, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field + fieldHeight - (shown.bottom - shown.top));
}

}  // namespace skx

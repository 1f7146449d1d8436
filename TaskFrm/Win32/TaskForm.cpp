// The task dialog's controls as Windows controls, its events, and the editor that shows it.
#include "TaskFrm/Win32/TaskForm.h"

#include <commctrl.h>

#include <cwctype>

#include "Framework/Core/WeakRef.h"
#include "Framework/Win32/GdiCanvas.h"
#include "Framework/Win32/Win32Types.h"
#include "TaskFrm/TypeListItem.h"

namespace skx {

namespace {

constexpr int FormWidth = 477;
constexpr int FormHeight = 353;
constexpr TRect PageControlBounds{8, 8, 8 + 461, 8 + 305};
// The group box's controls are placed relative to the box, which lies at (4, 8) on its page.
constexpr int WhenLeft = 4;
constexpr int WhenTop = 8;
constexpr int VisibleItems = 3;

const wchar_t* const PageCaptions[2] = {L"&General", L"&Note"};
const TFont FormFont;  // "MS Sans Serif", height -11

constexpr DWORD TabStop = WS_TABSTOP | WS_GROUP;
constexpr DWORD EditStyle = ES_AUTOHSCROLL | TabStop;

TRect InWhenBox(int left, int top, int width, int height) {
  return Bounds(WhenLeft + left, WhenTop + top, width, height);
}

// A label's access key is only drawn: the dialog manager moves the focus on access keys of
// controls that call themselves static, and these answer that they are nothing.
LRESULT CALLBACK UntiedLabelProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR) {
  if (msg == WM_GETDLGCODE) return 0;
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(window, UntiedLabelProc, id);
  return ::DefSubclassProc(window, msg, wParam, lParam);
}

wchar_t AccessKey(const wchar_t* caption) {
  for (const wchar_t* c = caption; *c != 0 && c[1] != 0; ++c) {
    if (*c == L'&') {
      if (c[1] != L'&') return static_cast<wchar_t>(std::towupper(c[1]));
      ++c;
    }
  }
  return 0;
}

TDateTime PickerDate(HWND picker) {
  SYSTEMTIME time{};
  ::SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
  return EncodeDate(time.wYear, time.wMonth, time.wDay);
}

void SetPickerDate(HWND picker, TDateTime date) {
  int year, month, day;
  DecodeDate(date, year, month, day);
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(year);
  time.wMonth = static_cast<WORD>(month);
  time.wDay = static_cast<WORD>(day);
  ::SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

bool Checked(HWND box) { return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND box, bool checked) {
  ::SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int ItemIndex(HWND list) { return static_cast<int>(::SendMessageW(list, CB_GETCURSEL, 0, 0)); }

void SetItemIndex(HWND list, int index) { ::SendMessageW(list, CB_SETCURSEL, index, 0); }

void AddItem(HWND list, const wchar_t* text) {
  ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

String ItemText(HWND list, UINT index) {
  const LRESULT length = ::SendMessageW(list, CB_GETLBTEXTLEN, index, 0);
  if (length <= 0) return String();
  String text(static_cast<size_t>(length) + 1, L'\0');
  ::SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  return text;
}

}  // namespace

TTaskForm::TTaskForm() : FFontObject(MakeFont(FormFont)), FFont(FFontObject.Get()) {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_DATE_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
  ::InitCommonControlsEx(&classes);
  CreateForm(L"Task", FormWidth, FormHeight);
  ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FFont), FALSE);
  CreateControls();
}

TTaskForm::~TTaskForm() { DestroyHandle(); }

HWND TTaskForm::Control(int Id) const {
  HWND found = ::GetDlgItem(FGeneralSheet, Id);
  if (found == nullptr) found = ::GetDlgItem(FNotesSheet, Id);
  if (found == nullptr) found = ::GetDlgItem(Handle(), Id);
  return found;
}

void TTaskForm::CreateImage(const TRect& Bounds, int Id, TTaskBitmap Bitmap) {
  HWND image = CreateControl(FGeneralSheet, WC_STATICW, String(), SS_BITMAP, 0, Bounds, Id, FFont);
  ::SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP,
                 static_cast<LPARAM>(TaskBitmap(Bitmap).Handle()));
  ::SetWindowPos(image, nullptr, Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TTaskForm::AutoSize(HWND Label, const TRect& Bounds) const {
  // Labels fit their captions: a font with wider letters than the one the form was laid out for
  // must not cut them off.
  HDC dc = ::GetDC(Label);
  HGDIOBJ old = ::SelectObject(dc, FFont);
  const String caption = WindowText(Label);
  RECT needed{0, 0, 0, 0};
  ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &needed,
              DT_CALCRECT | DT_SINGLELINE);
  ::SelectObject(dc, old);
  ::ReleaseDC(Label, dc);
  if (needed.right > Bounds.Width()) {
    ::SetWindowPos(Label, nullptr, 0, 0, needed.right, Bounds.Height(),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TTaskForm::CreateCombo(int Id, const TRect& Bounds, DWORD Style, int ItemHeight,
                            int FieldHeight) {
  HWND list = CreateControl(FGeneralSheet, WC_COMBOBOXW, String(),
                            CBS_DROPDOWNLIST | WS_VSCROLL | TabStop | Style, 0, Bounds, Id, FFont);
  ::SendMessageW(list, CB_SETITEMHEIGHT, 0, ItemHeight);
  // A drop-down list's window height is its field's and its dropped list's together; the list
  // takes what the field leaves. The field's frame differs between systems, and so does what
  // reading its item height answers (Wine adds its padding), so the item height is set once as
  // read, measured, and set again corrected by the difference.
  const int dropped = VisibleItems * ItemHeight + 2;
  ::SetWindowPos(list, nullptr, 0, 0, Bounds.Width(), FieldHeight + dropped,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const LRESULT field = ::SendMessageW(list, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  ::SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
  RECT shown;
  ::GetWindowRect(list, &shown);
  ::SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                 field + FieldHeight - (shown.bottom - shown.top));
}

void TTaskForm::CreateControls() {
  HWND form = Handle();
  FPageControl = CreateControl(form, WC_TABCONTROLW, String(), TabStop | WS_CLIPSIBLINGS, 0,
                               PageControlBounds, idPageControl, FFont);
  for (int i = 0; i < 2; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(PageCaptions[i]);
    ::SendMessageW(FPageControl, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  RECT display{0, 0, PageControlBounds.Width(), PageControlBounds.Height()};
  ::SendMessageW(FPageControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const TRect pageBounds{PageControlBounds.Left + display.left, PageControlBounds.Top + display.top,
                         PageControlBounds.Left + display.right,
                         PageControlBounds.Top + display.bottom};
  FGeneralSheet = CreatePage(pageBounds);
  FNotesSheet = CreatePage(pageBounds);

  HWND page = FGeneralSheet;
  const auto label = [&](int id, const wchar_t* caption, const TRect& bounds) {
    HWND control = CreateControl(page, WC_STATICW, caption, SS_LEFTNOWORDWRAP, 0, bounds, id, FFont);
    ::SetWindowSubclass(control, UntiedLabelProc, 1, 0);
    AutoSize(control, bounds);
  };
  const auto edit = [&](int id, const TRect& bounds) {
    return CreateControl(page, WC_EDITW, String(), EditStyle, WS_EX_CLIENTEDGE, bounds, id, FFont);
  };
  const auto picker = [&](int id, const TRect& bounds) {
    CreateControl(page, DATETIMEPICK_CLASSW, String(), DTS_SHORTDATEFORMAT | TabStop, 0, bounds, id,
                  FFont);
  };
  const auto checkBox = [&](int id, const wchar_t* caption, const TRect& bounds) {
    CreateControl(page, WC_BUTTONW, caption, BS_AUTOCHECKBOX | TabStop, 0, bounds, id, FFont);
  };

  CreateControl(page, WC_BUTTONW, L" &When ", BS_GROUPBOX, 0, Bounds(WhenLeft, WhenTop, 445, 57),
                idWhenGroupBox, FFont);
  label(idLabel3, L"&Start", InWhenBox(12, 28, 22, 13));
  FStartTimeEdit = std::make_unique<TMaskEdit>(edit(idStartTimeEdit, InWhenBox(40, 24, 65, 21)),
                                               TimeEditMask);
  picker(idStartDateEdit, InWhenBox(112, 24, 80, 21));
  label(idLabel4, L"&Finish", InWhenBox(248, 28, 27, 13));
  FEndTimeEdit = std::make_unique<TMaskEdit>(edit(idEndTimeEdit, InWhenBox(280, 24, 65, 21)),
                                             TimeEditMask);
  picker(idEndDateEdit, InWhenBox(352, 24, 80, 21));

  label(idLabel2, L"&Description", Bounds(4, 76, 53, 13));
  edit(idDescEdit, Bounds(4, 92, 445, 21));
  CreateImage(Bounds(2, 122, 16, 16), idImage1, tbHome);
  label(idLabel1, L"W&here", Bounds(20, 124, 32, 13));
  edit(idWhereEdit, Bounds(4, 140, 417, 21));
  FLocationClearBtn = std::make_unique<TClearButton>(CreateControl(
      page, WC_STATICW, String(), SS_NOTIFY, 0, Bounds(425, 140, 21, 21), idLocationClearBtn, FFont));

  label(idLabel7, L"&Type", Bounds(4, 172, 24, 13));
  CreateCombo(idTypeCbx, Bounds(4, 188, 105, 22), CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 16, 22);
  label(idLabel6, L"&State", Bounds(124, 172, 25, 13));
  CreateCombo(idStatusCbx, Bounds(124, 188, 105, 21), 0, 13, 21);
  label(idLabel5, L"&Priority", Bounds(244, 172, 31, 13));
  CreateCombo(idPriorityCbx, Bounds(244, 188, 105, 21), 0, 13, 21);
  for (const wchar_t* priority : TaskPriorityNames) AddItem(Control(idPriorityCbx), priority);

  CreateImage(Bounds(6, 226, 16, 16), idImage2, tbRemind);
  checkBox(idReminderChk, L"&Remind", Bounds(26, 226, 59, 17));
  label(idEveryLabel, L"every", Bounds(88, 227, 26, 13));
  HWND everyEdit = edit(idEveryEdit, Bounds(124, 224, 53, 22));
  HWND upDown = CreateControl(page, UPDOWN_CLASSW, String(),
                              UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0,
                              Bounds(0, 0, 0, 0), idEveryUpDown, FFont);
  FEveryEdit = std::make_unique<TIntervalEdit>(everyEdit, upDown);
  label(idLabel10, L"minute", Bounds(184, 228, 31, 13));
  CreateImage(Bounds(6, 252, 16, 16), idImage3, tbPrivate);
  checkBox(idPrivateChk, L"Pr&ivate", Bounds(26, 252, 67, 17));

  page = FNotesSheet;
  CreateControl(page, WC_EDITW, String(),
                ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL |
                    WS_VSCROLL | WS_HSCROLL | TabStop,
                WS_EX_CLIENTEDGE, Bounds(0, 0, pageBounds.Width(), pageBounds.Height()),
                idNotesMemo, FFont);

  CreateControl(form, WC_BUTTONW, L"OK", BS_DEFPUSHBUTTON | TabStop, 0, Bounds(311, 324, 75, 23),
                idOKBtn, FFont);
  CreateControl(form, WC_BUTTONW, L"Cancel", BS_PUSHBUTTON | TabStop, 0, Bounds(395, 324, 75, 23),
                idCancelBtn, FFont);
  ShowPage(0);
}

void TTaskForm::ShowPage(int Index) {
  ::SendMessageW(FPageControl, TCM_SETCURSEL, Index, 0);
  HWND shown = Index == 0 ? FGeneralSheet : FNotesSheet;
  HWND hidden = Index == 0 ? FNotesSheet : FGeneralSheet;
  // The focus does not stay on a control that is hidden with its page.
  if (::IsChild(hidden, ::GetFocus())) ::SetFocus(FPageControl);
  ::ShowWindow(hidden, SW_HIDE);
  ::ShowWindow(shown, SW_SHOW);
}

void TTaskForm::FillTypeStatusLists() {
  for (const wchar_t* name : TaskTypeNames) AddItem(Control(idTypeCbx), name);
  for (const wchar_t* name : TaskStatusNames) AddItem(Control(idStatusCbx), name);
}

void TTaskForm::UpdateReminderControls() {
  const bool visible = Checked(Control(idReminderChk));
  ::ShowWindow(Control(idEveryLabel), visible ? SW_SHOW : SW_HIDE);
  FEveryEdit->SetVisible(visible);
  ::ShowWindow(Control(idLabel10), visible ? SW_SHOW : SW_HIDE);
}

TTaskFormValues TTaskForm::ReadValues() const {
  TTaskFormValues values;
  values.StartDate = PickerDate(Control(idStartDateEdit));
  values.StartTime = FStartTimeEdit->Text();
  values.EndDate = PickerDate(Control(idEndDateEdit));
  values.EndTime = FEndTimeEdit->Text();
  values.Description = WindowText(Control(idDescEdit));
  values.Where = WindowText(Control(idWhereEdit));
  values.Notes = WindowText(Control(idNotesMemo));
  values.Remind = Checked(Control(idReminderChk));
  values.Interval = FEveryEdit->Text();
  values.IsPrivate = Checked(Control(idPrivateChk));
  values.Priority = ItemIndex(Control(idPriorityCbx));
  values.TaskType = ItemIndex(Control(idTypeCbx));
  values.Status = ItemIndex(Control(idStatusCbx));
  return values;
}

void TTaskForm::WriteValues(const TTaskFormValues& Values) {
  FStartTimeEdit->SetText(Values.StartTime);
  SetPickerDate(Control(idStartDateEdit), Values.StartDate);
  FEndTimeEdit->SetText(Values.EndTime);
  SetPickerDate(Control(idEndDateEdit), Values.EndDate);
  ::SetWindowTextW(Control(idDescEdit), Values.Description.c_str());
  ::SetWindowTextW(Control(idWhereEdit), Values.Where.c_str());
  ::SetWindowTextW(Control(idNotesMemo), Values.Notes.c_str());
  SetChecked(Control(idReminderChk), Values.Remind);
  FEveryEdit->SetText(Values.Interval);
  SetChecked(Control(idPrivateChk), Values.IsPrivate);
  SetItemIndex(Control(idPriorityCbx), Values.Priority);
  SetItemIndex(Control(idTypeCbx), Values.TaskType);
  SetItemIndex(Control(idStatusCbx), Values.Status);
}

void TTaskForm::LoadTask(const TRxTaskObject& Task) {
  FillTypeStatusLists();
  WriteValues(LoadTaskValues(Task));
  UpdateReminderControls();
}

void TTaskForm::StoreTask(TRxTaskObject& Task) const { StoreTaskValues(ReadValues(), Task); }

void TTaskForm::FormCloseQuery(bool& CanClose) {
  if (!TaskFormCanClose(ReadValues(), ModalResult() == mrOk)) {
    ::MessageBoxW(Handle(), StartExceedsEndMessage, L"Task", MB_OK | MB_ICONWARNING);
    CanClose = false;
  }
}

bool TTaskForm::CloseQuery() {
  bool canClose = true;
  FormCloseQuery(canClose);
  return canClose;
}

void TTaskForm::ReminderChkClick() { UpdateReminderControls(); }

void TTaskForm::LocationClearBtnClick() { ::SetWindowTextW(Control(idWhereEdit), L""); }

void TTaskForm::TypeCbxDrawItem(const DRAWITEMSTRUCT& Item) {
  const bool selected = (Item.itemState & ODS_SELECTED) != 0;
  TGdiCanvas canvas(Item.hDC);
  canvas.SetFont(FormFont);
  canvas.SetBrushColor(selected ? clHighlight : clWindow);
  canvas.SetFontColor(selected ? clHighlightText : clWindowText);
  const int index = static_cast<int>(Item.itemID);
  DrawTypeListItem(canvas, index, ToTRect(Item.rcItem),
                   index >= 0 ? ItemText(Item.hwndItem, Item.itemID) : String(),
                   (Item.itemState & ODS_FOCUS) != 0);
}

bool TTaskForm::PreTranslate(MSG& Msg) {
  if (Msg.message != WM_SYSCHAR) return false;
  // The pages' access keys, which the dialog manager does not know.
  const auto key = static_cast<wchar_t>(std::towupper(static_cast<wchar_t>(Msg.wParam)));
  for (int i = 0; i < 2; ++i) {
    if (AccessKey(PageCaptions[i]) == key) {
      ShowPage(i);
      return true;
    }
  }
  return false;
}

INT_PTR TTaskForm::Message(HWND, UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_COMMAND:
      if (HIWORD(WParam) == BN_CLICKED && LOWORD(WParam) == idReminderChk) {
        ReminderChkClick();
        return TRUE;
      }
      if (HIWORD(WParam) == BN_CLICKED && LOWORD(WParam) == idLocationClearBtn) {
        LocationClearBtnClick();
        return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(LParam);
      if (header->idFrom == idPageControl && header->code == TCN_SELCHANGE) {
        ShowPage(static_cast<int>(::SendMessageW(FPageControl, TCM_GETCURSEL, 0, 0)));
        return TRUE;
      }
      return FALSE;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(LParam);
      if (item->CtlID != idTypeCbx) return FALSE;
      item->itemHeight = 16;
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(LParam);
      if (item->CtlID != idTypeCbx) return FALSE;
      TypeCbxDrawItem(*item);
      return TRUE;
    }
  }
  return FALSE;
}

// The dialog runs its own message loop, in which a timer or a container may delete the task: a
// task gone by the time the dialog closes is not written, and the edit counts as cancelled.
bool TTaskFormEditor::EditTask(TRxTaskObject& Task) {
  TWeakRef<TTaskObject> alive(&Task);
  TTaskForm form;
  form.LoadTask(Task);
  if (form.ShowModal() != mrOk || alive.Expired()) return false;
  form.StoreTask(Task);
  return true;
}

}  // namespace skx

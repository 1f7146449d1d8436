// The task dialog's events and messages, and the editor that shows it.
#include "TaskFrm/Win32/TaskForm.h"

#include <commctrl.h>

#include <cwctype>

#include "Framework/Core/WeakRef.h"
#include "Framework/Win32/GdiCanvas.h"
#include "Framework/Win32/Win32Types.h"
#include "Framework/Win32/WindowPeer.h"
#include "TaskFrm/TypeListItem.h"

namespace skx {

namespace {

const TFont FormFont;  // "MS Sans Serif", height -11
// The type list's items hold an icon each.
constexpr int TypeItemHeight = 16;

wchar_t AccessKey(const wchar_t* caption) {
  for (const wchar_t* c = caption; *c != 0 && c[1] != 0; ++c) {
    if (*c == L'&') {
      if (c[1] != L'&') return static_cast<wchar_t>(std::towupper(c[1]));
      ++c;
    }
  }
  return 0;
}

}  // namespace

// The dialog comes up in the middle of the main screen, at that screen's density.
TTaskForm::TTaskForm()
    : FScale(WindowPixelsPerInch(nullptr)),
      FFontObject(MakeFont(FormFont, FScale)),
      FFont(FFontObject.Get()) {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_DATE_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
  ::InitCommonControlsEx(&classes);
  CreateControls();
}

TTaskForm::~TTaskForm() { DestroyHandle(); }

HWND TTaskForm::Control(int Id) const {
  HWND found = ::GetDlgItem(FGeneralSheet, Id);
  if (found == nullptr) found = ::GetDlgItem(FNotesSheet, Id);
  if (found == nullptr) found = ::GetDlgItem(Handle(), Id);
  return found;
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
  ::ShowWindow(Control(idMinuteLabel), visible ? SW_SHOW : SW_HIDE);
}

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
  canvas.SetScale(FScale);
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
      item->itemHeight = static_cast<UINT>(FScale.Of(TypeItemHeight));
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
  if (form.ShowModal(FHost) != mrOk || alive.Expired()) return false;
  form.StoreTask(Task);
  return true;
}

}  // namespace skx

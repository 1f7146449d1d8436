// The task dialog on Windows, and the task editor that shows it.
#pragma once

#include <windows.h>

#include <memory>

#include "Bitmaps/Bitmaps.h"
#include "Framework/Win32/ModalDialog.h"
#include "RxObjects/RxTaskObject.h"
#include "TaskFrm/TaskFormValues.h"
#include "TaskFrm/Win32/IntervalEdit.h"
#include "TaskFrm/Win32/MaskEdit.h"
#include "TaskFrm/Win32/ClearButton.h"

namespace skx {

// Control identifiers; the tests find the controls by them.
enum TTaskFormControl {
  idPageControl = 100,
  idWhenGroupBox,
  idStartLabel,
  idStartTimeEdit,
  idStartDateEdit,
  idFinishLabel,
  idEndTimeEdit,
  idEndDateEdit,
  idDescLabel,
  idDescEdit,
  idWhereImage,
  idWhereLabel,
  idWhereEdit,
  idLocationClearBtn,
  idTypeLabel,
  idTypeCbx,
  idStatusLabel,
  idStatusCbx,
  idPriorityLabel,
  idPriorityCbx,
  idReminderImage,
  idReminderChk,
  idEveryLabel,
  idEveryEdit,
  idEveryUpDown,
  idMinuteLabel,
  idPrivateImage,
  idPrivateChk,
  idNotesMemo,
  idOKBtn = IDOK,
  idCancelBtn = IDCANCEL,
};

struct TTaskFormRow;

// Made per edit: LoadTask, ShowModal, StoreTask after OK, then freed. Between load and store the
// controls hold the task's values; the form refers to no task.
class TTaskForm : public TModalDialog {
 public:
  TTaskForm();
  ~TTaskForm() override;

  void LoadTask(const TRxTaskObject& Task);
  void StoreTask(TRxTaskObject& Task) const;

  // The general page and the notes page, the parents of their controls.
  HWND GeneralSheet() const { return FGeneralSheet; }
  HWND NotesSheet() const { return FNotesSheet; }

 protected:
  INT_PTR Message(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) override;
  bool PreTranslate(MSG& Msg) override;
  bool CloseQuery() override;
  HWND FirstFocus() override { return Control(idDescEdit); }

 private:
  HWND Control(int Id) const;
  // The layout (TaskFormLayout.cpp): the controls as a table says, then their helpers.
  void CreateControls();
  HWND CreateRow(const TTaskFormRow& Row, const TRect& PageBounds);
  void AutoSize(HWND Label, const TRect& Bounds) const;
  void SetComboHeights(HWND List, const TRect& Bounds, int ItemHeight) const;
  void ShowPage(int Index);
  static const wchar_t* const PageCaptions[2];
  // The transfer between the controls and the task (TaskFormTransfer.cpp).
  TTaskFormValues ReadValues() const;
  void WriteValues(const TTaskFormValues& Values);

  void FillTypeStatusLists();
  void UpdateReminderControls();
  void FormCloseQuery(bool& CanClose);
  void ReminderChkClick();
  void LocationClearBtnClick();
  void TypeCbxDrawItem(const DRAWITEMSTRUCT& Item);

  // Positions, sizes and the font in the layout are for 96 pixels per inch.
  TScale FScale;
  TGdiObject<HFONT> FFontObject;
  HFONT FFont;
  HWND FPageControl = nullptr;
  HWND FGeneralSheet = nullptr;
  HWND FNotesSheet = nullptr;
  std::unique_ptr<TMaskEdit> FStartTimeEdit;
  std::unique_ptr<TMaskEdit> FEndTimeEdit;
  std::unique_ptr<TIntervalEdit> FEveryEdit;
  std::unique_ptr<TClearButton> FLocationClearBtn;
};

// The editor that EditAppend and EditUpdate use on Windows: one TTaskForm per edit, owned as
// Host says (TModalDialog::ShowModal).
class TTaskFormEditor : public TTaskEditorService {
 public:
  explicit TTaskFormEditor(TModalHost* Host) : FHost(Host) {}
  bool EditTask(TRxTaskObject& Task) override;

 private:
  TModalHost* FHost;
};

}  // namespace skx

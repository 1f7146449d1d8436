// The task dialog's values: from the task into its controls, and back.
#include "TaskFrm/Win32/TaskForm.h"

namespace skx {

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

}  // namespace skx

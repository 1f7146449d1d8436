// The concrete task's edit operations and caption tables.
#include "RxObjects/RxTaskObject.h"

namespace skx {

const wchar_t* const TaskTypeNames[3] = {L"Task", L"Meeting", L"Event"};
const wchar_t* const TaskStatusNames[3] = {L"Active", L"Complete", L"Suspend"};
const wchar_t* const TaskPriorityNames[3] = {L"Low", L"Normal", L"High"};

namespace {
TTaskEditorService* TaskEditor = nullptr;

bool EditWithEditor(TRxTaskObject& task) {
  TTaskEditorService* editor = GetTaskEditor();
  return editor != nullptr && editor->EditTask(task);
}
}  // namespace

void SetTaskEditor(TTaskEditorService* Editor) { TaskEditor = Editor; }
TTaskEditorService* GetTaskEditor() { return TaskEditor; }

void TRxTaskObject::Draw(TCanvas&, const TRect&) {}
bool TRxTaskObject::EditAppend() { return EditWithEditor(*this); }
bool TRxTaskObject::EditUpdate() { return EditWithEditor(*this); }
bool TRxTaskObject::ConfirmDelete() { return true; }

}  // namespace skx

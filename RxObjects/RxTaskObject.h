// The concrete task: descriptive fields, enumerations and caption tables.
#pragma once

#include <cstdint>

#include "Framework/Core/Graphics.h"
#include "Framework/Core/Strings.h"
#include "SkedraComp/TaskObject.h"

namespace skx {

enum TTaskPriority : std::uint8_t { tpLow = 0, tpNormal = 1, tpHigh = 2 };
enum TTaskType : std::uint8_t { ttTask = 0, ttContact = 1, ttEvent = 2 };
enum TTaskStatus : std::uint8_t { tsActive = 0, tsCompleted = 1, tsSuspend = 2 };

extern const wchar_t* const TaskTypeNames[3];
extern const wchar_t* const TaskStatusNames[3];
extern const wchar_t* const TaskPriorityNames[3];

class TRxTaskObject;

// One line of text at the top left of the rectangle, clipped to it; "&" underlines the next
// character and "&&" shows one. The canvas's font, text colour and background mode apply.
void DrawTextLine(TCanvas& Canvas, const TRect& Rect, const String& Text);

// Edits a task in the task dialog; the platform supplies it, tests script it.
class TTaskEditorService {
 public:
  virtual ~TTaskEditorService() = default;
  // Shows the editor on the task; stores the values and answers true only when confirmed.
  virtual bool EditTask(TRxTaskObject& Task) = 0;
};

class TRxTaskObject : public TTaskObject {
 public:
  explicit TRxTaskObject(int AID) : TTaskObject(AID) { FPriority = tpNormal; }

  // The icons of type, place, reminder, privacy and priority along the bottom of the rectangle
  // and the description in a small font styled by status: above the icons when the rectangle is
  // taller than them, else after them. The canvas keeps the font and text mode set here.
  void Draw(TCanvas& Canvas, const TRect& Rect) override;
  // Shown in the editor that the task was given; without one nothing is confirmed.
  bool EditAppend() override;
  bool EditUpdate() override;
  bool ConfirmDelete() override;
  // The control that holds the task gives it the control's editor, which outlives the task.
  void SetEditor(TTaskEditorService* Editor) { FEditor = Editor; }
  // The description; the place, if any, and the priority unless it is the normal one.
  String AccessibleSubject() const override;
  String AccessibleDetails() const override;

  // The one-byte fields side by side, so that a task takes no more memory than it needs.
  bool FIsPrivate = false;
  TTaskPriority FPriority = tpLow;
  TTaskType FTaskType = ttTask;
  TTaskStatus FStatus = tsActive;
  int FRemind = 0;
  String FDescription;
  String FNotes;
  String FWhere;

 private:
  TTaskEditorService* FEditor = nullptr;
};

}  // namespace skx

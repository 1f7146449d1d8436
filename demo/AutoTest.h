// The demo driving itself (/autotest <folder>): both views, a selection, the task dialog opened,
// filled in and closed, other settings, then a task dragged with the mouse, a drag out of the
// working hours refused, a drag with dragging switched off, and the Delete key answered No, then
// Yes; a screenshot after each step and the event log at the end.
#pragma once

#include <windows.h>

#include <string>

#include "SkedraXControl.h"

namespace demo {

class TMainWindow;

class TAutoTest {
 public:
  static constexpr UINT StepMilliseconds = 600;

  TAutoTest(TMainWindow& Main, std::wstring Folder) : FMain(Main), FFolder(std::move(Folder)) {}
  ~TAutoTest();
  TAutoTest(const TAutoTest&) = delete;
  TAutoTest& operator=(const TAutoTest&) = delete;

  // One step per timer tick; false once the last step has run.
  bool Step();
  bool Passed() const { return FFailures == 0; }
  // The answer to "Delete ...?", given in place of the user's so that no message box waits.
  bool AnswerDelete() const { return FAllowDelete; }

 private:
  void Screenshot(const wchar_t* Name);
  void Expect(bool Condition, const std::wstring& What);
  // Presses down the first day's column until a task is selected; where the press found it.
  POINT ClickAMarker();
  void SelectFreeCells();
  // Fills in the task dialog and presses OK; false while the dialog is not up yet.
  bool AnswerTaskDialog();
  // Selects a task and drags it two hours later, keeping it and its start.
  void StartDragging();
  // Drags the kept task by whole rows with real mouse messages, from where it shows.
  void DragRows(int Rows);
  // The kept task's start moved by Rows rows of the time scale since the first drag's press.
  bool MovedBy(int Rows) const;
  void PressKey(WPARAM Key);
  // The toolbar's "Now line" reaches the control, off and on.
  void ExpectNowLineSwitches();
  long TaskCount() const;
  void Finish();

  TMainWindow& FMain;
  std::wstring FFolder;
  int FStep = 0;
  int FWaits = 0;
  int FFailures = 0;
  bool FAllowDelete = false;
  // The dragged task, where a press finds its marker, and its start before the first drag.
  ITaskObject* FTask = nullptr;
  POINT FGrip{};
  double FStart = 0;
  long FScale = 0;
  long FCount = 0;
};

}  // namespace demo

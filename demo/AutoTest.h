// The demo driving itself (/autotest <folder>): both views, a selection, the task dialog opened,
// filled in and closed, other settings; a screenshot after each step and the event log at the end.
#pragma once

#include <windows.h>

#include <string>

namespace demo {

class TMainWindow;

class TAutoTest {
 public:
  static constexpr UINT StepMilliseconds = 600;

  TAutoTest(TMainWindow& Main, std::wstring Folder) : FMain(Main), FFolder(std::move(Folder)) {}
  // One step per timer tick; false once the last step has run.
  bool Step();
  bool Passed() const { return FFailures == 0; }

 private:
  void Screenshot(const wchar_t* Name);
  void Expect(bool Condition, const std::wstring& What);
  void ClickAMarker();
  void SelectFreeCells();
  // Fills in the task dialog and presses OK; false while the dialog is not up yet.
  bool AnswerTaskDialog();
  void Finish();

  TMainWindow& FMain;
  std::wstring FFolder;
  int FStep = 0;
  int FWaits = 0;
  int FFailures = 0;
};

}  // namespace demo

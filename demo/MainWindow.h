// The demo's main window: the toolbar, the hosted control, the event log and a status bar.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ControlHost.h"
#include "EventSink.h"
#include "Toolbar.h"

namespace demo {

class TAutoTest;

class TMainWindow : public TEventListener {
 public:
  TMainWindow();
  ~TMainWindow() override;
  TMainWindow(const TMainWindow&) = delete;
  TMainWindow& operator=(const TMainWindow&) = delete;

  // Creates the window with the control and the sample week; throws a text when that fails.
  void Create(int Width, int Height, int Show);
  // From now on the window drives itself and writes its screenshots into Folder.
  void StartAutoTest(const std::wstring& Folder);
  int ExitCode() const;

  HWND Window() const { return FWindow; }
  HWND ControlWindow() const { return FHost->ControlWindow(); }
  ISkedraX2& Control() const { return FHost->Control(); }
  const TToolbar& Toolbar() const { return *FToolbar; }
  // Does what the toolbar's command does, as if the user had clicked it.
  void Run(TCommand Command);
  int EventCount(DISPID Event) const;
  // How many changes the demo refused: moves and resizes out of the working hours, deletions
  // answered No.
  int Refusals() const { return FRefusals; }
  const std::vector<std::wstring>& LogLines() const { return FLines; }
  void Log(const std::wstring& Line);

  long NewTaskId() override;
  void TaskEvent(DISPID Event, ITaskObject& Task) override;
  bool RefuseTimes(DISPID Event, ITaskObject& Task, double NewStart, double NewFinish) override;
  bool RefuseChange(DISPID Event, ITaskObject& Task) override;
  void KeyPress(wchar_t Key) override;
  void OtherEvent(DISPID Event) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT Handle(UINT Message, WPARAM WParam, LPARAM LParam);
  void CreateChildren();
  void Layout();
  void DensityChanged(int Dpi, const RECT& Suggested);
  void Command(int Id, int Code);
  // Logs a failed call with the control's error text; the toolbar then shows what the control kept.
  void Check(HRESULT Result, const wchar_t* What);
  void ScrollToWorkingHours();
  void ShowState();
  // Why new times would leave the working hours, or nothing when they keep within them.
  std::wstring OutsideWorkingHours(double Start, double Finish) const;
  // Asks the user (or the self-test) whether the task may go.
  bool AllowDelete(ITaskObject& Task);

  HWND FWindow = nullptr;
  HWND FLog = nullptr;
  HWND FStatus = nullptr;
  HFONT FFont = nullptr;
  // The window's pixels per inch.
  int FDpi = 96;
  TEventSink FSink;
  std::unique_ptr<TToolbar> FToolbar;
  std::unique_ptr<TControlHost> FHost;
  std::unique_ptr<TAutoTest> FAutoTest;
  std::map<DISPID, int> FEventCounts;
  std::vector<std::wstring> FLines;
  std::wstring FSelected;
  long FLastId = 100;
  int FRefusals = 0;
};

}  // namespace demo

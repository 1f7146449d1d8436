// The main window: layout, toolbar commands, the event log, the answers to the control's
// questions before a change, and the status line.
#include "MainWindow.h"

#include <commctrl.h>

#include <exception>
#include <stdexcept>

#include "AutoTest.h"
#include "Density.h"
#include "SampleWeek.h"
#include "TaskText.h"

namespace demo {

namespace {

const wchar_t* const WindowClass = L"SkedraDemoWindow";
constexpr int LogHeight = 150;
constexpr UINT_PTR AutoTestTimer = 1;

// The system's message font at Dpi: the system gives it at its own density.
HFONT MessageFont(int Dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  metrics.lfMessageFont.lfHeight = ::MulDiv(metrics.lfMessageFont.lfHeight, Dpi, WindowDpi(nullptr));
  return ::CreateFontIndirectW(&metrics.lfMessageFont);
}

std::wstring ExceptionText() {
  try {
    throw;
  } catch (const std::exception& e) {
    const std::string text = e.what();
    return std::wstring(text.begin(), text.end());
  } catch (...) {
    return L"unknown failure";
  }
}

}  // namespace

TMainWindow::TMainWindow() : FSink(*this) {}

TMainWindow::~TMainWindow() {
  if (FWindow != nullptr) ::DestroyWindow(FWindow);
  if (FFont != nullptr) ::DeleteObject(FFont);
}

void TMainWindow::Create(int Width, int Height, int Show) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = WindowClass;
  ::RegisterClassExW(&windowClass);
  FDpi = WindowDpi(nullptr);
  FWindow = ::CreateWindowExW(0, WindowClass, L"SkedraXControl demo", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                              Scaled(Width, FDpi), Scaled(Height, FDpi), nullptr, nullptr,
                              ::GetModuleHandleW(nullptr), this);
  if (FWindow == nullptr) throw std::runtime_error("The main window cannot be created (is there a display?)");
  FDpi = WindowDpi(FWindow);
  FFont = MessageFont(FDpi);
  CreateChildren();
  ::ShowWindow(FWindow, Show);
  ::UpdateWindow(FWindow);
}

void TMainWindow::CreateChildren() {
  FToolbar = std::make_unique<TToolbar>(FWindow, FFont, FDpi);
  FLog = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, 0, 0, 10, 10,
                           FWindow, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(FLog, WM_SETFONT, reinterpret_cast<WPARAM>(FFont), FALSE);
  FStatus = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, FWindow,
                              nullptr, ::GetModuleHandleW(nullptr), nullptr);

  FHost = std::make_unique<TControlHost>(FWindow, &FSink);
  ISkedraX& control = FHost->Control();
  const double today = Today();
  Check(AddSampleWeek(control, MondayOf(today)), L"Adding the sample week");
  // The added tasks show from the next layout on, which the view and date below bring.
  Check(control.put_SkedraType(skWeekly), L"Weekly view");
  Check(control.put_ActiveDate(today), L"Today");
  Log(L"The control is hosted by atl.dll and loaded from a saved state; events are logged here.");
  Log(L"Try: drag a task to move it, or its top or bottom edge to resize it (Escape stops a drag); double-click a "
      L"task or press Enter to change it, Delete to delete it;");
  Log(L"Tab and Shift+Tab go from task to task, the arrows through the cells, Ctrl+Left and Ctrl+Right a day or a "
      L"week back and forth.");
  Layout();
  ScrollToWorkingHours();
  ShowState();
}

void TMainWindow::StartAutoTest(const std::wstring& Folder) {
  FAutoTest = std::make_unique<TAutoTest>(*this, Folder);
  ::SetTimer(FWindow, AutoTestTimer, TAutoTest::StepMilliseconds, nullptr);
}

int TMainWindow::ExitCode() const { return FAutoTest && !FAutoTest->Passed() ? 1 : 0; }

void TMainWindow::Layout() {
  RECT client{};
  ::GetClientRect(FWindow, &client);
  ::SendMessageW(FStatus, WM_SIZE, 0, 0);
  RECT status{};
  ::GetWindowRect(FStatus, &status);
  const int bottom = client.bottom - (status.bottom - status.top);
  const int logHeight = Scaled(LogHeight, FDpi);
  const int logTop = bottom - logHeight;
  const int top = FToolbar ? FToolbar->Height() : 0;
  if (FHost) ::MoveWindow(FHost->Window(), 0, top, client.right, logTop - top - Scaled(4, FDpi), TRUE);
  ::MoveWindow(FLog, 0, logTop, client.right, logHeight, TRUE);
}

// Moved to a screen of another density: the toolbar is made anew in a font of that density (the
// demo's own check boxes keep their state), and the window takes the place the system suggests.
void TMainWindow::DensityChanged(int Dpi, const RECT& Suggested) {
  FDpi = Dpi;
  const bool keepInHours = FToolbar->Checked(cmKeepInHours);
  const bool askDelete = FToolbar->Checked(cmAskDelete);
  FToolbar.reset();
  HFONT old = FFont;
  FFont = MessageFont(Dpi);
  FToolbar = std::make_unique<TToolbar>(FWindow, FFont, Dpi);
  ::CheckDlgButton(FWindow, cmKeepInHours, keepInHours ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(FWindow, cmAskDelete, askDelete ? BST_CHECKED : BST_UNCHECKED);
  ::SendMessageW(FLog, WM_SETFONT, reinterpret_cast<WPARAM>(FFont), TRUE);
  ::DeleteObject(old);
  FToolbar->Show(FHost->Control());
  ::SetWindowPos(FWindow, nullptr, Suggested.left, Suggested.top, Suggested.right - Suggested.left,
                 Suggested.bottom - Suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
}

void TMainWindow::Run(TCommand Command) {
  ISkedraX2& control = FHost->Control();
  const auto checked = [this](TCommand box) { return FToolbar->Checked(box) ? VARIANT_TRUE : VARIANT_FALSE; };
  switch (Command) {
    case cmDaily: Check(control.put_SkedraType(skDaily), L"Daily view"); break;
    case cmWeekly: Check(control.put_SkedraType(skWeekly), L"Weekly view"); break;
    case cmToday: Check(control.put_ActiveDate(Today()), L"Today"); break;
    case cmWeekStart:
      Check(control.put_WeekStart(static_cast<IDayOfWeek>(FToolbar->Chosen(cmWeekStart))), L"Week start");
      break;
    case cmWeekEnd:
      Check(control.put_WeekEnd(static_cast<IDayOfWeek>(FToolbar->Chosen(cmWeekEnd))), L"Week end");
      break;
    case cmDayStart:
      Check(control.put_DayStart(FToolbar->Chosen(cmDayStart) / 1440.0), L"Day start");
      ScrollToWorkingHours();
      break;
    case cmDayEnd: Check(control.put_DayEnd(FToolbar->Chosen(cmDayEnd) / 1440.0), L"Day end"); break;
    case cmTimeScale:
      Check(control.put_TimeScale(FToolbar->Chosen(cmTimeScale)), L"Time scale");
      ScrollToWorkingHours();
      break;
    // Over the cells selected in the grid; the control asks for an identifier and opens its dialog.
    case cmNewTask: Check(control.NewTask(), L"New task"); break;
    case cmAbout: Check(control.AboutBox(), L"About box"); break;
    case cmDragTasks: Check(control.put_AllowDragTasks(checked(cmDragTasks)), L"Drag tasks"); break;
    case cmNowLine: Check(control.put_ShowCurrentTime(checked(cmNowLine)), L"Now line"); break;
    // The demo's own rules, applied in its answers to the control's questions.
    case cmKeepInHours:
    case cmAskDelete: break;
  }
  ShowState();
}

void TMainWindow::Command(int Id, int Code) {
  if (!FHost) return;
  const bool list = Id == cmWeekStart || Id == cmWeekEnd || Id == cmDayStart || Id == cmDayEnd || Id == cmTimeScale;
  if (list ? Code == CBN_SELCHANGE : Code == BN_CLICKED) Run(static_cast<TCommand>(Id));
}

// The grid keeps its scroll position (0:00 for a new grid); the demo brings the working hours to
// the top as a user would with the scroll bar's arrow.
void TMainWindow::ScrollToWorkingHours() {
  ISkedraX2& control = FHost->Control();
  double dayStart = 0;
  long scale = 0;
  control.get_DayStart(&dayStart);
  control.get_TimeScale(&scale);
  if (scale <= 0) return;
  HWND grid = FHost->ControlWindow();
  ::SendMessageW(grid, WM_VSCROLL, SB_TOP, 0);
  for (long row = Minutes(dayStart) / scale; row > 0; --row)
    ::SendMessageW(grid, WM_VSCROLL, SB_LINEDOWN, 0);
}

void TMainWindow::Check(HRESULT Result, const wchar_t* What) {
  if (FAILED(Result)) Log(std::wstring(What) + L" refused: " + ErrorText(Result));
}

void TMainWindow::ShowState() {
  if (!FHost) return;
  ISkedraX2& control = FHost->Control();
  FToolbar->Show(control);
  ISkedraType type = skDaily;
  IDayOfWeek weekStart = dwMon, weekEnd = dwFri;
  double activeDate = 0;
  long count = 0;
  control.get_SkedraType(&type);
  control.get_WeekStart(&weekStart);
  control.get_WeekEnd(&weekEnd);
  control.get_ActiveDate(&activeDate);
  control.get_Count(&count);
  std::wstring text = type == skWeekly ? L"Weekly view, " + DateText(activeDate) + L" to " +
                                             DateText(activeDate + (weekEnd - weekStart + 7) % 7)
                                       : L"Daily view, " + DateText(activeDate);
  text += L"   |   " + std::to_wstring(count) + L" tasks";
  if (!FSelected.empty()) text += L"   |   selected: " + FSelected;
  ::SendMessageW(FStatus, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TMainWindow::Log(const std::wstring& Line) {
  FLines.push_back(Line);
  if (FLog == nullptr) return;
  const LRESULT index = ::SendMessageW(FLog, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Line.c_str()));
  ::SendMessageW(FLog, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

int TMainWindow::EventCount(DISPID Event) const {
  auto found = FEventCounts.find(Event);
  return found == FEventCounts.end() ? 0 : found->second;
}

long TMainWindow::NewTaskId() {
  ++FEventCounts[SkedraXEventsDispId::OnGetNewID];
  Log(L"OnGetNewID: the new task gets #" + std::to_wstring(++FLastId));
  return FLastId;
}

void TMainWindow::TaskEvent(DISPID Event, ITaskObject& Task) {
  ++FEventCounts[Event];
  const std::wstring text = TaskText(Task);
  Log(std::wstring(EventName(Event)) + L": " + text);
  if (Event == SkedraXEventsDispId::OnSelectTask) FSelected = text.substr(0, text.find(L','));
  if (Event == SkedraXEventsDispId::OnUnselectTask) FSelected.clear();
  // The control is in the middle of its own work: the status line is brought up to date later.
  ::PostMessageW(FWindow, WM_APP, 0, 0);
}

bool TMainWindow::RefuseTimes(DISPID Event, ITaskObject& Task, double NewStart, double NewFinish) {
  ++FEventCounts[Event];
  double start = 0, finish = 0;
  Task.get_StartDateTime(&start);
  Task.get_FinishDateTime(&finish);
  Log(std::wstring(EventName(Event)) + L": " + TaskName(Task) + L", " + PeriodText(start, finish) + L" -> " +
      PeriodText(NewStart, NewFinish));
  if (!FToolbar->Checked(cmKeepInHours)) return false;
  const std::wstring outside = OutsideWorkingHours(NewStart, NewFinish);
  if (outside.empty()) return false;
  ++FRefusals;
  Log(L"    refused (Keep in working hours): " + outside);
  return true;
}

// The start on its day not before DayStart, the finish on its day not after DayEnd: the rows the
// grid colours as working hours.
std::wstring TMainWindow::OutsideWorkingHours(double Start, double Finish) const {
  double dayStart = 0, dayEnd = 0;
  FHost->Control().get_DayStart(&dayStart);
  FHost->Control().get_DayEnd(&dayEnd);
  if (MinuteOfDay(Start) < Minutes(dayStart))
    return L"it would start at " + TimeText(Start) + L", before " + TimeText(dayStart);
  if (MinuteOfDay(Finish) > Minutes(dayEnd))
    return L"it would end at " + TimeText(Finish) + L", after " + TimeText(dayEnd);
  return {};
}

bool TMainWindow::RefuseChange(DISPID Event, ITaskObject& Task) {
  ++FEventCounts[Event];
  Log(std::wstring(EventName(Event)) + L": " + TaskText(Task));
  if (Event != SkedraXEventsDispId::OnBeforeDeleteTask || AllowDelete(Task)) return false;
  ++FRefusals;
  return true;
}

// The message box runs its own message loop inside the control's deletion; the self-test answers
// in its place, since nobody would close the box.
bool TMainWindow::AllowDelete(ITaskObject& Task) {
  if (!FToolbar->Checked(cmAskDelete)) return true;
  const std::wstring question = L"Delete \"" + Description(Task) + L"\"?";
  const bool yes = FAutoTest ? FAutoTest->AnswerDelete()
                             : ::MessageBoxW(FWindow, question.c_str(), L"SkedraXControl demo",
                                             MB_YESNO | MB_ICONQUESTION) == IDYES;
  Log(L"    " + question + (yes ? L" Yes" : L" No: the task stays") +
      (FAutoTest ? L" (answered by the self-test)" : L""));
  return yes;
}

void TMainWindow::KeyPress(wchar_t Key) {
  ++FEventCounts[SkedraXEventsDispId::OnKeyPress];
  Log(L"OnKeyPress: " + KeyText(Key));
}

void TMainWindow::OtherEvent(DISPID Event) {
  ++FEventCounts[Event];
  Log(EventName(Event));
}

LRESULT CALLBACK TMainWindow::WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_NCCREATE) {
    auto* created = static_cast<TMainWindow*>(reinterpret_cast<CREATESTRUCTW*>(LParam)->lpCreateParams);
    created->FWindow = Window;
    ::SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<TMainWindow*>(::GetWindowLongPtrW(Window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(Window, Message, WParam, LParam);
  try {
    return self->Handle(Message, WParam, LParam);
  } catch (...) {
    self->Log(L"Failure: " + ExceptionText());
    return 0;
  }
}

LRESULT TMainWindow::Handle(UINT Message, WPARAM WParam, LPARAM LParam) {
  const HWND window = FWindow;
  switch (Message) {
    case WM_SIZE: Layout(); return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(LParam)->ptMinTrackSize = POINT{Scaled(640, FDpi), Scaled(420, FDpi)};
      return 0;
    case WM_DPICHANGED:
      if (FToolbar && FHost) DensityChanged(HIWORD(WParam), *reinterpret_cast<const RECT*>(LParam));
      return 0;
    case WM_COMMAND: Command(LOWORD(WParam), HIWORD(WParam)); return 0;
    case WM_APP: ShowState(); return 0;
    case WM_TIMER:
      if (WParam == AutoTestTimer && FAutoTest && !FAutoTest->Step()) ::KillTimer(FWindow, AutoTestTimer);
      return 0;
    case WM_CLOSE:
      ::DestroyWindow(FWindow);
      return 0;
    case WM_DESTROY:
      ::KillTimer(FWindow, AutoTestTimer);
      FHost.reset();
      ::PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(FWindow, GWLP_USERDATA, 0);
      FWindow = nullptr;
      break;
  }
  return ::DefWindowProcW(window, Message, WParam, LParam);
}

}  // namespace demo

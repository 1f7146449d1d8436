// The self-test's steps. Each runs from the main window's timer, also while the control's modal
// task dialog runs its own message loop.
#include "AutoTest.h"

#include <cmath>
#include <fstream>

#include "Density.h"
#include "MainWindow.h"
#include "Screenshot.h"
#include "TaskText.h"

namespace demo {

namespace {

namespace Ev = SkedraXEventsDispId;

// The height of a time row with its grid line.
constexpr int RowHeight = 17;

// A distance on the grid written for 96 pixels per inch, at the grid window's density.
int OnGrid(HWND Grid, int Pixels) { return Scaled(Pixels, WindowDpi(Grid)); }

struct TWindowSearch {
  const wchar_t* Caption;
  HWND Found;
};

BOOL CALLBACK MatchCaption(HWND Window, LPARAM Data) {
  auto* search = reinterpret_cast<TWindowSearch*>(Data);
  wchar_t text[64] = L"";
  ::GetWindowTextW(Window, text, 64);
  if (!::IsWindowVisible(Window) || std::wstring(text) != search->Caption) return TRUE;
  search->Found = Window;
  return FALSE;
}

// The visible top-level window of this thread with that caption.
HWND ThreadWindow(const wchar_t* Caption) {
  TWindowSearch search{Caption, nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), MatchCaption, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

// A press, the pointer going down (or up) in steps as a hand moves it, and the release: real
// mouse messages, taken from the queue after this timer tick.
void Drag(HWND Window, POINT From, int Dy) {
  ::PostMessageW(Window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(From.x, From.y));
  for (int step = 1; step <= 4; ++step)
    ::PostMessageW(Window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(From.x, From.y + Dy * step / 4));
  ::PostMessageW(Window, WM_LBUTTONUP, 0, MAKELPARAM(From.x, From.y + Dy));
}

}  // namespace

TAutoTest::~TAutoTest() {
  if (FTask != nullptr) FTask->Release();
}

bool TAutoTest::Step() {
  switch (FStep++) {
    case 0: Screenshot(L"1-weekly"); break;
    case 1: ClickAMarker(); break;
    case 2:
      Expect(FMain.EventCount(Ev::OnSelectTask) == 1, L"a click on a task selects it");
      Screenshot(L"2-selected");
      FMain.Run(cmDaily);
      FMain.Run(cmToday);
      break;
    case 3:
      Screenshot(L"3-daily");
      SelectFreeCells();
      break;
    case 4:
      // Posted: the dialog's modal loop must not run inside this timer tick.
      ::PostMessageW(FMain.Window(), WM_COMMAND, MAKEWPARAM(cmNewTask, BN_CLICKED), 0);
      break;
    case 5:
      if (!AnswerTaskDialog() && ++FWaits < 10) --FStep;
      break;
    case 6:
      Expect(FMain.EventCount(Ev::OnGetNewID) == 1, L"the new task asks for an identifier");
      Expect(FMain.EventCount(Ev::OnAppendTask) == 1, L"the new task is appended");
      Expect(FMain.EventCount(Ev::OnUnselectTask) == 1, L"selecting cells unselects the task once");
      Screenshot(L"5-new-task");
      FMain.Run(cmWeekly);
      FMain.Toolbar().Choose(cmWeekEnd, dwSun);
      FMain.Toolbar().Choose(cmDayStart, 7 * 60);
      FMain.Toolbar().Choose(cmTimeScale, 30);
      break;
    case 7:
      Screenshot(L"6-weekly-monday-to-sunday-30-minutes");
      FMain.Toolbar().Click(cmKeepInHours);
      StartDragging();
      break;
    case 8: {
      if (FTask == nullptr) {
        Finish();
        return false;
      }
      Expect(MovedBy(240 / FScale), L"a drag moves the task by whole rows");
      Expect(FMain.EventCount(Ev::OnBeforeMoveTask) == 1 && FMain.EventCount(Ev::OnTaskMoved) == 1,
             L"a drag asks before the move and tells after it");
      Screenshot(L"7-task-dragged");
      FGrip.y += OnGrid(FMain.ControlWindow(), 240 / FScale * RowHeight);
      // Down to the first row whose start lies past the end of the working hours.
      double finish = 0, dayEnd = 0;
      FTask->get_FinishDateTime(&finish);
      FMain.Control().get_DayEnd(&dayEnd);
      DragRows((Minutes(dayEnd) - MinuteOfDay(finish)) / FScale + 1);
      break;
    }
    case 9:
      Expect(MovedBy(240 / FScale), L"\"Keep in working hours\" refuses a move past their end");
      Expect(FMain.Refusals() == 1 && FMain.EventCount(Ev::OnBeforeMoveTask) == 2 &&
                 FMain.EventCount(Ev::OnTaskMoved) == 1,
             L"the refusal is the sink's answer to the second move");
      Screenshot(L"8-drag-refused");
      FMain.Toolbar().Click(cmDragTasks);
      DragRows(-2);
      break;
    case 10:
      Expect(MovedBy(240 / FScale) && FMain.EventCount(Ev::OnBeforeMoveTask) == 2,
             L"with \"Drag tasks\" off a drag moves nothing");
      FMain.Toolbar().Click(cmDragTasks);
      ExpectNowLineSwitches();
      FCount = TaskCount();
      ::PostMessageW(FMain.ControlWindow(), WM_CHAR, L'd', 1);
      FAllowDelete = false;
      PressKey(VK_DELETE);
      break;
    case 11:
      Expect(FMain.EventCount(Ev::OnKeyPress) == 1, L"a typed character is told");
      Expect(TaskCount() == FCount && FMain.EventCount(Ev::OnBeforeDeleteTask) == 1 &&
                 FMain.EventCount(Ev::OnDeleteTask) == 0 && FMain.Refusals() == 2,
             L"Delete answered No keeps the selected task");
      Screenshot(L"9-delete-refused");
      FAllowDelete = true;
      PressKey(VK_DELETE);
      break;
    case 12: {
      double start = 0;
      Expect(TaskCount() == FCount - 1 && FMain.EventCount(Ev::OnDeleteTask) == 1 &&
                 FAILED(FTask->get_StartDateTime(&start)),
             L"Delete answered Yes deletes the selected task, the dragged one");
      Screenshot(L"10-task-deleted");
      Finish();
      return false;
    }
  }
  return true;
}

void TAutoTest::Screenshot(const wchar_t* Name) {
  RECT rect{};
  ::GetWindowRect(FMain.Window(), &rect);
  const std::wstring path = FFolder + L"\\" + Name + L".bmp";
  Expect(SaveScreenRect(rect, path), L"screenshot " + path);
}

void TAutoTest::Expect(bool Condition, const std::wstring& What) {
  if (Condition) return;
  ++FFailures;
  FMain.Log(L"AUTOTEST FAILED: " + What);
}

// The markers are no windows: the grid finds the one under a press. Presses go down the first
// day's column, on the top pixel row of each time row and 4 pixels right of where its markers
// start (the columns begin at x = 50, their markers 10 pixels in), until one selects a task.
POINT TAutoTest::ClickAMarker() {
  HWND grid = FMain.ControlWindow();
  RECT client{};
  ::GetClientRect(grid, &client);
  const int selected = FMain.EventCount(Ev::OnSelectTask);
  const int x = OnGrid(grid, 64);
  for (int y = OnGrid(grid, 21); y < client.bottom; y += OnGrid(grid, RowHeight)) {
    const LPARAM at = MAKELPARAM(x, y);
    ::SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(grid, WM_LBUTTONUP, 0, at);
    if (FMain.EventCount(Ev::OnSelectTask) > selected) return POINT{x, y};
  }
  Expect(false, L"the week shows task markers");
  return POINT{x, OnGrid(grid, 21)};
}

// Three cells of the day's column that no marker covers, from the middle of the grid down: on the
// screen, such cells show only the working-hours or off-hours colour and the grid lines.
void TAutoTest::SelectFreeCells() {
  HWND grid = FMain.ControlWindow();
  RECT client{};
  ::GetClientRect(grid, &client);
  HDC dc = ::GetDC(grid);
  auto cellOnly = [dc](int x, int y) {
    const COLORREF pixel = ::GetPixel(dc, x, y);
    return pixel == RGB(255, 255, 128) || pixel == RGB(192, 192, 50) || pixel == RGB(128, 128, 128);
  };
  constexpr int Span = 40;
  for (int y = client.bottom / 3; y + Span < client.bottom; y += 8)
    for (int x = client.right - 12; x > client.right / 3; x -= 24) {
      bool free = true;
      for (int dy = 0; dy <= Span && free; dy += 4) free = cellOnly(x, y + dy);
      if (free) {
        ::ReleaseDC(grid, dc);
        Drag(grid, POINT{x, y}, Span);
        return;
      }
    }
  ::ReleaseDC(grid, dc);
  Expect(false, L"free cells to select");
}

bool TAutoTest::AnswerTaskDialog() {
  HWND dialog = ThreadWindow(L"Task");
  if (dialog == nullptr) return false;
  // The dialog opens with the focus on the description.
  HWND focus = ::GetFocus();
  for (wchar_t c : std::wstring(L"Review the demo")) ::SendMessageW(focus, WM_CHAR, c, 0);
  ::UpdateWindow(dialog);
  Screenshot(L"4-task-dialog");
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
  return true;
}

// The press lands mid-row, away from the marker's top and bottom edges, which resize.
void TAutoTest::StartDragging() {
  FGrip = ClickAMarker();
  FGrip.y += OnGrid(FMain.ControlWindow(), RowHeight / 2);
  FMain.Control().get_TimeScale(&FScale);
  if (FScale <= 0 || FAILED(FMain.Control().get_SelectedTask(&FTask)) || FTask == nullptr) {
    Expect(false, L"a selected task to drag");
    return;
  }
  FTask->get_StartDateTime(&FStart);
  DragRows(240 / FScale);
}

void TAutoTest::DragRows(int Rows) {
  if (FTask != nullptr) Drag(FMain.ControlWindow(), FGrip, OnGrid(FMain.ControlWindow(), Rows * RowHeight));
}

bool TAutoTest::MovedBy(int Rows) const {
  double start = 0;
  if (FTask == nullptr || FAILED(FTask->get_StartDateTime(&start))) return false;
  return std::fabs(start - FStart - Rows * FScale / (24.0 * 60)) < 1e-6;
}

void TAutoTest::PressKey(WPARAM Key) {
  ::PostMessageW(FMain.ControlWindow(), WM_KEYDOWN, Key, 1);
  ::PostMessageW(FMain.ControlWindow(), WM_KEYUP, Key, 0xC0000001);
}

void TAutoTest::ExpectNowLineSwitches() {
  VARIANT_BOOL shown = VARIANT_TRUE;
  FMain.Toolbar().Click(cmNowLine);
  FMain.Control().get_ShowCurrentTime(&shown);
  Expect(shown == VARIANT_FALSE, L"\"Now line\" switches the current time's line off");
  FMain.Toolbar().Click(cmNowLine);
  FMain.Control().get_ShowCurrentTime(&shown);
  Expect(shown != VARIANT_FALSE, L"\"Now line\" switches it on again");
}

long TAutoTest::TaskCount() const {
  long count = -1;
  FMain.Control().get_Count(&count);
  return count;
}

void TAutoTest::Finish() {
  Expect(FMain.EventCount(Ev::OnClick) >= 1, L"clicks are told");
  std::wofstream log((FFolder + L"\\events.log").c_str());
  for (const std::wstring& line : FMain.LogLines()) log << line << L"\n";
  log << (Passed() ? L"AUTOTEST PASSED" : L"AUTOTEST FAILED") << L"\n";
  ::PostMessageW(FMain.Window(), WM_CLOSE, 0, 0);
}

}  // namespace demo

// The self-test's steps. Each runs from the main window's timer, also while the control's modal
// task dialog runs its own message loop.
#include "AutoTest.h"

#include <fstream>

#include "MainWindow.h"
#include "Screenshot.h"

namespace demo {

namespace {

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

void Click(HWND Window, int X, int Y, int ToY) {
  ::PostMessageW(Window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y));
  ::PostMessageW(Window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(X, ToY));
  ::PostMessageW(Window, WM_LBUTTONUP, 0, MAKELPARAM(X, ToY));
}

}  // namespace

bool TAutoTest::Step() {
  switch (FStep++) {
    case 0: Screenshot(L"1-weekly"); break;
    case 1: ClickAMarker(); break;
    case 2:
      Expect(FMain.EventCount(SkedraXEventsDispId::OnSelectTask) == 1, L"a click on a task selects it");
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
      Expect(FMain.EventCount(SkedraXEventsDispId::OnGetNewID) == 1, L"the new task asks for an identifier");
      Expect(FMain.EventCount(SkedraXEventsDispId::OnAppendTask) == 1, L"the new task is appended");
      Screenshot(L"5-new-task");
      FMain.Run(cmWeekly);
      FMain.Toolbar().Choose(cmWeekEnd, dwSun);
      FMain.Toolbar().Choose(cmDayStart, 7 * 60);
      FMain.Toolbar().Choose(cmTimeScale, 30);
      break;
    case 7:
      Screenshot(L"6-weekly-monday-to-sunday-30-minutes");
      Finish();
      return false;
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

// The markers are no windows: the grid finds the one under a press. Presses go down each day's
// column of the weekly view, 4 pixels right of where its markers start (the columns begin at
// x = 50, their markers 10 pixels in), until one selects a task.
void TAutoTest::ClickAMarker() {
  HWND grid = FMain.ControlWindow();
  RECT client{};
  ::GetClientRect(grid, &client);
  const int dayWidth = (client.right - 50 - 7) / 5;
  for (int day = 0; day < 5; ++day)
    for (int y = 21; y < client.bottom; y += 17) {
      const LPARAM at = MAKELPARAM(50 + day * dayWidth + 14, y);
      ::SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, at);
      ::SendMessageW(grid, WM_LBUTTONUP, 0, at);
      if (FMain.EventCount(SkedraXEventsDispId::OnSelectTask) > 0) return;
    }
  Expect(false, L"the week shows task markers");
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
        Click(grid, x, y, y + Span);
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

void TAutoTest::Finish() {
  Expect(FMain.EventCount(SkedraXEventsDispId::OnUnselectTask) == 1,
         L"selecting cells unselects the task once");
  std::wofstream log((FFolder + L"\\events.log").c_str());
  for (const std::wstring& line : FMain.LogLines()) log << line << L"\n";
  log << (Passed() ? L"AUTOTEST PASSED" : L"AUTOTEST FAILED") << L"\n";
  ::PostMessageW(FMain.Window(), WM_CLOSE, 0, 0);
}

}  // namespace demo

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
    case 1: ClickLargestMarker(); break;
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

void TAutoTest::ClickLargestMarker() {
  HWND largest = nullptr;
  long largestArea = 0;
  for (HWND child = ::GetWindow(FMain.ControlWindow(), GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    const long area = (rect.right - rect.left) * (rect.bottom - rect.top);
    if (::IsWindowVisible(child) && area > largestArea) {
      largest = child;
      largestArea = area;
    }
  }
  Expect(largest != nullptr, L"the week shows task markers");
  if (largest != nullptr) Click(largest, 4, 4, 4);
}

// Three cells of the day's column that no marker covers, from the middle of the grid down.
void TAutoTest::SelectFreeCells() {
  HWND grid = FMain.ControlWindow();
  RECT client{};
  ::GetClientRect(grid, &client);
  constexpr int Span = 40;
  for (int y = client.bottom / 3; y + Span < client.bottom; y += 8)
    for (int x = client.right - 12; x > client.right / 3; x -= 24) {
      bool free = true;
      for (int dy = 0; dy <= Span && free; dy += 4)
        free = ::ChildWindowFromPointEx(grid, POINT{x, y + dy}, CWP_SKIPINVISIBLE) == grid;
      if (free) {
        Click(grid, x, y, y + Span);
        return;
      }
    }
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

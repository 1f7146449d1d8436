// The schedule grid in real windows under Wine: styles, screenshots, mouse, menus, keys,
// scrolling, resizing and timers.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Framework/Core/Exceptions.h"
#include "Framework/Win32/ErrorReport.h"
#include "Framework/Win32/Win32Types.h"
#include "GridHost.h"

namespace skx::test {
namespace {

constexpr TColor WorkingHours = 0x0080FFFF;
constexpr TColor OffHours = 0x0032C0C0;
constexpr int Pitch = 17;

TDateTime At(int hour, int minute) { return EncodeTime(hour, minute, 0, 0); }

int RowOf(int hour, int minute) { return 1 + (hour * 60 + minute) / 15; }

TPoint Middle(const TRect& rect) { return TPoint{(rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2}; }

TColor SysColor(int index) { return static_cast<TColor>(::GetSysColor(index)); }

TRect RectIn(HWND window, HWND child) {
  RECT rect{};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&rect), 2);
  return ToTRect(rect);
}

class GridWindowTest : public ::testing::Test {
 protected:
  TGridHost FHost{640, 480};
  TSkedra& Grid() { return FHost.Grid(); }
  TRect Marker(int item, int index = 0) { return ToTRect(FHost.MarkerRect(item, index)); }
  // Working-hours and off-hours rows both in view: 6:00 at the top.
  void ShowMorning() {
    Grid().SetTopLeft(2, RowOf(6, 0));
    FHost.Pump();
  }
  void ExpectCellColor(const TScreenshot& shot, int col, int row, TColor color) {
    TRect cell = Grid().CellRect(col, row);
    ASSERT_FALSE(cell.IsEmpty()) << "cell " << col << "," << row << " not in view";
    // The right end of the cell, where no marker stands (markers start 10 pixels in).
    TPoint at{cell.Right - 3, Middle(cell).Y};
    EXPECT_EQ(ColorText(shot.At(at.X, at.Y)), ColorText(color)) << "cell " << col << "," << row;
  }
};

TEST_F(GridWindowTest, WindowsHaveTheStylesTheControlsAskFor) {
  HWND grid = FHost.GridWindow();
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(::GetParent(grid), FHost.Frame());
  EXPECT_EQ(::GetWindowLongPtrW(grid, GWL_STYLE) & (WS_CHILD | WS_CLIPCHILDREN), WS_CHILD | WS_CLIPCHILDREN);

  // A marker takes no window: the grid's children are its two buttons.
  FHost.AddTask(1, At(9, 0), At(9, 45), L"Review");
  int children = 0;
  for (HWND child = ::GetWindow(grid, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) ++children;
  EXPECT_EQ(children, 2);

  int width = Grid().ClientWidth();
  EXPECT_EQ(RectIn(grid, TGridHost::WindowOf(*Grid().PrevButton())), (TRect{0, 0, 13, 13}));
  EXPECT_EQ(RectIn(grid, TGridHost::WindowOf(*Grid().NextButton())), (TRect{width - 13, 0, width, 13}));
}

TEST_F(GridWindowTest, DailyViewShowsWorkingHoursAndMarkersWherePlacementPutsThem) {
  ShowMorning();
  FHost.AddTask(1, At(9, 0), At(9, 45), L"Team meeting").FTaskType = ttContact;
  TRxTaskObject& report = FHost.AddTask(2, At(10, 30), At(12, 0), L"Write the report");
  report.FWhere = L"Office";
  report.FRemind = 15;
  report.FPriority = tpHigh;
  TRxTaskObject& call = FHost.AddTask(3, At(11, 0), At(11, 30), L"Call back");
  call.FStatus = tsCompleted;
  call.FIsPrivate = true;
  FHost.Repaint();
  TScreenshot shot = CaptureClient(FHost.GridWindow());
  shot.Save(L"daily.bmp");

  ExpectCellColor(shot, 2, RowOf(8, 0), WorkingHours);
  ExpectCellColor(shot, 2, RowOf(6, 0), OffHours);
  ExpectCellColor(shot, 2, RowOf(7, 45), OffHours);

  // Rows 37 to 40 with row 25 at the top: (37 - 25 + 1) x 17 down, four rows high; alone on its
  // day, 10 pixels in and the column's width less 10 wide.
  TRect meeting = Marker(0);
  int dayWidth = Grid().ColWidths(2);
  EXPECT_EQ(meeting, (TRect{60, 13 * Pitch, 60 + dayWidth - 10, 13 * Pitch + 4 * Pitch}));
  EXPECT_EQ(meeting, FHost.Marker(0).BoundsRect());
  // Its border, its silver inside, and the yellow cell beside it.
  EXPECT_EQ(ColorText(shot.At(meeting.Left, meeting.Top + 5)), ColorText(SysColor(COLOR_WINDOWFRAME)));
  EXPECT_EQ(ColorText(shot.At(meeting.Right - 4, meeting.Top + 4)), ColorText(clSilver));
  EXPECT_EQ(ColorText(shot.At(meeting.Left - 3, meeting.Top + 4)), ColorText(WorkingHours));
  // The two overlapping tasks share the column.
  EXPECT_EQ(Marker(1).Right - Marker(1).Left, (dayWidth - 10) / 2);
  EXPECT_EQ(Marker(2).Left, Marker(1).Left + (dayWidth - 10) / 2);
}

TEST_F(GridWindowTest, WeeklyViewShowsEveryDayAndTasksAcrossDays) {
  Grid().SetSkedraType(skWeekly);
  ShowMorning();
  FHost.AddTask(1, At(9, 0), At(9, 45), L"Standup");
  FHost.AddTask(2, 2 + At(14, 0), 3 + At(10, 0), L"Offsite").FTaskType = ttEvent;
  FHost.AddTask(3, 4 + At(7, 0), 4 + At(8, 30), L"Early train").FWhere = L"Station";
  TRxTaskObject& review = FHost.AddTask(4, 1 + At(8, 30), 1 + At(10, 0), L"Design review");
  review.FPriority = tpLow;
  review.FStatus = tsSuspend;
  FHost.AddTask(5, 1 + At(9, 30), 1 + At(11, 15), L"Lunch & learn").FRemind = 10;
  FHost.Repaint();
  TScreenshot shot = CaptureClient(FHost.GridWindow());
  shot.Save(L"weekly.bmp");

  ASSERT_EQ(Grid().ColCount(), 7);
  for (int col = 2; col < 7; ++col) {
    ExpectCellColor(shot, col, RowOf(8, 0), WorkingHours);
    ExpectCellColor(shot, col, RowOf(6, 30), OffHours);
  }
  // The task over two days has a marker in each of their columns, down to the last row in view
  // on the first day and from the first row on the second.
  ASSERT_EQ(FHost.Item(1).Points().size(), 2u);
  TRect first = Marker(1, 0);
  TRect second = Marker(1, 1);
  EXPECT_EQ(first.Top, (RowOf(14, 0) - RowOf(6, 0) + 1) * Pitch);
  EXPECT_EQ(second.Top, Pitch);
  EXPECT_GT(second.Left, first.Left);
}

TEST_F(GridWindowTest, ClickOnAMarkerSelectsTheTaskInEveryMarker) {
  Grid().SetSkedraType(skWeekly);
  ShowMorning();
  FHost.AddTask(1, At(9, 0), 1 + At(10, 0), L"Two days");
  FHost.AddTask(2, 3 + At(9, 0), 3 + At(9, 30), L"Other");
  int selections = 0;
  Grid().OnSelectTask = [&](TComponent*, TTaskObject* task) {
    ++selections;
    EXPECT_EQ(task->FID, 1);
  };
  // One pixel into the marker's client area, where the selection bar is drawn.
  auto barColor = [&](int item, int index) {
    TScreenshot shot = CaptureClient(FHost.GridWindow());
    TPoint origin = FHost.Marker(item, index).ClientOrigin();
    return ColorText(shot.At(origin.X + 1, origin.Y + 10));
  };
  EXPECT_EQ(barColor(0, 0), ColorText(clSilver));

  FHost.ClickMarker(FHost.Marker(0, 1), 20, 20);
  EXPECT_EQ(selections, 1);
  EXPECT_EQ(Grid().SelectedItem(), &FHost.Item(0));
  EXPECT_EQ(barColor(0, 0), ColorText(SysColor(COLOR_ACTIVECAPTION)));
  EXPECT_EQ(barColor(0, 1), ColorText(SysColor(COLOR_ACTIVECAPTION)));
  EXPECT_EQ(barColor(1, 0), ColorText(clSilver));

  // A press on the grid outside the markers takes the selection away.
  FHost.Click(FHost.GridWindow(), Grid().CellRect(2, RowOf(6, 0)).Left + 3, Grid().CellRect(2, RowOf(6, 0)).Top + 3);
  EXPECT_EQ(Grid().SelectedItem(), nullptr);
  EXPECT_EQ(barColor(0, 1), ColorText(clSilver));
}

TEST_F(GridWindowTest, RightClickOnAMarkerOffersUpdateAndDelete) {
  ShowMorning();
  FHost.AddTask(1, At(9, 0), At(9, 45), L"Review");
  const TPointControl& marker = FHost.Marker(0);
  {
    TMenuAnswer cancel(-1);
    FHost.ClickMarker(marker, 20, 20, true);
    ASSERT_TRUE(cancel.Answered());
    EXPECT_EQ(cancel.Items(), (std::vector<std::wstring>{L"Update...", L"-", L"Delete"}));
  }
  EXPECT_EQ(Grid().TaskItems().Count(), 1);
  EXPECT_EQ(Grid().SelectedItem(), &FHost.Item(0));

  int deleted = 0;
  Grid().OnDeleteTask = [&](TComponent*, TTaskObject*) { ++deleted; };
  {
    TMenuAnswer pickDelete(2);
    FHost.ClickMarker(marker, 20, 20, true);
    ASSERT_TRUE(pickDelete.Answered());
    EXPECT_EQ(pickDelete.Items().size(), 3u);
  }
  FHost.Pump();
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(Grid().TaskItems().Count(), 0);
  EXPECT_EQ(Grid().ControlCount(), 2);
}

TEST_F(GridWindowTest, RightClickOnTheGridOffersNewTask) {
  TMenuAnswer cancel(-1);
  FHost.Click(FHost.GridWindow(), 100, 100, true);
  ASSERT_TRUE(cancel.Answered());
  EXPECT_EQ(cancel.Items(), (std::vector<std::wstring>{L"New task..."}));
}

TEST_F(GridWindowTest, AMenuAskedForFromTheKeyboardComesUpBelowTheCurrentCell) {
  ShowMorning();
  TRect cell = Grid().CellRect(3, RowOf(9, 0));
  FHost.Click(FHost.GridWindow(), cell.Left + 3, cell.Top + 3);
  TMenuAnswer cancel(-1);
  ::SendMessageW(FHost.GridWindow(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(FHost.GridWindow()), -1);
  ASSERT_TRUE(cancel.Answered());
  EXPECT_EQ(cancel.Items(), (std::vector<std::wstring>{L"New task..."}));
  POINT below{cell.Left, cell.Bottom};
  ::ClientToScreen(FHost.GridWindow(), &below);
  EXPECT_EQ(cancel.At().x, below.x);
  EXPECT_EQ(cancel.At().y, below.y);
}

TEST_F(GridWindowTest, ScrollingMovesMarkersByTheRowPitch) {
  ShowMorning();
  FHost.AddTask(1, At(9, 0), At(9, 45), L"Review");
  TRect before = Marker(0);
  ::SendMessageW(FHost.GridWindow(), WM_VSCROLL, SB_LINEDOWN, 0);
  FHost.Pump();
  EXPECT_EQ(Grid().TopVisibleRow(), RowOf(6, 15));
  TRect after = Marker(0);
  EXPECT_EQ(after.Top, before.Top - Pitch);
  EXPECT_EQ(after.Bottom, before.Bottom - Pitch);
  ::SendMessageW(FHost.GridWindow(), WM_VSCROLL, SB_PAGEUP, 0);
  ::SendMessageW(FHost.GridWindow(), WM_VSCROLL, SB_TOP, 0);
  FHost.Pump();
  EXPECT_EQ(Grid().TopVisibleRow(), 1);
  EXPECT_EQ(Marker(0).Top, before.Top + (RowOf(6, 0) - 1) * Pitch);
  // The screen follows: the 8:00 row's cells are yellow where the grid now draws them.
  ShowMorning();
  ExpectCellColor(CaptureClient(FHost.GridWindow()), 2, RowOf(8, 0), WorkingHours);
}

TEST_F(GridWindowTest, ArrowKeysMoveTheCurrentCell) {
  HWND grid = FHost.GridWindow();
  EXPECT_EQ(::SendMessageW(grid, WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
  ::SetFocus(grid);
  int row = Grid().CurrentRow();
  ::SendMessageW(grid, WM_KEYDOWN, VK_DOWN, 0);
  ::SendMessageW(grid, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(Grid().CurrentRow(), row + 2);
  EXPECT_TRUE(Grid().Focused());
}

// The window class takes double clicks: the second press reaches the grid as one, and is told
// before the update it opens (which the handler here cancels, so no dialog comes up).
TEST_F(GridWindowTest, ADoubleClickOnAMarkerIsToldBeforeItsUpdateIsAskedFor) {
  ShowMorning();
  FHost.AddTask(1, At(9, 0), At(9, 45), L"Review");
  EXPECT_EQ(::GetClassLongPtrW(FHost.GridWindow(), GCL_STYLE) & CS_DBLCLKS, CS_DBLCLKS);
  std::vector<std::wstring> log;
  Grid().OnSelectTask = [&](TComponent*, TTaskObject*) { log.push_back(L"Select"); };
  Grid().OnClick = [&](TComponent*) { log.push_back(L"Click"); };
  Grid().OnDblClick = [&](TComponent*) { log.push_back(L"DblClick"); };
  Grid().OnBeforeUpdateTask = [&](TComponent*, TTaskObject*, bool& Cancel) {
    log.push_back(L"BeforeUpdate");
    Cancel = true;
  };
  const TPoint origin = FHost.Marker(0).ClientOrigin();
  const LPARAM at = MAKELPARAM(origin.X + 20, origin.Y + 5);
  for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
    ::PostMessageW(FHost.GridWindow(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
  FHost.Pump();
  EXPECT_EQ(log, (std::vector<std::wstring>{L"Select", L"Click", L"DblClick", L"BeforeUpdate"}));
}

// What a dialog asks the grid for follows what the grid would act on: Tab while there is a task
// to go to, Delete while one is selected, Enter always.
TEST_F(GridWindowTest, CharactersReachOnKeyPressAndDialogsLeaveTheGridTheKeysItActsOn) {
  HWND grid = FHost.GridWindow();
  std::wstring typed;
  Grid().OnKeyPress = [&](TComponent*, wchar_t& Key) { typed += Key; };
  ::SendMessageW(grid, WM_CHAR, L'\u00e9', 1);
  ::SendMessageW(grid, WM_CHAR, L'x', 1);
  EXPECT_EQ(typed, L"\u00e9x");

  auto dialogCode = [&](WPARAM key) {
    MSG msg{grid, WM_KEYDOWN, key, 1, 0, {0, 0}};
    return ::SendMessageW(grid, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg));
  };
  const LRESULT always = DLGC_WANTARROWS | DLGC_WANTCHARS;
  EXPECT_EQ(dialogCode('A'), always);
  EXPECT_EQ(dialogCode(VK_RETURN), always | DLGC_WANTMESSAGE);
  EXPECT_EQ(dialogCode(VK_TAB), always);
  EXPECT_EQ(dialogCode(VK_DELETE), always);
  ShowMorning();
  FHost.AddTask(1, At(9, 0), At(9, 45), L"Review");
  EXPECT_EQ(dialogCode(VK_TAB), always | DLGC_WANTTAB);
  ::SendMessageW(grid, WM_KEYDOWN, VK_TAB, 1);
  EXPECT_EQ(Grid().SelectedItem(), &FHost.Item(0));
  EXPECT_EQ(dialogCode(VK_TAB), always);
  EXPECT_EQ(dialogCode(VK_DELETE), always | DLGC_WANTMESSAGE);
  ::SendMessageW(grid, WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_EQ(Grid().TaskItems().Count(), 0);
}

TEST_F(GridWindowTest, NavigationButtonsShowTheirGlyphsAndMoveTheDay) {
  TDateTime day = Grid().ActiveDate();
  HWND next = TGridHost::WindowOf(*Grid().NextButton());
  TScreenshot glyph = CaptureClient(next);
  EXPECT_EQ(ColorText(glyph.At(6, 6)), ColorText(clBlack));
  EXPECT_EQ(ColorText(glyph.At(3, 3)), ColorText(SysColor(COLOR_BTNFACE)));

  FHost.Click(next, 6, 6);
  EXPECT_EQ(Grid().ActiveDate(), day + 1);
  FHost.Click(TGridHost::WindowOf(*Grid().PrevButton()), 6, 6);
  FHost.Click(TGridHost::WindowOf(*Grid().PrevButton()), 6, 6);
  EXPECT_EQ(Grid().ActiveDate(), day - 1);
  // A press released outside the button is no click.
  ::PostMessageW(next, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 6));
  ::PostMessageW(next, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 40));
  ::PostMessageW(next, WM_LBUTTONUP, 0, MAKELPARAM(40, 40));
  FHost.Pump();
  EXPECT_EQ(Grid().ActiveDate(), day - 1);
}

// The host's clock stands at noon of the shown day: the line lies on the top two pixels of the
// 12:00 row.
TEST_F(GridWindowTest, TheCurrentTimeIsARedLineAcrossTodaysColumn) {
  ShowMorning();
  TScreenshot shot = CaptureClient(FHost.GridWindow());
  TRect noon = Grid().CellRect(2, RowOf(12, 0));
  ASSERT_FALSE(noon.IsEmpty());
  EXPECT_EQ(ColorText(shot.At(noon.Left + 3, noon.Top)), ColorText(clRed));
  EXPECT_EQ(ColorText(shot.At(noon.Right - 3, noon.Top + 1)), ColorText(clRed));
  EXPECT_EQ(ColorText(shot.At(noon.Left + 3, noon.Top + 2)), ColorText(WorkingHours));
}

// A failing tick is shown and stops nothing; a killed timer ticks no more.
TEST_F(GridWindowTest, TimersTickThroughTheWindowsMessages) {
  TWindowPeer& peer = *Grid().Peer();
  std::vector<String> shown;
  SetErrorReporter([&](const String& message) { shown.push_back(message); });
  int ticks = 0;
  peer.SetTimer(7, 10, [&] {
    if (++ticks == 1) throw EInvalidOperation(L"The tick failed");
  });
  for (int round = 0; round < 50 && ticks < 3; ++round) FHost.Pump();
  EXPECT_GE(ticks, 3);
  EXPECT_EQ(shown, std::vector<String>{L"The tick failed"});
  peer.KillTimer(7);
  FHost.Pump();
  const int killedAt = ticks;
  FHost.Pump();
  FHost.Pump();
  EXPECT_EQ(ticks, killedAt);
  SetErrorReporter(nullptr);
}

TEST_F(GridWindowTest, ResizingTheWindowLaysTheGridOutAgain) {
  FHost.AddTask(1, At(0, 30), At(1, 0), L"Night");
  int oldWidth = Grid().ColWidths(2);
  ::SetWindowPos(FHost.GridWindow(), nullptr, 0, 0, 500, 400, SWP_NOZORDER | SWP_NOMOVE);
  FHost.Pump();
  EXPECT_EQ(Grid().Width(), 500);
  EXPECT_EQ(Grid().Height(), 400);
  EXPECT_EQ(Grid().ColWidths(2), oldWidth - 140);
  int width = Grid().ClientWidth();
  EXPECT_EQ(RectIn(FHost.GridWindow(), TGridHost::WindowOf(*Grid().NextButton())).Left, width - 13);
  EXPECT_EQ(Marker(0).Right - Marker(0).Left, Grid().ColWidths(2) - 10);
}

// Real mouse messages, sent one by one as the system would deliver them to the window that holds
// the capture.
void SendMouse(HWND window, UINT message, WPARAM keys, TPoint at) {
  ::SendMessageW(window, message, keys, MAKELPARAM(at.X, at.Y));
}

bool ShowsCursor(LPCWSTR id) { return ::GetCursor() == ::LoadCursorW(nullptr, id); }

// The pointer over a point of the grid, and the grid asked which shape shows there.
void PointAt(HWND grid, TPoint at) {
  POINT screen = ToPOINT(at);
  ::ClientToScreen(grid, &screen);
  ::SetCursorPos(screen.x, screen.y);
  ::SendMessageW(grid, WM_SETCURSOR, reinterpret_cast<WPARAM>(grid), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

TEST_F(GridWindowTest, DraggingAMarkerMovesItsTaskAndItsEdgesShowTheSizingPointer) {
  ShowMorning();
  TRxTaskObject& task = FHost.AddTask(1, At(9, 0), At(9, 45), L"Review");
  std::vector<std::string> events;
  Grid().OnBeforeMoveTask = [&](TComponent*, TTaskObject*, TDateTime, TDateTime, bool&) {
    events.push_back("before move");
  };
  Grid().OnTaskMoved = [&](TComponent*, TTaskObject*) { events.push_back("moved"); };
  Grid().OnUpdateTask = [&](TComponent*, TTaskObject*) { events.push_back("update"); };
  HWND grid = FHost.GridWindow();
  const TRect marker = Marker(0);
  PointAt(grid, TPoint{marker.Left + 20, marker.Top + 1});
  EXPECT_TRUE(ShowsCursor(IDC_SIZENS));
  PointAt(grid, TPoint{marker.Left + 20, marker.Bottom - 2});
  EXPECT_TRUE(ShowsCursor(IDC_SIZENS));
  PointAt(grid, Middle(marker));
  EXPECT_TRUE(ShowsCursor(IDC_ARROW));
  FHost.Pump();

  const TPoint from = Middle(marker);
  SendMouse(grid, WM_LBUTTONDOWN, MK_LBUTTON, from);
  EXPECT_EQ(::GetCapture(), grid);
  SendMouse(grid, WM_MOUSEMOVE, MK_LBUTTON, TPoint{from.X, from.Y + 10});
  SendMouse(grid, WM_MOUSEMOVE, MK_LBUTTON, TPoint{from.X, from.Y + 2 * Pitch});
  EXPECT_TRUE(ShowsCursor(IDC_SIZEALL));
  EXPECT_EQ(::GetFocus(), grid);
  SendMouse(grid, WM_LBUTTONUP, 0, TPoint{from.X, from.Y + 2 * Pitch});
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(events, (std::vector<std::string>{"before move", "moved", "update"}));
  EXPECT_EQ(task.FStartDateTime, Grid().ActiveDate() + At(9, 30));
  EXPECT_EQ(task.FFinishDateTime, Grid().ActiveDate() + At(10, 15));
  EXPECT_EQ(Marker(0).Top, marker.Top + 2 * Pitch);
}

// The outline changes the screen while it shows; Escape, and a capture taken by another window,
// take it away with the drag and leave the screen as it was.
TEST_F(GridWindowTest, EscapeOrALostCaptureEndsADragAndLeavesTheScreenAsItWas) {
  ShowMorning();
  TRxTaskObject& task = FHost.AddTask(1, At(9, 0), At(9, 45), L"Review");
  int events = 0;
  Grid().OnBeforeMoveTask = [&](TComponent*, TTaskObject*, TDateTime, TDateTime, bool&) { ++events; };
  HWND grid = FHost.GridWindow();
  const TPoint from = Middle(Marker(0));
  const TRect target = Grid().CellRect(2, RowOf(10, 0));
  FHost.Pump();
  const TScreenshot before = CaptureClient(grid);
  auto changedPixels = [&](const TScreenshot& shot) {
    int changed = 0;
    for (int x = target.Left; x < target.Right; ++x)
      if (shot.At(x, target.Top) != before.At(x, target.Top)) ++changed;
    return changed;
  };
  const std::vector<std::function<void()>> endings = {
      [grid] { ::SendMessageW(grid, WM_KEYDOWN, VK_ESCAPE, 1); },
      [this] {
        ::SetCapture(FHost.Frame());
        ::ReleaseCapture();
      },
  };
  for (const std::function<void()>& end : endings) {
    SendMouse(grid, WM_LBUTTONDOWN, MK_LBUTTON, from);
    SendMouse(grid, WM_MOUSEMOVE, MK_LBUTTON, TPoint{from.X, from.Y + 4 * Pitch});
    FHost.Pump();
    EXPECT_GT(changedPixels(CaptureClient(grid)), target.Width() / 3);
    end();
    FHost.Pump();
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(changedPixels(CaptureClient(grid)), 0);
    SendMouse(grid, WM_LBUTTONUP, 0, TPoint{from.X, from.Y + 4 * Pitch});
  }
  EXPECT_EQ(events, 0);
  EXPECT_EQ(task.FStartDateTime, Grid().ActiveDate() + At(9, 0));
}

}  // namespace
}  // namespace skx::test

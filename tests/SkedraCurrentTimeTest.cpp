// The line of the current time across today's column: where it is drawn, when not, and its timer.
#include <algorithm>

#include "Framework/Core/RecordingCanvas.h"
#include "TaskTestSupport.h"

namespace skx::test {
namespace {

constexpr int RowAt(int hour, int minute) { return 1 + (hour * 60 + minute) / 15; }

class SkedraCurrentTimeTest : public TaskTest {
 protected:
  void SetUp() override {
    TaskTest::SetUp();
    FClock.Set(Day(12) + EncodeTime(2, 10, 0, 0));
  }

  // The red fill of the window's painting; empty when there is none.
  TRect Line(TSkedra& grid) {
    FCanvas = TRecordingCanvas();
    grid.PaintWindow(FCanvas, grid.ClientRect());
    std::vector<TCanvasCall> fills = FCanvas.Of(coFillRect);
    fills.erase(std::remove_if(fills.begin(), fills.end(),
                               [](const TCanvasCall& call) { return call.State.BrushColor != clRed; }),
                fills.end());
    EXPECT_LE(fills.size(), 1u);
    return fills.empty() ? TRect{} : fills[0].Rect;
  }
  // Where in the last painting the first (or the last) call of the kind was.
  std::size_t IndexOf(TCanvasOp op, bool last = false) const {
    std::size_t found = FCanvas.Calls.size();
    for (std::size_t i = 0; i < FCanvas.Calls.size(); ++i) {
      if (FCanvas.Calls[i].Op != op) continue;
      found = i;
      if (!last) break;
    }
    return found;
  }
  std::size_t IndexOfLine() const {
    for (std::size_t i = 0; i < FCanvas.Calls.size(); ++i)
      if (FCanvas.Calls[i].Op == coFillRect && FCanvas.Calls[i].State.BrushColor == clRed) return i;
    return FCanvas.Calls.size();
  }

  // Two pixels high, as far down the slot's cell as the time is into the slot.
  TRect LineAt(int col, int hour, int minute) const {
    TRect cell = FGrid->CellRect(col, RowAt(hour, minute));
    int y = cell.Top + cell.Height() * (minute % 15) / 15;
    return TRect{cell.Left, y, cell.Right, y + 2};
  }

  const TWindowRecord& Window() const { return *FRecorder.WindowOf(*FGrid); }
  int WindowId() const { return Window().Id; }
  int TimerId() const { return Window().Timers.begin()->first; }

  TRecordingCanvas FCanvas;
};
INSTANTIATE_TEST_SUITE_P(Locales, SkedraCurrentTimeTest, ::testing::ValuesIn(LocaleCases), LocaleName);

// Over the cells and their lines, under the markers.
TEST_P(SkedraCurrentTimeTest, ARedLineCrossesTodaysColumnAtTheTimeBetweenCellsAndMarkers) {
  TSkedra& grid = MakeDailyGrid();
  EXPECT_TRUE(grid.ShowCurrentTime());
  AddTask(1, At(12, 2, 0), At(12, 3, 0));
  grid.Refresh();
  EXPECT_EQ(Line(grid), LineAt(2, 2, 10));
  EXPECT_GT(IndexOfLine(), IndexOf(coPolyPolyline, true));
  EXPECT_LT(IndexOfLine(), IndexOf(coBeginArea));
  grid.SetSkedraType(skWeekly);
  EXPECT_EQ(Line(grid), LineAt(5, 2, 10));  // Thursday, of Monday to Friday
}

TEST_P(SkedraCurrentTimeTest, NoLineWhenTodayOrTheTimesRowIsNotInView) {
  TSkedra& grid = MakeDailyGrid();
  grid.SetActiveDate(Day(13));
  EXPECT_TRUE(Line(grid).IsEmpty());
  grid.SetSkedraType(skWeekly);
  grid.SetActiveDate(Day(19));
  EXPECT_TRUE(Line(grid).IsEmpty());
  grid.SetActiveDate(Day(12));
  EXPECT_FALSE(Line(grid).IsEmpty());
  grid.SetTopLeft(2, RowAt(2, 15));
  EXPECT_TRUE(Line(grid).IsEmpty());
}

// Before its first layout the grid has no headings to find today in.
TEST_P(SkedraCurrentTimeTest, NoLineBeforeTheFirstLayoutNorForATimeOutsideTheCalendar) {
  TSkedra& grid = MakeGrid();
  EXPECT_TRUE(Line(grid).IsEmpty());
  grid.SetSkedraType(skDaily);
  EXPECT_FALSE(Line(grid).IsEmpty());
  FClock.Set(1e300);
  grid.SetShowCurrentTime(false);
  grid.SetShowCurrentTime(true);
  EXPECT_TRUE(Line(grid).IsEmpty());
}

// Without a window there is no timer: a picture shows the clock's time when it is taken.
TEST_P(SkedraCurrentTimeTest, APictureOfAGridWithoutAWindowShowsTheClocksTime) {
  TSkedra& grid = MakeGrid(false);
  grid.SetSkedraType(skDaily);
  EXPECT_EQ(Line(grid), LineAt(2, 2, 10));
  FClock.Set(Day(12) + EncodeTime(2, 25, 0, 0));
  EXPECT_EQ(Line(grid), LineAt(2, 2, 25));
}

// Inside a batch the rows still have the old time scale; the line waits for the new rows.
TEST_P(SkedraCurrentTimeTest, InsideABatchTheLineFollowsTheRowsShownNotTheSettings) {
  TSkedra& grid = MakeDailyGrid();
  grid.BeginUpdate();
  TSkedraSettings settings = grid.Settings();
  settings.TimeScale = 60;
  grid.SetSettings(settings);
  EXPECT_TRUE(Line(grid).IsEmpty());
  grid.EndUpdate();
  TRect cell = grid.CellRect(2, 1 + 2);
  EXPECT_EQ(Line(grid).Top, cell.Top + cell.Height() * 10 / 60);
}

// The line shows the time of the last tick, so that every repaint in between draws it where
// the window was told it is; a tick repaints where it was and where it goes.
TEST_P(SkedraCurrentTimeTest, ATickOnceAMinuteMovesTheLine) {
  TSkedra& grid = MakeDailyGrid();
  ASSERT_EQ(Window().Timers.size(), 1u);
  EXPECT_EQ(Window().Timers.begin()->second.Interval, 60000u);
  FClock.Set(Day(12) + EncodeTime(2, 40, 0, 0));
  EXPECT_EQ(Line(grid), LineAt(2, 2, 10));
  FRecorder.ClearInvalidations();
  ASSERT_TRUE(FRecorder.FireTimer(WindowId(), TimerId()));
  EXPECT_EQ(Window().InvalidRects, (std::vector<TRect>{LineAt(2, 2, 10), LineAt(2, 2, 40)}));
  EXPECT_EQ(Line(grid), LineAt(2, 2, 40));
  // Past midnight the line leaves yesterday's column.
  FClock.Set(Day(13) + EncodeTime(0, 0, 30, 0));
  FRecorder.ClearInvalidations();
  FRecorder.FireTimer(WindowId(), TimerId());
  EXPECT_EQ(Window().InvalidRects, std::vector<TRect>{LineAt(2, 2, 40)});
  EXPECT_TRUE(Line(grid).IsEmpty());
}

TEST_P(SkedraCurrentTimeTest, TurnedOffTheLineIsGoneAndItsTimerKilled) {
  TSkedra& grid = MakeDailyGrid();
  FRecorder.ClearInvalidations();
  grid.SetShowCurrentTime(false);
  EXPECT_FALSE(grid.ShowCurrentTime());
  EXPECT_EQ(Window().InvalidRects, std::vector<TRect>{LineAt(2, 2, 10)});
  EXPECT_TRUE(Window().Timers.empty());
  EXPECT_TRUE(Line(grid).IsEmpty());
  FClock.Set(Day(12) + EncodeTime(2, 20, 0, 0));
  FRecorder.ClearInvalidations();
  grid.SetShowCurrentTime(true);
  EXPECT_EQ(Window().InvalidRects, std::vector<TRect>{LineAt(2, 2, 20)});
  EXPECT_EQ(Window().Timers.size(), 1u);
  EXPECT_EQ(Line(grid), LineAt(2, 2, 20));
}

// The timer goes with the window, and a window made anew gets one of its own.
TEST_P(SkedraCurrentTimeTest, TheTimerGoesWithTheWindow) {
  TSkedra& grid = MakeDailyGrid();
  const int window = WindowId();
  const int timer = TimerId();
  grid.DestroyHandle();
  EXPECT_TRUE(FRecorder.Windows.at(window).Timers.empty());
  EXPECT_FALSE(FRecorder.FireTimer(window, timer));
  grid.HandleNeeded();
  EXPECT_NE(WindowId(), window);
  EXPECT_EQ(Window().Timers.size(), 1u);
  grid.SetShowCurrentTime(false);
  grid.DestroyHandle();
  grid.HandleNeeded();
  EXPECT_TRUE(Window().Timers.empty());
  // A grid freed with its timer's tick still queued is not touched by it.
  grid.SetShowCurrentTime(true);
  std::function<void()> tick = Window().Timers.begin()->second.Tick;
  FGrid.reset();
  tick();
}

}  // namespace
}  // namespace skx::test

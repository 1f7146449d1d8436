// The arithmetic of dragging a task: slots, moves, resizes, the day's ends and the calendar's.
#include <gtest/gtest.h>

#include <iomanip>
#include <limits>
#include <ostream>
#include <vector>

#include "Framework/Core/Exceptions.h"
#include "SkedraComp/DragTimes.h"

namespace skx {

inline namespace {

constexpr TDaySlots Quarters{15, 96};
// A scale that does not divide the day: 205 slots, the last from 23:48 to midnight.
constexpr TDaySlots Sevens{7, 205};

TDateTime At(int day, int hour, int minute) {
  return EncodeDate(1998, 3, day) + EncodeTime(hour, minute, 0, 0);
}

TTaskTimes Span(TDateTime start, TDateTime finish) { return TTaskTimes{start, finish}; }

TTaskTimes Dragged(const TTaskTimes& times, TTaskDragKind kind, int days, int slots,
                   const TDaySlots& daySlots = Quarters) {
  std::optional<TTaskTimes> result = DraggedTimes(times, kind, days, slots, daySlots);
  EXPECT_TRUE(result.has_value());
  return result.value_or(TTaskTimes{-1, -1});
}

TEST(DragTimesTest, SlotOfTimeRoundsUpToTheNextBoundaryAndStopsAtTheLastSlot) {
  EXPECT_EQ(SlotOfTime(0, Quarters), 0);
  EXPECT_EQ(SlotOfTime(8 * 3600000, Quarters), 32);
  EXPECT_EQ(SlotOfTime(8 * 3600000 + 60000, Quarters), 33);
  // Seconds within the minute do not count.
  EXPECT_EQ(SlotOfTime(8 * 3600000 + 59999, Quarters), 32);
  EXPECT_EQ(SlotOfTime(23 * 3600000 + 50 * 60000, Quarters), 95);
  EXPECT_EQ(SlotOfTime(23 * 3600000 + 59 * 60000, Sevens), 204);
  EXPECT_THROW(SlotOfTime(60000, TDaySlots{0, 1}), EDivByZero);
}

// Every result is compared bit for bit with the value a date plus a time of day gives.
TEST(DragTimesTest, AMoveShiftsBothEndsByWholeSlotsAndDays) {
  EXPECT_EQ(Dragged(Span(At(12, 9, 0), At(12, 9, 45)), tdMove, 0, 2),
            Span(At(12, 9, 30), At(12, 10, 15)));
  EXPECT_EQ(Dragged(Span(At(12, 9, 0), At(12, 9, 45)), tdMove, 2, -1),
            Span(At(14, 8, 45), At(14, 9, 30)));
  // Over two days, moved as a whole.
  EXPECT_EQ(Dragged(Span(At(11, 14, 0), At(12, 10, 0)), tdMove, 1, 1),
            Span(At(12, 14, 15), At(13, 10, 15)));
  // Times between slot boundaries keep their distance from them.
  EXPECT_EQ(Dragged(Span(At(12, 9, 5), At(12, 9, 50)), tdMove, 0, 1),
            Span(At(12, 9, 20), At(12, 10, 5)));
}

TEST(DragTimesTest, AMoveKeepsEachEndInsideItsDay) {
  EXPECT_EQ(Dragged(Span(At(12, 1, 0), At(12, 2, 0)), tdMove, 0, -10),
            Span(At(12, 0, 0), At(12, 1, 0)));
  EXPECT_EQ(Dragged(Span(At(12, 22, 0), At(12, 23, 0)), tdMove, 0, 10),
            Span(At(12, 22, 45), At(12, 23, 45)));
  EXPECT_EQ(Dragged(Span(At(12, 9, 5), At(12, 9, 50)), tdMove, 0, -40),
            Span(At(12, 0, 5), At(12, 0, 50)));
  // A task from late one evening to early the next morning can only change days.
  const TTaskTimes night = Span(At(11, 23, 50), At(12, 0, 10));
  EXPECT_EQ(Dragged(night, tdMove, 0, -3), night);
  EXPECT_EQ(Dragged(night, tdMove, 0, 3), night);
  EXPECT_EQ(Dragged(night, tdMove, 1, 3), Span(At(12, 23, 50), At(13, 0, 10)));
  // Beyond the last slot's start already: not pushed back, still free to go up.
  const TTaskTimes late = Span(At(12, 23, 50), At(12, 23, 55));
  EXPECT_EQ(Dragged(late, tdMove, 0, 3, Sevens), late);
  EXPECT_EQ(Dragged(late, tdMove, 0, -1, Sevens), Span(At(12, 23, 43), At(12, 23, 48)));
}

TEST(DragTimesTest, ResizingTheStartSnapsItToASlotOfItsDayUpToTheFinish) {
  const TTaskTimes task = Span(At(12, 9, 0), At(12, 9, 45));
  EXPECT_EQ(Dragged(task, tdResizeStart, 0, -2), Span(At(12, 8, 30), At(12, 9, 45)));
  EXPECT_EQ(Dragged(task, tdResizeStart, 5, -100), Span(At(12, 0, 0), At(12, 9, 45)));
  // One slot is the least: the start reaches the finish, the start of the last slot.
  EXPECT_EQ(Dragged(task, tdResizeStart, 0, 10), Span(At(12, 9, 45), At(12, 9, 45)));
  // A start between boundaries is shown in the next slot and moves from there.
  EXPECT_EQ(Dragged(Span(At(12, 9, 5), At(12, 9, 45)), tdResizeStart, 0, -1),
            Span(At(12, 9, 0), At(12, 9, 45)));
  EXPECT_EQ(Dragged(Span(At(12, 9, 5), At(12, 9, 45)), tdResizeStart, 0, 1),
            Span(At(12, 9, 30), At(12, 9, 45)));
  // The only slot start before the finish lies before the start: a drag down keeps it.
  const TTaskTimes short_ = Span(At(12, 9, 5), At(12, 9, 10));
  EXPECT_EQ(Dragged(short_, tdResizeStart, 0, 1), short_);
  // Over two days, the start stays on its own day up to its last slot.
  EXPECT_EQ(Dragged(Span(At(11, 14, 0), At(12, 10, 0)), tdResizeStart, 0, 100),
            Span(At(11, 23, 45), At(12, 10, 0)));
}

TEST(DragTimesTest, ResizingTheFinishSnapsItToASlotOfItsDayDownToTheStart) {
  const TTaskTimes task = Span(At(12, 9, 0), At(12, 9, 45));
  EXPECT_EQ(Dragged(task, tdResizeFinish, 0, 1), Span(At(12, 9, 0), At(12, 10, 0)));
  EXPECT_EQ(Dragged(task, tdResizeFinish, 0, -10), Span(At(12, 9, 0), At(12, 9, 0)));
  EXPECT_EQ(Dragged(task, tdResizeFinish, 0, 200), Span(At(12, 9, 0), At(12, 23, 45)));
  EXPECT_EQ(Dragged(Span(At(12, 9, 5), At(12, 9, 45)), tdResizeFinish, 0, -10),
            Span(At(12, 9, 5), At(12, 9, 15)));
  EXPECT_EQ(Dragged(Span(At(11, 14, 0), At(12, 10, 0)), tdResizeFinish, 3, -100),
            Span(At(11, 14, 0), At(12, 0, 0)));
  EXPECT_EQ(Dragged(Span(At(12, 20, 0), At(12, 20, 0)), tdResizeFinish, 0, 200, Sevens),
            Span(At(12, 20, 0), At(12, 23, 48)));
  // No slot of the day starts at or after the start.
  const TTaskTimes late = Span(At(12, 23, 50), At(12, 23, 55));
  EXPECT_EQ(Dragged(late, tdResizeFinish, 0, -1, Sevens), late);
}

TEST(DragTimesTest, AnEndThatStaysKeepsItsExactValue) {
  // Neither end lies on a millisecond.
  const TTaskTimes odd = Span(At(12, 9, 0) + 1e-9, At(12, 9, 45) + 1e-9);
  EXPECT_EQ(Dragged(odd, tdMove, 0, 0), odd);
  EXPECT_EQ(Dragged(odd, tdResizeStart, 0, 0), odd);
  EXPECT_EQ(Dragged(odd, tdResizeFinish, 0, 0), odd);
  EXPECT_EQ(Dragged(odd, tdResizeFinish, 0, 1).Start, odd.Start);
  // A task that ends before it starts is not resized, whatever the drag.
  const TTaskTimes inverted = Span(At(12, 10, 0), At(12, 9, 0));
  EXPECT_EQ(Dragged(inverted, tdResizeStart, 0, -2), inverted);
  EXPECT_EQ(Dragged(inverted, tdResizeFinish, 0, 2), inverted);
}

TEST(DragTimesTest, TimesOutsideTheCalendarGiveNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_FALSE(DraggedTimes(Span(nan, At(12, 9, 0)), tdMove, 0, 1, Quarters));
  EXPECT_FALSE(DraggedTimes(Span(At(12, 9, 0), inf), tdResizeStart, 0, 1, Quarters));
  EXPECT_FALSE(DraggedTimes(Span(At(12, 9, 0), At(12, 9, 0)), tdMove, 0, 1, TDaySlots{0, 0}));
  const TDateTime lastDay = EncodeDate(9999, 12, 31);
  EXPECT_FALSE(DraggedTimes(Span(lastDay, lastDay + 0.5), tdMove, 1, 0, Quarters));
  EXPECT_TRUE(DraggedTimes(Span(lastDay, lastDay + 0.5), tdMove, -1, 0, Quarters));
}

// Before 30 December 1899 a value counts its time of day forward from its negative day.
TEST(DragTimesTest, DaysBeforeDayZeroMoveTheirTimesTheSameWay) {
  const TDateTime day = EncodeDate(1800, 1, 1);
  const TTaskTimes task = Span(JoinDayTime({static_cast<int>(day), 9 * 3600000}),
                               JoinDayTime({static_cast<int>(day), 10 * 3600000}));
  const TTaskTimes moved = Dragged(task, tdMove, 1, -4);
  int year, month, date, hour, minute, second, msec;
  DecodeDate(moved.Start, year, month, date);
  DecodeTime(moved.Start, hour, minute, second, msec);
  EXPECT_EQ((std::vector<int>{year, month, date, hour, minute}),
            (std::vector<int>{1800, 1, 2, 8, 0}));
  DecodeTime(moved.Finish, hour, minute, second, msec);
  EXPECT_EQ(hour * 60 + minute, 9 * 60);
}

}  // namespace
}  // namespace skx

// The grid's placement against the plain one on random task sets: the same markers for every
// task and column, in the same order, with the same bounds and visibility.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "Framework/Core/Exceptions.h"
#include "Framework/Core/HeadlessPeer.h"
#include "ReferencePlacement.h"
#include "SkedraComp/PointControl.h"
#include "SkedraComp/Skedra.h"

namespace skx::test {
namespace {

// A grid whose scrolling places the markers the plain way.
class TReferenceSkedra : public TSkedra {
 public:
  using TSkedra::TSkedra;

 protected:
  void TopLeftChanged() override {
    TStringGrid::TopLeftChanged();
    ReferenceArrange(*this);
  }
};

struct TTaskSpan {
  TDateTime Start;
  TDateTime Finish;
};

struct TView {
  bool Weekly;
  int Width;
  std::uint8_t TimeScale;
};

// Monday 9 March 1998 starts the shown week; the daily view shows Thursday 12 March.
const TDateTime Today = EncodeDate(1998, 3, 12);

class TSide {
 public:
  TSide(const TView& setup, bool reference) {
    FGrid = reference ? std::make_unique<TReferenceSkedra>(nullptr, FClock)
                      : std::make_unique<TSkedra>(nullptr, FClock);
    FGrid->SetBounds(0, 0, setup.Width, 400);
    FGrid->SetPeer(FRecorder.CreatePeer());
    FGrid->HandleNeeded();
    TSkedraSettings settings = FGrid->Settings();
    settings.TimeScale = setup.TimeScale;
    FGrid->SetSettings(settings);
    FGrid->SetSkedraType(setup.Weekly ? skWeekly : skDaily);
    FReference = reference;
  }

  void Add(const std::vector<TTaskSpan>& spans) {
    for (const TTaskSpan& span : spans) {
      // Few identifiers, so that tasks share them.
      auto task = std::make_unique<TTaskObject>(FGrid->TaskItems().Count() % 3);
      task->FStartDateTime = span.Start;
      task->FFinishDateTime = span.Finish;
      FGrid->TaskItems().Add(std::move(task));
    }
  }

  // The message of the failure, or an empty text.
  String Arrange() {
    try {
      if (FReference) ReferenceArrange(*FGrid);
      else FGrid->TaskItems().Arrange();
    } catch (const Exception& failure) {
      return failure.Message();
    }
    return String();
  }

  TSkedra& Grid() { return *FGrid; }
  TTaskObject& Task(int index) { return *FGrid->TaskItems().Items(index).Task(); }

 private:
  TFixedClock FClock{Today};
  THeadlessRecorder FRecorder;
  std::unique_ptr<TSkedra> FGrid;
  bool FReference = false;
};

void ExpectSameMarkers(TSide& product, TSide& reference) {
  TTaskItems& tasks = product.Grid().TaskItems();
  for (int index = 0; index < tasks.Count(); ++index) {
    const auto& ours = tasks.Items(index).Points();
    const auto& theirs = reference.Grid().TaskItems().Items(index).Points();
    ASSERT_EQ(ours.size(), theirs.size()) << "task " << index;
    for (std::size_t k = 0; k < ours.size(); ++k) {
      ASSERT_EQ(ours[k]->Col(), theirs[k]->Col()) << "task " << index << " marker " << k;
      ASSERT_EQ(ours[k]->BoundsRect(), theirs[k]->BoundsRect())
          << "task " << index << " column " << ours[k]->Col();
      ASSERT_EQ(ours[k]->Visible(), theirs[k]->Visible()) << "task " << index << " column " << ours[k]->Col();
    }
  }
}

// Times near the shown week, mostly on slot boundaries, with the odd far or unusual value.
TDateTime RandomTime(std::mt19937& random) {
  int pick = std::uniform_int_distribution<int>(0, 199)(random);
  double nan = std::numeric_limits<double>::quiet_NaN();
  double inf = std::numeric_limits<double>::infinity();
  const double unusual[] = {nan,           inf,           -inf,         0.0,     -700.25,
                            5e6,           -7e5,          Today + 1e4,  Today - 3000,
                            Today - 1e-9,  Today + 2 - 1e-9};
  if (pick < 11) return unusual[pick];
  int day = std::uniform_int_distribution<int>(-4, 9)(random);
  int minute = pick < 60 ? std::uniform_int_distribution<int>(0, 1439)(random)
                         : 15 * std::uniform_int_distribution<int>(28, 80)(random);
  return Today + day + minute / MinsPerDay;
}

std::vector<TTaskSpan> RandomTasks(std::mt19937& random, int count) {
  std::vector<TTaskSpan> tasks;
  for (int i = 0; i < count; ++i) {
    int shape = std::uniform_int_distribution<int>(0, 19)(random);
    TDateTime start = RandomTime(random);
    TDateTime length = std::uniform_int_distribution<int>(0, 16)(random) * 15 / MinsPerDay;
    if (shape < 11) tasks.push_back({start, start + length});
    else if (shape < 13)
      tasks.push_back({start, start + std::uniform_int_distribution<int>(1, 6)(random) + length});
    else if (shape < 15) tasks.push_back({start, start - length - 1 / MinsPerDay});
    else if (shape < 16) tasks.push_back({start, RandomTime(random)});
    else if (tasks.empty()) tasks.push_back({start, start});
    else if (shape < 18) tasks.push_back(tasks[random() % tasks.size()]);
    else tasks.push_back({tasks[random() % tasks.size()].Finish, start + length});
  }
  return tasks;
}

// Moves both views to a day away from the first ones shown, often a task's: the groups there
// may not have been needed before. Navigating places the markers on both sides the product's
// way; the next comparison places the reference's the plain way.
void ShowFarDay(TSide& product, TSide& reference, std::mt19937& random) {
  int count = product.Grid().TaskItems().Count();
  TDateTime day = Today + 7 * std::uniform_int_distribution<int>(-25, 25)(random);
  if (count > 0 && random() % 2 == 0) {
    TDateTime start = product.Task(static_cast<int>(random() % count)).FStartDateTime;
    if (std::abs(start - Today) < 400) day = start;
  }
  // A failing placement is compared by its message at the next step.
  for (TSide* side : {&product, &reference}) try {
      side->Grid().SetActiveDate(day);
    } catch (const Exception&) {
    }
}

// Gives both sides the tasks and arranges them, then scrolls, changes tasks without releasing
// their markers, deletes or adds tasks, comparing after each step.
void RunCase(TSide& product, TSide& reference, const std::vector<TTaskSpan>& tasks,
             std::mt19937& random) {
  for (TSide* side : {&product, &reference}) {
    side->Grid().TaskItems().Clear();
    side->Add(tasks);
  }
  for (int step = 0; step < 4; ++step) {
    String failure = product.Arrange();
    ASSERT_EQ(failure, reference.Arrange()) << "step " << step;
    // A pass that failed may have stopped at another point; only the message must agree.
    if (!failure.empty()) return;
    ASSERT_NO_FATAL_FAILURE(ExpectSameMarkers(product, reference)) << "step " << step;
    int count = product.Grid().TaskItems().Count();
    switch (std::uniform_int_distribution<int>(0, 4)(random)) {
      case 0: {
        int row = std::uniform_int_distribution<int>(1, 80)(random);
        product.Grid().SetTopLeft(2, row);
        reference.Grid().SetTopLeft(2, row);
        break;
      }
      case 1:
        for (int change = 0; change < 3 && count > 0; ++change) {
          int index = static_cast<int>(random() % count);
          TTaskSpan span = RandomTasks(random, 1)[0];
          for (TSide* side : {&product, &reference}) {
            side->Task(index).FStartDateTime = span.Start;
            side->Task(index).FFinishDateTime = span.Finish;
          }
        }
        break;
      case 2: {
        // Deleting places the rest at once; the next step compares what the plain way makes of it.
        int id = static_cast<int>(random() % 3);
        product.Grid().TaskItems().Delete(id);
        reference.Grid().TaskItems().Delete(id);
        break;
      }
      case 3: {
        std::vector<TTaskSpan> more = RandomTasks(random, 3);
        product.Add(more);
        reference.Add(more);
        break;
      }
      default:
        ShowFarDay(product, reference, random);
    }
  }
}

TEST(PlacementDifferentialTest, RandomTaskSetsArePlacedAsThePlainPlacementDoes) {
  std::mt19937 random(1998u);
  for (bool weekly : {true, false})
    for (int width : {700, 160})
      for (std::uint8_t scale : {15, 5, 30, 60, 7, 255}) {
        TSide product({weekly, width, scale}, false);
        TSide reference({weekly, width, scale}, true);
        int rounds = weekly && width == 700 && scale == 15 ? 300 : 40;
        for (int round = 0; round < rounds; ++round) {
          int count = std::uniform_int_distribution<int>(1, 30)(random);
          ASSERT_NO_FATAL_FAILURE(RunCase(product, reference, RandomTasks(random, count), random))
              << (weekly ? "weekly" : "daily") << " width " << width << " scale " << int(scale)
              << " round " << round;
        }
      }
}

// Many tasks over months, loaded in one batch whose end places them, then the view moved to far
// days: the first placement groups only the tasks near the shown days.
TEST(PlacementDifferentialTest, LoadsFollowedByFarDaysArePlacedAsThePlainPlacementDoes) {
  std::mt19937 random(2026u);
  for (bool weekly : {true, false}) {
    TSide product({weekly, 700, 15}, false);
    TSide reference({weekly, 700, 15}, true);
    for (int round = 0; round < 4; ++round) {
      std::vector<TTaskSpan> tasks = RandomTasks(random, 300 + 150 * round);
      for (TTaskSpan& task : tasks) {
        int weeks = std::uniform_int_distribution<int>(-20, 20)(random);
        task.Start += 7 * weeks;
        task.Finish += 7 * weeks;
      }
      for (TSide* side : {&product, &reference}) {
        side->Grid().SetActiveDate(Today);
        side->Grid().TaskItems().Clear();
        side->Grid().BeginUpdate();
        side->Add(tasks);
        try {
          side->Grid().EndUpdate();
        } catch (const Exception&) {
        }
      }
      for (int step = 0; step < 6; ++step) {
        String failure = product.Arrange();
        ASSERT_EQ(failure, reference.Arrange()) << "round " << round << " step " << step;
        if (!failure.empty()) break;
        ASSERT_NO_FATAL_FAILURE(ExpectSameMarkers(product, reference))
            << (weekly ? "weekly" : "daily") << " round " << round << " step " << step;
        ShowFarDay(product, reference, random);
      }
    }
  }
}

TDateTime At(int day, int hour, int minute) {
  return EncodeDate(1998, 3, day) + EncodeTime(hour, minute, 0, 0);
}

TEST(PlacementDifferentialTest, PlacementExamplesArePlacedAsThePlainPlacementDoes) {
  const std::vector<std::vector<TTaskSpan>> examples{
      {{At(12, 9, 0), At(12, 9, 45)}, {At(12, 7, 0), At(12, 9, 0)}},
      {{At(12, 9, 30), At(12, 11, 0)}, {At(12, 9, 0), At(12, 10, 0)}},
      {{At(12, 9, 0), At(12, 10, 0)},
       {At(12, 10, 0), At(12, 11, 0)},
       {At(12, 11, 0), At(12, 12, 0)}},
      {{At(12, 9, 0), At(12, 10, 0)}, {At(12, 14, 0), At(12, 15, 0)}},
      {{At(9, 15, 0), At(11, 10, 0)},
       {At(10, 9, 0), At(10, 10, 0)},
       {At(11, 9, 30), At(11, 9, 45)}},
      {{At(12, 9, 5), At(12, 9, 50)},
       {At(12, 9, 0), At(12, 9, 5)},
       {At(12, 9, 10), At(12, 9, 20)}},
      {{At(2, 9, 0), At(6, 9, 0)}, {At(14, 9, 0), At(20, 9, 0)}, {At(1, 9, 0), At(31, 9, 0)}},
  };
  std::mt19937 random(312u);
  for (bool weekly : {false, true}) {
    TSide product({weekly, 700, 15}, false);
    TSide reference({weekly, 700, 15}, true);
    for (const auto& tasks : examples)
      ASSERT_NO_FATAL_FAILURE(RunCase(product, reference, tasks, random));
  }
}

}  // namespace
}  // namespace skx::test

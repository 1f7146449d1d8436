// What the benchmarks share: a weekly grid in a 1920 by 1080 headless window (at 96 pixels per
// inch; as much larger as the screen is denser) and task sets
// spread over a year around the shown week.
#pragma once

#include <memory>
#include <random>
#include <vector>

#include "Framework/Core/HeadlessPeer.h"
#include "RxObjects/RxTaskObject.h"
#include "SkedraComp/Skedra.h"

namespace skx::bench {

// Wednesday 10 June 2026: the weekly view shows Monday 8 to Friday 12 June.
TDateTime ShownDay();

// Tasks of a working year: most are a quarter of an hour to three hours within a day, a few
// run over several days and chain the days' groups together. The same total gives the same set.
class TTaskSource {
 public:
  explicit TTaskSource(int total);
  // The next tasks of the set.
  std::vector<std::unique_ptr<TTaskObject>> Make(int count);

 private:
  std::mt19937 FRandom;
  int FNextID = 1;
};

std::vector<std::unique_ptr<TTaskObject>> MakeTasks(int count);

class TBenchGrid {
 public:
  explicit TBenchGrid(int dpi = 96);
  TSkedra& Grid() { return *FGrid; }
  TTaskItems& Tasks() { return FGrid->TaskItems(); }
  void AddTasks(int count);

 private:
  THeadlessRecorder FRecorder;
  TFixedClock FClock;
  std::unique_ptr<TSkedra> FGrid;
};

}  // namespace skx::bench

// The benchmarks' grid and task sets.
#include "BenchGrid.h"

#include <random>

namespace skx::bench {

TDateTime ShownDay() { return EncodeDate(2026, 6, 10); }

std::vector<std::unique_ptr<TTaskObject>> MakeTasks(int count) {
  std::mt19937 random(12345u + static_cast<unsigned>(count));
  std::uniform_int_distribution<int> day(-182, 182);
  std::uniform_int_distribution<int> percent(0, 99);
  std::uniform_int_distribution<int> quarter(7 * 4, 18 * 4);
  std::uniform_int_distribution<int> quarters(1, 12);
  std::uniform_int_distribution<int> dayQuarters(4, 4 * 96);
  std::vector<std::unique_ptr<TTaskObject>> tasks;
  tasks.reserve(count);
  for (int id = 1; id <= count; ++id) {
    auto task = std::make_unique<TRxTaskObject>(id);
    TDateTime start = ShownDay() + day(random) + quarter(random) / 96.0;
    bool severalDays = percent(random) < 3;
    task->FStartDateTime = start;
    task->FFinishDateTime = start + (severalDays ? dayQuarters(random) : quarters(random)) / 96.0;
    tasks.push_back(std::move(task));
  }
  return tasks;
}

TBenchGrid::TBenchGrid() : FClock(ShownDay()) {
  FGrid = std::make_unique<TSkedra>(nullptr, FClock);
  FGrid->SetBounds(0, 0, 1920, 1080);
  FGrid->SetPeer(FRecorder.CreatePeer());
  FGrid->HandleNeeded();
  FGrid->Loaded();
  FGrid->SetSkedraType(skWeekly);
}

void TBenchGrid::AddTasks(int count) {
  for (auto& task : MakeTasks(count)) Tasks().Add(std::move(task));
}

}  // namespace skx::bench

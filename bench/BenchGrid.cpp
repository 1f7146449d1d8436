// The benchmarks' grid and task sets.
#include "BenchGrid.h"

namespace skx::bench {

TDateTime ShownDay() { return EncodeDate(2026, 6, 10); }

TTaskSource::TTaskSource(int total) : FRandom(12345u + static_cast<unsigned>(total)) {}

std::vector<std::unique_ptr<TTaskObject>> TTaskSource::Make(int count) {
  std::uniform_int_distribution<int> day(-182, 182);
  std::uniform_int_distribution<int> percent(0, 99);
  std::uniform_int_distribution<int> quarter(7 * 4, 18 * 4);
  std::uniform_int_distribution<int> quarters(1, 12);
  std::uniform_int_distribution<int> dayQuarters(4, 4 * 96);
  std::vector<std::unique_ptr<TTaskObject>> tasks;
  tasks.reserve(count);
  for (int i = 0; i < count; ++i) {
    auto task = std::make_unique<TRxTaskObject>(FNextID++);
    TDateTime start = ShownDay() + day(FRandom) + quarter(FRandom) / 96.0;
    bool severalDays = percent(FRandom) < 3;
    task->FStartDateTime = start;
    task->FFinishDateTime =
        start + (severalDays ? dayQuarters(FRandom) : quarters(FRandom)) / 96.0;
    tasks.push_back(std::move(task));
  }
  return tasks;
}

std::vector<std::unique_ptr<TTaskObject>> MakeTasks(int count) {
  return TTaskSource(count).Make(count);
}

TBenchGrid::TBenchGrid(int dpi) : FClock(ShownDay()) {
  const TScale scale(dpi);
  FRecorder.PixelsPerInch = dpi;
  FGrid = std::make_unique<TSkedra>(nullptr, FClock);
  FGrid->SetBounds(0, 0, scale.Of(1920), scale.Of(1080));
  FGrid->SetPeer(FRecorder.CreatePeer());
  FGrid->HandleNeeded();
  FGrid->Loaded();
  FGrid->SetSkedraType(skWeekly);
}

void TBenchGrid::AddTasks(int count) {
  for (auto& task : MakeTasks(count)) Tasks().Add(std::move(task));
}

}  // namespace skx::bench

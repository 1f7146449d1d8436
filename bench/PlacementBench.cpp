// Placement, scrolling, re-dating, the cell conversions and adding tasks, at growing task counts.
#include <benchmark/benchmark.h>

#include "../tests/ReferencePlacement.h"
#include "Framework/Core/NullCanvas.h"
#include "BenchGrid.h"

namespace skx::bench {
namespace {

// A placement after a task changed, so that nothing of an earlier pass can be taken over.
void Arrange(benchmark::State& state) {
  TBenchGrid bench;
  bench.AddTasks(static_cast<int>(state.range(0)));
  bench.Tasks().Arrange();
  TTaskObject& moved = *bench.Tasks().Items(bench.Tasks().Count() / 2).Task();
  TDateTime start = moved.FStartDateTime;
  bool shifted = false;
  for (auto _ : state) {
    shifted = !shifted;
    moved.FStartDateTime = start + (shifted ? 1.0 / MinsPerDay : 0.0);
    bench.Tasks().Arrange();
  }
}
BENCHMARK(Arrange)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The placement that every pass did before: all pairs compared, headings parsed per task.
void ReferenceArrange(benchmark::State& state) {
  TBenchGrid bench;
  bench.AddTasks(static_cast<int>(state.range(0)));
  bench.Tasks().Arrange();
  for (auto _ : state) test::ReferenceArrange(bench.Grid());
}
BENCHMARK(ReferenceArrange)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// One step of the vertical scroll bar.
void TopLeftChanged(benchmark::State& state) {
  TBenchGrid bench;
  bench.AddTasks(static_cast<int>(state.range(0)));
  bench.Tasks().Arrange();
  int row = 30;
  for (auto _ : state) {
    row = row == 30 ? 31 : 30;
    bench.Grid().SetTopLeft(2, row);
  }
}
BENCHMARK(TopLeftChanged)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The next week and back: markers freed, headings rewritten, markers made anew.
void UpdateSkedra(benchmark::State& state) {
  TBenchGrid bench;
  bench.AddTasks(static_cast<int>(state.range(0)));
  bench.Tasks().Arrange();
  bool next = false;
  for (auto _ : state) {
    next = !next;
    bench.Grid().SetActiveDate(ShownDay() + (next ? 7 : 0));
  }
}
BENCHMARK(UpdateSkedra)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void DateTimeToCell(benchmark::State& state) {
  TBenchGrid bench;
  TDateTime value = ShownDay() + 0.4;
  for (auto _ : state) {
    value += 1.0 / SecsPerDay;
    benchmark::DoNotOptimize(bench.Grid().DateTimeToCell(value));
  }
}
BENCHMARK(DateTimeToCell)->Unit(benchmark::kNanosecond);

void CellToDateTime(benchmark::State& state) {
  TBenchGrid bench;
  int row = 1;
  for (auto _ : state) {
    row = row % 96 + 1;
    benchmark::DoNotOptimize(bench.Grid().CellToDateTime(3, row));
  }
}
BENCHMARK(CellToDateTime)->Unit(benchmark::kNanosecond);

// The whole grid painted at a time scale and a screen density (the same screen area at 192 holds
// four times the pixels): cells, labels, headings and lines.
void Paint(benchmark::State& state) {
  TBenchGrid bench(static_cast<int>(state.range(1)));
  TSkedraSettings settings = bench.Grid().Settings();
  settings.TimeScale = static_cast<std::uint8_t>(state.range(0));
  bench.Grid().SetSettings(settings);
  TNullCanvas canvas;
  for (auto _ : state) bench.Grid().Paint(canvas);
}
BENCHMARK(Paint)->ArgsProduct({{15, 5}, {96, 192}})->Unit(benchmark::kMicrosecond);

// Only the calls of Add are timed. The tasks come in batches made just before they are added,
// as a container makes each task right before it hands it over, while the list grows to the
// full count; making the tasks and freeing the grid are not timed.
void AddOneByOne(benchmark::State& state) {
  constexpr int Batch = 1000;
  int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto bench = std::make_unique<TBenchGrid>();
    TTaskSource source(count);
    for (int added = 0; added < count; added += Batch) {
      auto tasks = source.Make(Batch);
      state.ResumeTiming();
      for (auto& task : tasks) bench->Tasks().Add(std::move(task));
      state.PauseTiming();
    }
    bench.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(AddOneByOne)->Arg(10000)->Arg(100000)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace skx::bench

// Adding many tasks: alone, without placement, against inside one batch whose end places them.
#include <benchmark/benchmark.h>

#include "BenchGrid.h"

namespace skx::bench {
namespace {

enum TAddWay { awAlone, awBatchOneByOne, awBatchAll };

// Only the adding (with the batch around it) is timed; the grid and the tasks are made before,
// and freed after, untimed.
void Adding(benchmark::State& state, TAddWay way) {
  int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto bench = std::make_unique<TBenchGrid>();
    auto tasks = MakeTasks(count);
    state.ResumeTiming();
    if (way != awAlone) bench->Grid().BeginUpdate();
    if (way == awBatchAll)
      bench->Tasks().AddTasks(std::move(tasks));
    else
      for (auto& task : tasks) bench->Tasks().Add(std::move(task));
    if (way != awAlone) bench->Grid().EndUpdate();
    state.PauseTiming();
    bench.reset();
    tasks.clear();
    state.ResumeTiming();
  }
}

void AddAlone(benchmark::State& state) { Adding(state, awAlone); }
void AddInBatch(benchmark::State& state) { Adding(state, awBatchOneByOne); }
void AddTasksInBatch(benchmark::State& state) { Adding(state, awBatchAll); }
BENCHMARK(AddAlone)->Arg(10000)->Arg(100000)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(AddInBatch)->Arg(10000)->Arg(100000)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(AddTasksInBatch)->Arg(10000)->Arg(100000)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace skx::bench

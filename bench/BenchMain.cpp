// Runs the benchmarks, then prints their figures side by side with the growth from 10,000 to
// 100,000 tasks and the memory that each task holds.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <map>
#include <string>

#include "BenchGrid.h"

namespace skx::bench {
namespace {

// Keeps each benchmark's processor time per iteration (the median when repeated) in its unit.
class TCollectingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type == Run::RT_Aggregate && !median) continue;
      // Other programs share this machine's cores, so the processor time is the steadier figure.
      std::string name = run.run_name.function_name + (run.run_name.args.empty() ? "" : "/") +
                         run.run_name.args;
      if (median || Times.count(name) == 0) Times[name] = run.GetAdjustedCPUTime();
    }
  }
  std::map<std::string, double> Times;
};

// Small blocks come from the heap's arena, large ones (the long vectors) are mapped apart.
std::size_t HeapInUse() {
  struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// Heap bytes per task for entry, task and placement data. The texts are empty, and the grid
// shows a week without tasks, so that no marker (nor its window record) is counted.
double BytesPerTask(int count) {
  TBenchGrid bench;
  bench.Grid().SetActiveDate(ShownDay() + 5000);
  std::size_t before = HeapInUse();
  auto tasks = MakeTasks(count);
  std::size_t taskList = tasks.capacity() * sizeof(tasks[0]);
  for (auto& task : tasks) bench.Tasks().Add(std::move(task));
  bench.Tasks().Arrange();
  std::size_t after = HeapInUse();
  return (static_cast<double>(after) - static_cast<double>(before + taskList)) / count;
}

void PrintRow(const std::map<std::string, double>& times, const char* title, const char* name,
              const char* unit) {
  auto figure = [&](const char* size) {
    auto found = times.find(std::string(name) + (size[0] ? "/" : "") + size);
    return found == times.end() ? -1.0 : found->second;
  };
  double small = figure("1000");
  double medium = figure("10000");
  double large = figure("100000");
  double single = figure("");
  std::printf("%-28s %-3s", title, unit);
  for (double value : {small, medium, large, single})
    value < 0 ? std::printf(" %12s", "-") : std::printf(" %12.4g", value);
  if (medium > 0 && large > 0) std::printf(" %10.1f", large / medium);
  if (small > 0 && medium > 0) std::printf(" %10.1f", medium / small);
  std::printf("\n");
}

// A figure that was not measured in this run (filtered out) reads as not measured.
void PrintTarget(const char* title, double value, const char* target, bool met) {
  if (value < 0) {
    std::printf("  %-28s %12s\n", title, "not measured");
    return;
  }
  std::printf("  %-28s %12.1f  %-11s %s\n", title, value, target, met ? "met" : "MISSED");
}

}  // namespace
}  // namespace skx::bench

int main(int argc, char** argv) {
  using namespace skx::bench;
  // The heap keeps what is freed between iterations instead of returning it to the system, so
  // that each size times the same work: without this, small sets reuse warm pages while large
  // ones pay for fresh pages that the system has to clear.
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TCollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\n%-28s %-3s %12s %12s %12s %12s %10s %10s\n", "figure", "in", "1,000",
              "10,000", "100,000", "single", "100k/10k", "10k/1k");
  PrintRow(reporter.Times, "Arrange after a change", "Arrange", "ms");
  PrintRow(reporter.Times, "Reference Arrange", "ReferenceArrange", "ms");
  PrintRow(reporter.Times, "TopLeftChanged (scroll)", "TopLeftChanged", "ms");
  PrintRow(reporter.Times, "UpdateSkedra (active date)", "UpdateSkedra", "ms");
  PrintRow(reporter.Times, "Add one by one (all)", "AddOneByOne", "ms");
  PrintRow(reporter.Times, "Add, no placement", "AddAlone", "ms");
  PrintRow(reporter.Times, "Add in a batch, placed", "AddInBatch", "ms");
  PrintRow(reporter.Times, "AddTasks in a batch, placed", "AddTasksInBatch", "ms");
  PrintRow(reporter.Times, "Paint, 15 min rows, 96 dpi", "Paint/15/96", "us");
  PrintRow(reporter.Times, "Paint, 15 min rows, 192 dpi", "Paint/15/192", "us");
  PrintRow(reporter.Times, "Paint, 5 min rows, 96 dpi", "Paint/5/96", "us");
  PrintRow(reporter.Times, "Paint, 5 min rows, 192 dpi", "Paint/5/192", "us");
  PrintRow(reporter.Times, "DateTimeToCell", "DateTimeToCell", "ns");
  PrintRow(reporter.Times, "CellToDateTime", "CellToDateTime", "ns");
  double bytes = BytesPerTask(100000);
  std::printf("%-28s %-3s %12.1f\n", "Bytes per task held", "B", bytes);

  const auto& times = reporter.Times;
  auto growth = [&](const char* name) {
    auto medium = times.find(std::string(name) + "/10000");
    auto large = times.find(std::string(name) + "/100000");
    return medium == times.end() || large == times.end() ? -1.0 : large->second / medium->second;
  };
  auto scroll = times.find("TopLeftChanged/100000");
  // Adding in a batch against adding alone, at 10,000 tasks: the batch's end places them all.
  auto batchCost = [&](const char* name) {
    auto batch = times.find(std::string(name) + "/10000");
    auto alone = times.find("AddAlone/10000");
    return batch == times.end() || alone == times.end() ? -1.0 : batch->second / alone->second;
  };
  std::printf("\ntargets\n");
  double adding = growth("AddOneByOne");
  double arranging = growth("Arrange");
  PrintTarget("Add, 100,000 / 10,000", adding, "at most 12", adding <= 12);
  PrintTarget("Arrange, 100,000 / 10,000", arranging, "at most 12", arranging <= 12);
  double step = scroll == times.end() ? -1.0 : scroll->second;
  PrintTarget("scroll step, 100,000 (ms)", step, "under 10", step < 10);
  PrintTarget("bytes per task", bytes, "under 256", bytes < 256);
  double oneByOne = batchCost("AddInBatch");
  double all = batchCost("AddTasksInBatch");
  PrintTarget("Add in a batch / alone, 10k", oneByOne, "at most 3", oneByOne <= 3);
  PrintTarget("AddTasks batch / alone, 10k", all, "at most 3", all <= 3);
  auto paint96 = times.find("Paint/15/96");
  auto paint192 = times.find("Paint/15/192");
  double dense = paint96 == times.end() || paint192 == times.end() ? -1.0 : paint192->second / paint96->second;
  PrintTarget("Paint, 192 dpi / 96 dpi", dense, "at most 4", dense <= 4);
  return 0;
}

// Overlap groups in O(n log n): spans sorted by start fall into groups as runs of a sweep, and
// each group's breadth-first order comes from a tree of the finishes of the spans not yet reached.
#include "SkedraComp/OverlapGroups.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace skx {

namespace {

using TKey = std::int64_t;
// Below the key of every date-time, minus infinity included.
constexpr TKey Reached = std::numeric_limits<TKey>::min();

// Orders as the date-times it comes from, NaN excepted; both zeros give one key.
TKey KeyOf(double value) {
  value += 0.0;
  TKey bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits ^ ((bits >> 63) & std::numeric_limits<TKey>::max());
}

struct TEdge {
  TKey Key;
  int Index;
};

// One regrouping: the spans that finish no earlier than they start (ranges) by start, the starts
// of the others (points) by value. A member of a group is a range position p >= 0 or a point
// position q, written ~q.
class TGrouping {
 public:
  TGrouping(std::vector<TEdge> ranges, std::vector<TKey> finishes, std::vector<TEdge> points,
            std::vector<TOverlapGroups::TPlace>& places)
      : FRanges(std::move(ranges)),
        FFinishes(std::move(finishes)),
        FPoints(std::move(points)),
        FPlaces(places) {
    std::size_t leaves = 1;
    while (leaves < FRanges.size()) leaves *= 2;
    FLeaves = static_cast<int>(leaves);
    FTree.assign(2 * leaves, Reached);
    std::copy(FFinishes.begin(), FFinishes.end(), FTree.begin() + FLeaves);
    for (int node = FLeaves - 1; node > 0; --node)
      FTree[node] = std::max(FTree[2 * node], FTree[2 * node + 1]);
    FNextPoint.resize(FPoints.size() + 1);
    for (std::size_t q = 0; q < FNextPoint.size(); ++q) FNextPoint[q] = static_cast<int>(q);
  }

  // Sweeps ranges and points by start: a range opens a group that takes every range starting
  // before the group's reach and every point within it; a point outside any range stands alone.
  void Run() {
    int ranges = static_cast<int>(FRanges.size());
    int points = static_cast<int>(FPoints.size());
    int p = 0;
    int q = 0;
    while (p < ranges || q < points) {
      if (p == ranges || (q < points && FPoints[q].Key < FRanges[p].Key)) {
        Alone(FPoints[q++].Index);
        continue;
      }
      FRangeBegin = p;
      FPointBegin = q;
      TKey reach = FFinishes[p++];
      while (p < ranges && FRanges[p].Key <= reach) reach = std::max(reach, FFinishes[p++]);
      while (q < points && FPoints[q].Key <= reach) ++q;
      FRangeEnd = p;
      FPointEnd = q;
      Walk();
    }
  }

 private:
  static std::int64_t Found(int index, int member) {
    return static_cast<std::int64_t>(index) << 32 | static_cast<std::uint32_t>(member);
  }

  int IndexOf(int member) const {
    return member >= 0 ? FRanges[member].Index : FPoints[~member].Index;
  }

  void Alone(int index) {
    FPlaces[index] = {index, 0};
  }

  // The breadth-first walk of the group between the current bounds, from its lowest index.
  void Walk() {
    if (FRangeEnd - FRangeBegin == 1 && FPointEnd == FPointBegin) {
      Alone(FRanges[FRangeBegin].Index);
      return;
    }
    int first = FRangeBegin;
    for (int p = FRangeBegin; p < FRangeEnd; ++p)
      if (FRanges[p].Index < IndexOf(first)) first = p;
    for (int q = FPointBegin; q < FPointEnd; ++q)
      if (FPoints[q].Index < IndexOf(first)) first = ~q;
    int root = IndexOf(first);
    FUnreached = FRangeEnd - FRangeBegin + FPointEnd - FPointBegin;
    FQueue.assign(1, first);
    Reach(first);
    for (std::size_t next = 0; next < FQueue.size(); ++next) {
      int member = FQueue[next];
      int index = IndexOf(member);
      FPlaces[index] = {root, static_cast<int>(next)};
      // Once the whole group is in the queue, its last members look for partners in vain.
      if (FUnreached == 0) continue;
      FFound.clear();
      PartnersOf(member);
      std::sort(FFound.begin(), FFound.end());
      for (std::int64_t found : FFound) {
        int partner = static_cast<int>(found & 0xFFFFFFFF);
        Reach(partner);
        FQueue.push_back(partner);
      }
    }
  }

  // The members not yet reached that overlap the member, each with its index: ranges starting
  // before its end and ending after its start, and, for a range, the points within it.
  void PartnersOf(int member) {
    bool range = member >= 0;
    TKey start = range ? FRanges[member].Key : FPoints[~member].Key;
    TKey finish = range ? FFinishes[member] : start;
    CollectRanges(1, 0, FLeaves, start, finish);
    if (!range) return;
    auto from = std::partition_point(FPoints.begin() + FPointBegin, FPoints.begin() + FPointEnd,
                                     [start](const TEdge& point) { return point.Key < start; });
    for (int q = NextPoint(static_cast<int>(from - FPoints.begin()));
         q < FPointEnd && FPoints[q].Key <= finish; q = NextPoint(q + 1))
      FFound.push_back(Found(FPoints[q].Index, ~q));
  }

  // The ranges under the tree node, whose leaves are [low, high), that start at or before
  // finish and finish at or after start. Ranges of other groups fail one of the two.
  void CollectRanges(int node, int low, int high, TKey start, TKey finish) {
    if (FTree[node] < start || low >= FRangeEnd || FRanges[low].Key > finish) return;
    if (high - low == 1) {
      FFound.push_back(Found(FRanges[low].Index, low));
      return;
    }
    int middle = (low + high) / 2;
    CollectRanges(2 * node, low, middle, start, finish);
    CollectRanges(2 * node + 1, middle, high, start, finish);
  }

  // Takes the member out of the search; a tree node above it only changes while the member's
  // finish was its maximum.
  void Reach(int member) {
    --FUnreached;
    if (member < 0) {
      FNextPoint[~member] = ~member + 1;
      return;
    }
    int node = FLeaves + member;
    FTree[node] = Reached;
    for (node /= 2; node > 0; node /= 2) {
      TKey highest = std::max(FTree[2 * node], FTree[2 * node + 1]);
      if (FTree[node] == highest) break;
      FTree[node] = highest;
    }
  }

  // The first point at or after q that is not reached yet.
  int NextPoint(int q) {
    int found = q;
    while (FNextPoint[found] != found) found = FNextPoint[found];
    while (FNextPoint[q] != found) q = std::exchange(FNextPoint[q], found);
    return found;
  }

  std::vector<TEdge> FRanges;
  std::vector<TKey> FFinishes;
  std::vector<TEdge> FPoints;
  std::vector<TOverlapGroups::TPlace>& FPlaces;
  // A maximum tree over the finishes of the ranges; reached ranges count as Reached.
  std::vector<TKey> FTree;
  int FLeaves = 1;
  std::vector<int> FNextPoint;
  std::vector<int> FQueue;
  // Partners found for one member: the index in the high half, so that they sort by index,
  // and the member (as 32 bits) in the low half.
  std::vector<std::int64_t> FFound;
  int FUnreached = 0;
  int FRangeBegin = 0;
  int FRangeEnd = 0;
  int FPointBegin = 0;
  int FPointEnd = 0;
};

}  // namespace

void TOverlapGroups::Resize(int count) {
  int before = static_cast<int>(FSpans.size());
  if (before == count) return;
  FSpans.resize(count);
  for (int index = before; index < count; ++index) FChanged.push_back(index);
  FStale = true;
}

void TOverlapGroups::Update() {
  if (!FStale && FChanged.empty()) return;
  Regroup();
  FStale = false;
  // All spans count as changed after a load of new tasks; that list is not kept.
  std::vector<std::int32_t>().swap(FChanged);
}

// The spans that kept their start keep their place in the order by start; the others are sorted
// apart and merged in. Each span is read once, in the order by start.
void TOverlapGroups::Regroup() {
  struct TStart {
    TKey Key;
    TKey Finish;
    int Index;
    bool Range;
  };
  auto startOf = [this](int index) {
    const TSpan& span = FSpans[index];
    return TStart{KeyOf(span.Start), KeyOf(span.Finish), index, span.Start <= span.Finish};
  };
  auto byKey = [](const TStart& a, const TStart& b) { return a.Key < b.Key; };
  int count = static_cast<int>(FSpans.size());
  std::vector<bool> changed(count, false);
  std::vector<TStart> fresh;
  for (int index : FChanged)
    if (index < count && !changed[index]) {
      changed[index] = true;
      if (FSpans[index].Start == FSpans[index].Start) fresh.push_back(startOf(index));
    }
  std::sort(fresh.begin(), fresh.end(), byKey);
  std::vector<TStart> kept;
  kept.reserve(FByStart.size());
  for (int index : FByStart)
    if (index < count && !changed[index]) kept.push_back(startOf(index));
  std::vector<TStart> byStart(kept.size() + fresh.size());
  std::merge(kept.begin(), kept.end(), fresh.begin(), fresh.end(), byStart.begin(), byKey);
  FByStart.resize(byStart.size());
  std::vector<TEdge> ranges;
  std::vector<TKey> finishes;
  std::vector<TEdge> points;
  ranges.reserve(byStart.size());
  finishes.reserve(byStart.size());
  for (std::size_t place = 0; place < byStart.size(); ++place) {
    const TStart& start = byStart[place];
    FByStart[place] = start.Index;
    if (start.Range) {
      ranges.push_back({start.Key, start.Index});
      finishes.push_back(start.Finish);
    } else {
      points.push_back({start.Key, start.Index});
    }
  }
  FPlaces.assign(count, TPlace{0, 0});
  for (int index = 0; index < count; ++index)
    if (!(FSpans[index].Start == FSpans[index].Start)) FPlaces[index].Group = index;
  TGrouping(std::move(ranges), std::move(finishes), std::move(points), FPlaces).Run();
}

}  // namespace skx

// Overlap groups in linear time between regroupings: the spans are kept in order by start and by
// reach, a group is a run of the sweep by start, and its breadth-first order comes from two
// cursors that only move outwards, one in each order.
#include "SkedraComp/OverlapGroups.h"

#include <algorithm>
#include <limits>

#include "SkedraComp/Prefetch.h"

namespace skx {

namespace {

using TKey = std::int64_t;

// Orders as the date-times it comes from, NaN excepted; both zeros give one key.
TKey KeyOf(double value) {
  value += 0.0;
  TKey bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits ^ ((bits >> 63) & std::numeric_limits<TKey>::max());
}

// A span as the grouping reads it. A range finishes no earlier than it starts; any other span
// (a point) overlaps only the ranges that hold its start, so it reaches no further than that.
struct TEntry {
  TKey Start;
  TKey Reach;
  std::int32_t Index;
  bool Range;
};

TEntry EntryOf(TDateTime start, TDateTime finish, int index) {
  bool range = start <= finish;
  TKey startKey = KeyOf(start);
  return TEntry{startKey, range ? KeyOf(finish) : startKey, index, range};
}

constexpr auto StartOf = [](const TEntry& entry) { return entry.Start; };

constexpr auto ByStart = [](const TEntry& a, const TEntry& b) {
  return a.Start < b.Start || (a.Start == b.Start && a.Range && !b.Range);
};

// Where a span reaches to, and its place in the order by start.
struct TReachEntry {
  TKey Reach;
  std::int32_t Place;
};

constexpr auto ReachOf = [](const TReachEntry& entry) { return entry.Reach; };

constexpr auto Earlier = [](const TReachEntry& a, const TReachEntry& b) { return a.Reach < b.Reach; };

// Sorts items whose keys rise with the order that less gives: one pass spreads them by the keys'
// high bits over about as many buckets as there are items, then each bucket is sorted by less.
// The spans of a year of tasks fall a few to a bucket, so that a load of new tasks sorts in about
// linear time; many equal keys still sort in n log n.
template <typename T, typename KeyOf, typename Less>
void SortByKey(std::vector<T>& items, KeyOf keyOf, Less less) {
  if (items.size() < 64) {
    std::sort(items.begin(), items.end(), less);
    return;
  }
  auto [lowest, highest] = std::minmax_element(
      items.begin(), items.end(), [&](const T& a, const T& b) { return keyOf(a) < keyOf(b); });
  const auto low = static_cast<std::uint64_t>(keyOf(*lowest));
  const std::uint64_t range = static_cast<std::uint64_t>(keyOf(*highest)) - low;
  int shift = 0;
  while ((range >> shift) >= items.size()) ++shift;
  auto bucketOf = [&](const T& item) {
    return static_cast<std::size_t>((static_cast<std::uint64_t>(keyOf(item)) - low) >> shift);
  };
  std::vector<std::uint32_t> ends(static_cast<std::size_t>(range >> shift) + 2, 0);
  for (const T& item : items) ++ends[bucketOf(item) + 1];
  for (std::size_t bucket = 1; bucket < ends.size(); ++bucket) ends[bucket] += ends[bucket - 1];
  std::vector<T> sorted(items.size());
  for (const T& item : items) sorted[ends[bucketOf(item)]++] = item;
  for (std::size_t bucket = 0, begin = 0; bucket + 1 < ends.size(); begin = ends[bucket++])
    if (ends[bucket] - begin > 1) std::sort(sorted.begin() + begin, sorted.begin() + ends[bucket], less);
  items.swap(sorted);
}

// One regrouping over the spans in both orders. A group covers a stretch of time that none of the
// others reaches into, so its members are a run in each order, and its walk never leaves them.
// A member is known by its place in the order by start.
class TGrouping {
 public:
  TGrouping(const std::vector<TEntry>& byStart, const std::vector<TReachEntry>& byReach,
            std::vector<TOverlapGroups::TPlace>& places)
      : FByStart(byStart), FByReach(byReach), FPlaces(places), FReached(byStart.size(), false) {
    FQueue.reserve(byStart.size());
  }

  // Sweeps the spans by start: a range opens a group that takes every span starting before the
  // group's reach; a point that no range before it holds stands alone, since ranges of the same
  // start come first.
  void Run() {
    int count = static_cast<int>(FByStart.size());
    for (int begin = 0; begin < count;) {
      int end = begin + 1;
      int root = begin;
      if (FByStart[begin].Range) {
        TKey reach = FByStart[begin].Reach;
        for (; end < count && FByStart[end].Start <= reach; ++end) {
          if (FByStart[end].Range) reach = std::max(reach, FByStart[end].Reach);
          if (FByStart[end].Index < FByStart[root].Index) root = end;
        }
      }
      if (end - begin == 1)
        FPlaces[FByStart[begin].Index] = {FByStart[begin].Index, 0};
      else
        Walk(begin, end, root);
      begin = end;
    }
  }

 private:
  // The breadth-first walk of the group at [begin, end) in both orders, from its lowest index at
  // rootAt. The ranges walked so far cover one stretch of time; a member not reached yet lies
  // wholly after it or wholly before it. So a range's new partners are those starting between
  // the stretch's end and its finish, and those reaching between its start and the stretch's
  // start: the next spans of the order by start and, backwards, of the order by reach. A point's
  // partners are the ranges that hold its start, reached already with the range that reached it.
  void Walk(int begin, int end, int rootAt) {
    const TEntry root = FByStart[rootAt];
    FUnreached = end - begin;
    FQueue.clear();
    Found(rootAt);
    Enqueue();
    for (int p = begin; p < end && FByStart[p].Start <= root.Reach; ++p) {
      const TEntry& entry = FByStart[p];
      if (entry.Reach >= root.Start && (root.Range || entry.Range) && !FReached[p]) Found(p);
    }
    Enqueue();
    // A point's stretch is empty: spans at its start are still to be reached from either side.
    auto after = std::partition_point(
        FByStart.begin() + begin, FByStart.begin() + end, [&root](const TEntry& entry) {
          return root.Range ? entry.Start <= root.Reach : entry.Start < root.Start;
        });
    int next = static_cast<int>(after - FByStart.begin());
    auto before = std::partition_point(
        FByReach.begin() + begin, FByReach.begin() + end, [&root](const TReachEntry& entry) {
          return root.Range ? entry.Reach < root.Start : entry.Reach <= root.Start;
        });
    int previous = static_cast<int>(before - FByReach.begin()) - 1;
    for (std::size_t member = 1; member < FQueue.size() && FUnreached > 0; ++member) {
      const TEntry& reached = FByStart[FQueue[member]];
      if (!reached.Range) continue;
      for (; next < end && FByStart[next].Start <= reached.Reach; ++next)
        if (!FReached[next]) Found(next);
      for (; previous >= begin && FByReach[previous].Reach >= reached.Start; --previous)
        if (!FReached[FByReach[previous].Place]) Found(FByReach[previous].Place);
      Enqueue();
    }
    for (std::size_t order = 0; order < FQueue.size(); ++order)
      FPlaces[FByStart[FQueue[order]].Index] = {root.Index, static_cast<std::int32_t>(order)};
  }

  void Found(int place) {
    FReached[place] = true;
    --FUnreached;
    FFound.push_back(static_cast<std::int64_t>(FByStart[place].Index) << 32 | place);
  }

  // One member's partners join the queue by rising index. Many partners (a span over days among
  // dense ones) are sorted a byte of the index at a time, without the comparisons that a
  // processor mostly mispredicts.
  void Enqueue() {
    if (FFound.size() > 64)
      SortByIndex();
    else
      std::sort(FFound.begin(), FFound.end());
    for (std::int64_t found : FFound) FQueue.push_back(static_cast<std::int32_t>(found & 0xFFFFFFFF));
    FFound.clear();
  }

  void SortByIndex() {
    std::uint32_t indexBits = 0;
    for (std::int64_t found : FFound) indexBits |= static_cast<std::uint32_t>(found >> 32);
    FSorted.resize(FFound.size());
    for (int shift = 32; shift < 64 && (indexBits >> (shift - 32)) != 0; shift += 8) {
      std::size_t starts[257] = {};
      for (std::int64_t found : FFound) ++starts[(found >> shift & 0xFF) + 1];
      for (int digit = 0; digit < 256; ++digit) starts[digit + 1] += starts[digit];
      for (std::int64_t found : FFound) FSorted[starts[found >> shift & 0xFF]++] = found;
      FFound.swap(FSorted);
    }
  }

  const std::vector<TEntry>& FByStart;
  const std::vector<TReachEntry>& FByReach;
  std::vector<TOverlapGroups::TPlace>& FPlaces;
  std::vector<char> FReached;
  std::vector<std::int32_t> FQueue;
  // Partners found for one member: the index in the high half, so that they sort by index, and
  // the place in the low half.
  std::vector<std::int64_t> FFound;
  std::vector<std::int64_t> FSorted;
  int FUnreached = 0;
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
  if (FDeferred) {
    FDeferred = false;
    std::vector<char>().swap(FKnown);
    FChanged.resize(FSpans.size());
    for (std::size_t index = 0; index < FChanged.size(); ++index)
      FChanged[index] = static_cast<std::int32_t>(index);
  }
  if (!FStale && FChanged.empty()) return;
  Regroup();
  FStale = false;
  // All spans count as changed after a load of new tasks; that list is not kept.
  std::vector<std::int32_t>().swap(FChanged);
}

// A load is a quarter of the spans or more changed: sorting them all would cost more than a few
// scans that find the spans near the needed ones. Fewer changes group every span once, so that
// the orders take in the next few changes without a sort.
void TOverlapGroups::Update(const std::vector<int>& needed) {
  bool changed = FStale || !FChanged.empty();
  if (!changed && !FDeferred) return;
  if (changed && FChanged.size() * 4 < FSpans.size()) {
    Update();
    return;
  }
  if (!FDeferred) Defer();
  if (changed) {
    FKnown.assign(FSpans.size(), false);
    FPlaces.resize(FSpans.size());
    FChanged.clear();
    FStale = false;
  }
  if (std::all_of(needed.begin(), needed.end(), [this](int index) { return FKnown[index]; }))
    return;
  if (!GroupNear(needed)) Update();
}

void TOverlapGroups::Defer() {
  FDeferred = true;
  std::vector<std::int32_t>().swap(FByStart);
  std::vector<std::int32_t>().swap(FByReach);
}

// The needed spans lie within one stretch of time. The spans that overlap a window around it are
// sorted and swept into runs of overlaps, as the grouping sweeps them; the runs that meet the
// stretch hold whole groups when they stay inside the window, since a span that overlaps one of
// their members overlaps the window too. Otherwise the window widens around the runs. A chain of
// overlaps across most of the spans widens it over many of them: as soon as the next window
// would hold an eighth of them at the density of this one, every span is grouped.
bool TOverlapGroups::GroupNear(const std::vector<int>& needed) {
  constexpr int MaxWindows = 3;
  constexpr std::size_t MinSpread = 256;
  auto reachOf = [](const TSpan& span) { return span.Start <= span.Finish ? span.Finish : span.Start; };
  double first = std::numeric_limits<double>::infinity();
  double last = -first;
  for (int index : needed) {
    const TSpan& span = FSpans[index];
    if (span.Start == span.Start) {
      first = std::min(first, span.Start);
      last = std::max(last, reachOf(span));
    } else {
      FPlaces[index] = {index, 0};
      FKnown[index] = true;
    }
  }
  if (first > last) return true;
  int count = static_cast<int>(FSpans.size());
  const std::size_t mostSpans = std::max(MinSpread, FSpans.size() / 4);
  double margin = last - first >= 2.0 ? (last - first) / 2 : 1.0;
  std::vector<TEntry> window;
  for (int round = 0; round < MaxWindows; ++round, margin *= 4) {
    const double windowFirst = first - margin;
    const double windowLast = last + margin;
    window.clear();
    for (int index = 0; index < count; ++index) {
      const TSpan& span = FSpans[index];
      if (span.Start <= windowLast && windowFirst <= reachOf(span)) {
        if (window.size() == mostSpans) return false;
        window.push_back(EntryOf(span.Start, span.Finish, index));
      }
    }
    SortByKey(window, StartOf, ByStart);
    const TKey stretchFirst = KeyOf(first);
    const TKey stretchLast = KeyOf(last);
    std::size_t nearBegin = window.size();
    std::size_t nearEnd = window.size();
    TKey nearReach = stretchLast;
    for (std::size_t begin = 0; begin < window.size();) {
      std::size_t end = begin + 1;
      TKey reach = window[begin].Reach;
      if (window[begin].Range)
        for (; end < window.size() && window[end].Start <= reach; ++end)
          if (window[end].Range) reach = std::max(reach, window[end].Reach);
      if (window[begin].Start > stretchLast) break;
      if (reach >= stretchFirst) {
        if (nearBegin == window.size()) nearBegin = begin;
        nearEnd = end;
        nearReach = std::max(nearReach, reach);
      }
      begin = end;
    }
    if (nearBegin == window.size()) return false;
    first = std::min(first, FSpans[window[nearBegin].Index].Start);
    if (KeyOf(first) >= KeyOf(windowFirst) && nearReach <= KeyOf(windowLast)) {
      window.erase(window.begin() + nearEnd, window.end());
      window.erase(window.begin(), window.begin() + nearBegin);
      for (const TEntry& entry : window) FKnown[entry.Index] = true;
      std::vector<TReachEntry> byReach(window.size());
      for (std::size_t place = 0; place < window.size(); ++place)
        byReach[place] = {window[place].Reach, static_cast<std::int32_t>(place)};
      SortByKey(byReach, ReachOf, Earlier);
      TGrouping(window, byReach, FPlaces).Run();
      return true;
    }
    for (std::size_t place = nearBegin; place < nearEnd; ++place)
      last = std::max(last, reachOf(FSpans[window[place].Index]));
    double widening = (last - first + 8 * margin) / (windowLast - windowFirst);
    if (static_cast<double>(window.size()) * widening > static_cast<double>(mostSpans) / 2)
      return false;
  }
  return false;
}

// The spans that kept their bits keep their place in both orders; the others are sorted apart
// and merged in. Only the order by start reads the spans; the order by reach takes each span's
// entry from there, near the entries it has just read, since most spans reach a little after
// they start.
void TOverlapGroups::Regroup() {
  int count = static_cast<int>(FSpans.size());
  auto entryOf = [this](int index) {
    return EntryOf(FSpans[index].Start, FSpans[index].Finish, index);
  };
  std::vector<char> changed(count, false);
  std::vector<TEntry> fresh;
  fresh.reserve(std::min(FChanged.size(), FSpans.size()));
  for (int index : FChanged)
    if (index < count && !changed[index]) {
      changed[index] = true;
      if (FSpans[index].Start == FSpans[index].Start) fresh.push_back(entryOf(index));
    }
  // The order by start is merged first; movedTo keeps where each of its earlier places went
  // (-1 for a span that changed), so that the order by reach, which holds places in it, follows
  // without reading the spans again.
  SortByKey(fresh, StartOf, ByStart);
  std::vector<TEntry> byStart;
  std::vector<std::int32_t> startOrder;
  std::vector<std::int32_t> movedTo(FByStart.size(), -1);
  std::vector<TReachEntry> freshByReach;
  freshByReach.reserve(fresh.size());
  byStart.reserve(FByStart.size() + fresh.size());
  startOrder.reserve(byStart.capacity());
  auto takeByStart = [&](const TEntry& entry) {
    startOrder.push_back(entry.Index);
    byStart.push_back(entry);
    return static_cast<std::int32_t>(byStart.size() - 1);
  };
  auto next = fresh.cbegin();
  auto takeFresh = [&] { freshByReach.push_back({next->Reach, takeByStart(*next++)}); };
  for (std::size_t place = 0; place < FByStart.size(); ++place) {
    // The spans are read in an order of their own: ask for the coming ones early.
    if (place + 16 < FByStart.size() && FByStart[place + 16] < count)
      PrefetchRead(FSpans.data() + FByStart[place + 16]);
    int index = FByStart[place];
    if (index >= count || changed[index]) continue;
    TEntry kept = entryOf(index);
    while (next != fresh.cend() && ByStart(*next, kept)) takeFresh();
    movedTo[place] = takeByStart(kept);
  }
  while (next != fresh.cend()) takeFresh();
  FByStart.swap(startOrder);

  SortByKey(freshByReach, ReachOf, Earlier);
  std::vector<TReachEntry> byReach;
  byReach.reserve(byStart.size());
  auto nextByReach = freshByReach.cbegin();
  for (std::int32_t place : FByReach) {
    std::int32_t moved = movedTo[place];
    if (moved < 0) continue;
    TReachEntry kept{byStart[moved].Reach, moved};
    for (; nextByReach != freshByReach.cend() && Earlier(*nextByReach, kept); ++nextByReach)
      byReach.push_back(*nextByReach);
    byReach.push_back(kept);
  }
  byReach.insert(byReach.end(), nextByReach, freshByReach.cend());
  FByReach.resize(byReach.size());
  for (std::size_t place = 0; place < byReach.size(); ++place) FByReach[place] = byReach[place].Place;
  FPlaces.resize(count);
  if (byStart.size() < FSpans.size())
    for (int index = 0; index < count; ++index)
      if (!(FSpans[index].Start == FSpans[index].Start)) FPlaces[index] = {index, 0};
  TGrouping(byStart, byReach, FPlaces).Run();
}

}  // namespace skx

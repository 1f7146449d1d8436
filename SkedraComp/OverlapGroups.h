// The overlap groups of a list of time spans: which spans are linked by a chain of overlaps, and
// the breadth-first order in which the placement lays out each group.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "Framework/Core/DateTime.h"

namespace skx {

// Two spans overlap when one starts within the other, both ends included; a span that finishes
// before it starts only overlaps spans that contain its start, and one that starts at NaN none.
// A group is a connected part of that relation. Its order is the breadth-first walk from its
// lowest index, each member adding its not yet reached partners by rising index.
class TOverlapGroups {
 public:
  // The spans by index: assigning what is stored already keeps the groups; anything else (other
  // bits, another count) regroups at the next Update, which only sorts the spans that changed.
  void Resize(int count);
  void SetSpan(int index, TDateTime start, TDateTime finish) {
    TSpan& span = FSpans[index];
    if (SameBits(span.Start, start) && SameBits(span.Finish, finish)) return;
    span = {start, finish};
    FChanged.push_back(index);
  }
  // Groups every span.
  void Update();
  // Groups at least the spans at these indices. After a load of many new spans it groups only
  // the spans near them, found by a scan, and leaves the rest until an update needs them: a
  // group is a connected part, so grouping it apart gives it the same members and order.
  void Update(const std::vector<int>& needed);

  // The lowest index of a span's group, and the span's place in the group's order.
  struct TPlace {
    std::int32_t Group;
    std::int32_t Order;
  };
  int Group(int index) const { return FPlaces[index].Group; }
  int Order(int index) const { return FPlaces[index].Order; }

 private:
  struct TSpan {
    TDateTime Start;
    TDateTime Finish;
  };
  static bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }
  void Regroup();
  void Defer();
  bool GroupNear(const std::vector<int>& needed);

  std::vector<TSpan> FSpans;
  std::vector<TPlace> FPlaces;
  // The spans that have a start as of the last regrouping by start (ranges before spans that
  // finish before they start), and their places in that order by where they reach to (their
  // finish, or their start when they finish before it).
  std::vector<std::int32_t> FByStart;
  std::vector<std::int32_t> FByReach;
  // The spans changed or added since then.
  std::vector<std::int32_t> FChanged;
  bool FStale = false;
  // Whether the orders wait for an update of every span; meanwhile only the spans marked known
  // have their places.
  bool FDeferred = false;
  std::vector<char> FKnown;
};

}  // namespace skx

// The overlap groups against the plain breadth-first walk that compares every pair of spans.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "SkedraComp/OverlapGroups.h"

namespace skx::test {
namespace {

struct TSpan {
  double Start;
  double Finish;
};

bool Overlap(const TSpan& a, const TSpan& b) {
  return (a.Start <= b.Start && b.Start <= a.Finish) || (b.Start <= a.Start && a.Start <= b.Finish);
}

// Group (lowest index) and order of every span, found by comparing each member with all spans.
void PlainGroups(const std::vector<TSpan>& spans, std::vector<int>& group,
                 std::vector<int>& order) {
  int count = static_cast<int>(spans.size());
  std::vector<bool> marked(count, false);
  group.assign(count, -1);
  order.assign(count, -1);
  for (int first = 0; first < count; ++first) {
    if (marked[first]) continue;
    std::vector<int> members{first};
    marked[first] = true;
    for (std::size_t next = 0; next < members.size(); ++next)
      for (int index = 0; index < count; ++index)
        if (!marked[index] && Overlap(spans[index], spans[members[next]])) {
          members.push_back(index);
          marked[index] = true;
        }
    for (std::size_t place = 0; place < members.size(); ++place) {
      group[members[place]] = first;
      order[members[place]] = static_cast<int>(place);
    }
  }
}

// Every span's place, or with needed given only those spans' places after grouping for them.
void ExpectPlainGroups(TOverlapGroups& groups, const std::vector<TSpan>& spans,
                       const std::vector<int>* needed = nullptr) {
  groups.Resize(static_cast<int>(spans.size()));
  for (std::size_t i = 0; i < spans.size(); ++i)
    groups.SetSpan(static_cast<int>(i), spans[i].Start, spans[i].Finish);
  std::vector<int> all(spans.size());
  for (std::size_t i = 0; i < spans.size(); ++i) all[i] = static_cast<int>(i);
  if (needed != nullptr)
    groups.Update(*needed);
  else
    groups.Update();
  std::vector<int> group;
  std::vector<int> order;
  PlainGroups(spans, group, order);
  for (int i : needed != nullptr ? *needed : all) {
    ASSERT_EQ(groups.Group(i), group[i]) << "span " << i;
    ASSERT_EQ(groups.Order(i), order[i]) << "span " << i;
  }
}

// Values from a small set, so that equal starts, finishes and touching ends are common.
double RandomTime(std::mt19937& random) {
  static const double Specials[] = {std::numeric_limits<double>::quiet_NaN(),
                                    std::numeric_limits<double>::infinity(),
                                    -std::numeric_limits<double>::infinity(),
                                    -0.0,
                                    0.0,
                                    -1.5,
                                    1e300};
  int pick = std::uniform_int_distribution<int>(0, 99)(random);
  if (pick < 4) return Specials[pick % 7 == 0 ? 0 : pick];
  if (pick < 7) return Specials[pick];
  return std::uniform_int_distribution<int>(0, 40)(random) / 4.0;
}

std::vector<TSpan> RandomSpans(std::mt19937& random, int count) {
  std::vector<TSpan> spans;
  for (int i = 0; i < count; ++i) {
    double start = RandomTime(random);
    int shape = std::uniform_int_distribution<int>(0, 9)(random);
    double finish = shape < 6   ? start + std::uniform_int_distribution<int>(0, 12)(random) / 4.0
                    : shape < 8 ? RandomTime(random)
                                : start - 0.25;
    if (shape == 9 && !spans.empty()) spans.push_back(spans[random() % spans.size()]);
    else spans.push_back({start, finish});
  }
  return spans;
}

TEST(OverlapGroupsTest, MatchesThePlainWalkOnRandomSpans) {
  std::mt19937 random(20261209u);
  TOverlapGroups groups;
  for (int round = 0; round < 4000; ++round) {
    int count = std::uniform_int_distribution<int>(0, round % 100 == 0 ? 400 : 24)(random);
    ASSERT_NO_FATAL_FAILURE(ExpectPlainGroups(groups, RandomSpans(random, count))) << round;
  }
}

// The orders kept between regroupings take in a few changes at a time: spans moved within their
// group or into another, linking or splitting groups, turned into points, spans added and
// removed at the end.
TEST(OverlapGroupsTest, FewChangesAtATimeMatchThePlainWalk) {
  std::mt19937 random(20261210u);
  for (int run = 0; run < 40; ++run) {
    TOverlapGroups groups;
    std::vector<TSpan> spans = RandomSpans(random, std::uniform_int_distribution<int>(1, 60)(random));
    ASSERT_NO_FATAL_FAILURE(ExpectPlainGroups(groups, spans));
    for (int step = 0; step < 50; ++step) {
      int changes = std::uniform_int_distribution<int>(1, 3)(random);
      for (int change = 0; change < changes; ++change) {
        std::vector<TSpan> other = RandomSpans(random, 1);
        int kind = std::uniform_int_distribution<int>(0, 9)(random);
        if (kind == 0)
          spans.push_back(other[0]);
        else if (kind == 1 && spans.size() > 1)
          spans.pop_back();
        else
          spans[random() % spans.size()] = other[0];
      }
      ASSERT_NO_FATAL_FAILURE(ExpectPlainGroups(groups, spans)) << run << " " << step;
    }
  }
}

// Updates for a few spans at a time, as the placement asks for the tasks near the shown days:
// after a load they group only what those need, and later ones, with or without changes in
// between, find what was left. Clusters far apart make groups that a window can take whole; the
// spans of one cluster can chain across all of it.
TEST(OverlapGroupsTest, SpansNeededAfterALoadMatchThePlainWalk) {
  std::mt19937 random(20261211u);
  for (int run = 0; run < 200; ++run) {
    TOverlapGroups groups;
    int count = std::uniform_int_distribution<int>(1, run % 10 == 0 ? 1200 : 40)(random);
    int clusters = std::uniform_int_distribution<int>(1, count / 4 + 1)(random);
    std::vector<TSpan> spans = RandomSpans(random, count);
    for (TSpan& span : spans) {
      double shift = 20.0 * std::uniform_int_distribution<int>(0, clusters)(random);
      span.Start += shift;
      span.Finish += shift;
    }
    for (int step = 0; step < 12; ++step) {
      std::vector<int> needed;
      int asked = std::uniform_int_distribution<int>(0, 4)(random);
      for (int k = 0; k < asked; ++k) needed.push_back(static_cast<int>(random() % spans.size()));
      ASSERT_NO_FATAL_FAILURE(ExpectPlainGroups(groups, spans, &needed)) << run << " " << step;
      int kind = std::uniform_int_distribution<int>(0, 3)(random);
      if (kind == 0) {
        int load = spans.size() < 300 ? static_cast<int>(spans.size()) / 2 + 1 : 3;
        std::vector<TSpan> more = RandomSpans(random, load);
        spans.insert(spans.end(), more.begin(), more.end());
      } else if (kind == 1) {
        spans[random() % spans.size()] = RandomSpans(random, 1)[0];
      }
    }
    ASSERT_NO_FATAL_FAILURE(ExpectPlainGroups(groups, spans)) << run;
  }
}

TEST(OverlapGroupsTest, OrderIsBreadthFirstByIndexFromTheLowestIndex) {
  TOverlapGroups groups;
  // 0 touches 3 only; 3 reaches 1, 4 and 6 (which finishes before it starts, within 3 and 4);
  // 1 reaches 2; 5 stands apart.
  std::vector<TSpan> spans{{5, 6}, {2, 3.5}, {1, 2}, {3, 5}, {3.5, 4}, {8, 9}, {3.75, 3.5}};
  ASSERT_NO_FATAL_FAILURE(ExpectPlainGroups(groups, spans));
  std::vector<int> expected{0, 2, 5, 1, 3, 0, 4};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(groups.Order(i), expected[i]) << i;
  EXPECT_EQ(groups.Group(5), 5);
  EXPECT_EQ(groups.Group(6), 0);
}

TEST(OverlapGroupsTest, SpansFinishingBeforeTheyStartNeverOverlapEachOther) {
  TOverlapGroups groups;
  ASSERT_NO_FATAL_FAILURE(ExpectPlainGroups(groups, {{2, 1}, {2, 1}}));
  EXPECT_EQ(groups.Group(1), 1);
  // A span of no length at their start links them.
  ASSERT_NO_FATAL_FAILURE(ExpectPlainGroups(groups, {{2, 1}, {2, 1}, {2, 2}}));
  EXPECT_EQ(groups.Group(1), 0);
  EXPECT_EQ(groups.Order(1), 2);
}

TEST(OverlapGroupsTest, UnchangedSpansKeepTheGroupsAndAnyChangeRegroups) {
  TOverlapGroups groups;
  ASSERT_NO_FATAL_FAILURE(ExpectPlainGroups(groups, {{1, 2}, {3, 4}, {2, 3}}));
  EXPECT_EQ(groups.Group(1), 0);
  ASSERT_NO_FATAL_FAILURE(ExpectPlainGroups(groups, {{1, 2}, {3, 4}, {2.5, 2.75}}));
  EXPECT_EQ(groups.Group(1), 1);
  double nan = std::numeric_limits<double>::quiet_NaN();
  ASSERT_NO_FATAL_FAILURE(ExpectPlainGroups(groups, {{nan, 2}, {1, 4}}));
  ASSERT_NO_FATAL_FAILURE(ExpectPlainGroups(groups, {{nan, 2}, {1, 4}, {2, 2}}));
  EXPECT_EQ(groups.Order(2), 1);
}

}  // namespace
}  // namespace skx::test

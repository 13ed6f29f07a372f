// The index by PSM key over the mark list.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "GeodesyFixtures.h"
#include "geodesy/MarkIndex.h"

namespace modKestralMGA {
namespace {

TEST(MarkIndex, ReadsCoordinatesAndOrderByTheNumericValueRule) {
  struct Case {
    const char* east;
    const char* north;
    const char* order;
    double expectedEast, expectedNorth, expectedOrder;
    const char* why;
  };
  const Case cases[] = {
      {"280 000.5", "6130000abc", "", 280000.5, 6130000, 0, "the numeric value rule; no order"},
      {"1e400", "-5", "2.5", 0, -5, 2, "an overflow counts 0; order halves to even"},
      {"", "x", "70000.5", 0, 0, 70000, "no 16-bit limit on the order"},
  };
  for (const Case& c : cases) {
    MarkList list;
    list.AppendRow(JoinMark("6628/1001", c.east, c.north, c.order));
    MarkIndex index(list);
    const std::optional<IndexedMark> mark = index.Find(66281001);
    ASSERT_TRUE(mark.has_value()) << c.why;
    EXPECT_EQ(mark->East, c.expectedEast) << c.why;
    EXPECT_EQ(mark->North, c.expectedNorth) << c.why;
    EXPECT_EQ(mark->Order, c.expectedOrder) << c.why;
    EXPECT_FALSE(index.Find(66281002).has_value()) << c.why;
  }
}

TEST(MarkIndex, FollowsEveryKindOfChangeToTheList) {
  struct Case {
    std::function<void(MarkList&)> change;
    double eastOf1001;  // 0: not found
    const char* why;
  };
  const std::vector<Case> cases = {
      {[](MarkList& l) { l.SetCell(0, kColEast, "1"); }, 1, "cell edited"},
      {[](MarkList& l) { l.SetCell(1, kColPsmNo, "6628/1001"); }, 2, "key edited"},
      {[](MarkList& l) { l.AppendRow(JoinMark("6628/1001", "3", "3")); }, 3, "row appended"},
      {[](MarkList& l) { l.InsertRow(0, JoinMark("6628/1001", "3", "3")); }, 10, "row inserted"},
      {[](MarkList& l) { l.RemoveRow(0); }, 0, "row removed"},
      {[](MarkList& l) {
         l.KeepRows({false, true});
       },
       0, "rows kept"},
      {[](MarkList& l) { l.Resize(0); }, 0, "list cut"},
      {[](MarkList& l) { l.Clear(); }, 0, "list cleared"},
      // Assigned from a list that has seen as many changes as this one: the same revision count
      // must not hide the new rows from the index.
      {[](MarkList& l) {
         MarkList other;
         other.AppendRow(JoinMark("6628/1001", "5", "5"));
         other.AppendRow(JoinMark("6628/1009", "1", "1"));
         l = other;
       },
       5, "list assigned"},
      {[](MarkList& l) {
         MarkList other;
         other.AppendRow(JoinMark("6628/1001", "6", "6"));
         other.AppendRow(JoinMark("6628/1009", "1", "1"));
         l = std::move(other);
       },
       6, "list moved in"},
  };
  for (const Case& c : cases) {
    MarkList list;
    list.AppendRow(JoinMark("6628/1001", "10", "10"));
    list.AppendRow(JoinMark("6628/1002", "2", "2"));
    MarkIndex index(list);
    ASSERT_TRUE(index.Find(66281001).has_value());
    c.change(list);
    EXPECT_EQ(index.FindOrZero(66281001).East, c.eastOf1001) << c.why;
  }
}

}  // namespace
}  // namespace modKestralMGA

// The event loop turns a long command takes (the Compare command's scenarios, with the window
// while a comparison runs, are in tests/data/gui/compare.scn).
#include <gtest/gtest.h>

#include <chrono>

#include "app/EventLoopTurns.h"

TEST(EventLoopTurnsTest, TurnsComeWhenTheIntervalHasPassed) {
  using std::chrono::milliseconds;
  std::chrono::steady_clock::time_point now;
  EventLoopTurns turns([&] { return now; });
  int count = 0;
  turns.SetBeforeTurn([&] { ++count; });
  turns.Start();
  const std::pair<int, int> calls[] = {{0, 0},  {49, 0},  {50, 1},  {60, 1},
                                       {99, 1}, {100, 2}, {400, 3}, {420, 3}};  // ms, turns
  for (const auto& [at, expected] : calls) {
    now = std::chrono::steady_clock::time_point(milliseconds(at));
    turns.Process();
    EXPECT_EQ(count, expected) << at << " ms";
  }
  turns.Abandon();
  now += milliseconds(10);
  EXPECT_NO_THROW(turns.Process());  // no turn, so nothing could have ended
  now += milliseconds(50);
  EXPECT_THROW(turns.Process(), CommandAbandoned);
}

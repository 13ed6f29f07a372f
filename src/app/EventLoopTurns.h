#pragma once

#include <chrono>
#include <functional>

#include "common/Seams.h"

// Thrown out of a long command's turn of the event loop when the program ended during that turn
// (Exit, or the main window closed): the command stops where it was, touching nothing more. Not
// a std::exception, so that the core's failure handling lets it pass to the command.
struct CommandAbandoned {};

// The window's pending-events hook: lets the event loop run (the window repaints, the list shows
// what has come, Close and Exit work) when about 50 ms have passed since the last turn, not at
// every call, so that a long comparison spends its time comparing.
class EventLoopTurns final : public modKestralMGA::PendingEvents {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  static constexpr std::chrono::milliseconds kInterval{50};

  // clock gives the time (tests pass their own).
  explicit EventLoopTurns(Clock clock = &std::chrono::steady_clock::now);

  // Runs before each turn: what the turn should show, made ready (the results list's new lines).
  void SetBeforeTurn(std::function<void()> beforeTurn) { m_beforeTurn = std::move(beforeTurn); }
  // The least time between two turns; 0 gives a turn at every call.
  void SetInterval(std::chrono::milliseconds interval) { m_interval = interval; }
  // A long command begins: its first turn comes one interval from now.
  void Start();
  // The program is ending: a command in one of its turns is abandoned when the turn ends.
  void Abandon() { m_abandoned = true; }

  // Lets the event loop run when the interval has passed since the last turn (or the Start).
  // Throws CommandAbandoned when the program ended during the turn.
  void Process() override;

 private:
  Clock m_clock;
  std::function<void()> m_beforeTurn;
  std::chrono::milliseconds m_interval = kInterval;
  std::chrono::steady_clock::time_point m_lastTurn;
  bool m_abandoned = false;
};

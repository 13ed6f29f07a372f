#include "app/EventLoopTurns.h"

#include <QCoreApplication>
#include <utility>

EventLoopTurns::EventLoopTurns(Clock clock) : m_clock(std::move(clock)), m_lastTurn(m_clock()) {}

void EventLoopTurns::Start() {
  m_lastTurn = m_clock();
}

void EventLoopTurns::Process() {
  if (m_clock() - m_lastTurn < m_interval) return;
  if (m_beforeTurn) m_beforeTurn();
  QCoreApplication::processEvents();
  m_lastTurn = m_clock();
  if (m_abandoned) throw CommandAbandoned{};
}

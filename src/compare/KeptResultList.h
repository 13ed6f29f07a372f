#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/ByteBuffer.h"
#include "compare/ComparePSMJoins.h"

namespace modKestralMGA {

// A results list that keeps the comparison's lines until the caller writes them out, so that
// nothing reaches the batch program's standard output from a command that fails. The lines are
// kept as one text, each followed by a line feed, to be written in one piece.
class KeptResultList final : public ResultList {
 public:
  void Clear() override { m_text.clear(); }
  void AddLine(std::string line) override {
    m_text.append(line);
    m_text.append('\n');
  }
  // Room for a verdict line a join ("10000390       59424258       JOIN ACCEPTABLE" and its line
  // feed); the detail lines of joins not acceptable take more as they come.
  void Expect(std::size_t joins) override { m_text.reserve(m_text.size() + joins * 48); }
  // Every line added since the last Clear, each followed by a line feed.
  std::string_view Text() const { return m_text.view(); }

 private:
  ByteBuffer m_text;
};

}  // namespace modKestralMGA

#pragma once

#include <string>

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
    m_text.push_back('\n');
  }
  // Every line added since the last Clear, each followed by a line feed.
  const std::string& Text() const { return m_text; }

 private:
  std::string m_text;
};

}  // namespace modKestralMGA

#pragma once

#include <string>
#include <utility>
#include <vector>

#include "compare/ComparePSMJoins.h"

namespace modKestralMGA {

// A results list that keeps the comparison's lines until the caller writes them out, so that
// nothing reaches the batch program's standard output from a command that fails.
class KeptResultList final : public ResultList {
 public:
  void Clear() override { m_lines.clear(); }
  void AddLine(std::string line) override { m_lines.push_back(std::move(line)); }
  const std::vector<std::string>& Lines() const { return m_lines; }

 private:
  std::vector<std::string> m_lines;
};

}  // namespace modKestralMGA

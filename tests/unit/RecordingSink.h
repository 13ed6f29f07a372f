#pragma once

#include <string>
#include <vector>

#include "common/Seams.h"

namespace modKestralMGA::testsupport {

// A message sink that keeps every message for the test to look at.
class RecordingSink final : public modKestralMGA::MessageSink {
 public:
  struct Entry {
    std::string Text;
    std::string Title;
    modKestralMGA::MessageIcon Icon;
    bool operator==(const Entry&) const = default;
  };
  void Message(const std::string& text, const std::string& title,
               modKestralMGA::MessageIcon icon) override {
    m_entries.push_back({text, title, icon});
  }
  const std::vector<Entry>& Entries() const { return m_entries; }
  std::size_t Count() const { return m_entries.size(); }
  const Entry& operator[](std::size_t i) const { return m_entries.at(i); }

 private:
  std::vector<Entry> m_entries;
};

}  // namespace modKestralMGA::testsupport

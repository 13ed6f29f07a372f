#pragma once

// A message sink that keeps every message handed to it, for tests to compare.
#include <ostream>
#include <string>
#include <vector>

#include "common/Seams.h"

namespace modKestralMGA::testsupport {

struct RecordedMessage {
  std::string Text;
  std::string Title;
  MessageIcon Icon;
  bool operator==(const RecordedMessage&) const = default;
};

inline void PrintTo(const RecordedMessage& message, std::ostream* os) {
  *os << "{\"" << message.Text << "\", \"" << message.Title << "\", icon "
      << static_cast<int>(message.Icon) << "}";
}

class RecordingSink final : public MessageSink {
 public:
  void Message(const std::string& text, const std::string& title, MessageIcon icon) override {
    Messages.push_back({text, title, icon});
  }
  std::vector<RecordedMessage> Messages;
};

}  // namespace modKestralMGA::testsupport

#pragma once

#include <ostream>
#include <string>

#include "common/Seams.h"

namespace modKestralMGA {

// The batch program's message boxes: each message becomes one line "<title>: <text>" on the
// stream (standard error), written and flushed when it is shown, bytes as they are.
class StreamMessageSink final : public MessageSink {
 public:
  explicit StreamMessageSink(std::ostream& stream) : m_stream(stream) {}
  void Message(const std::string& text, const std::string& title, MessageIcon icon) override;

 private:
  std::ostream& m_stream;
};

}  // namespace modKestralMGA

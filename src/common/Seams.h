#pragma once

#include <string>

namespace modKestralMGA {

// The icon of a message box: critical for failures of file reading, exclamation for warnings,
// write failures and completion notices, information for the About box and the PSM list print.
enum class MessageIcon { Critical, Exclamation, Information };

// The core half of the dialogs seam: where a routine that shows a message and goes on hands the
// message. The window shows a message box; the batch program writes "<title>: <text>" to
// standard error; tests record it. Texts are bytes as the program holds them.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void Message(const std::string& text, const std::string& title, MessageIcon icon) = 0;
};

// Called by long commands between units of work. The window lets its event loop run when about
// 50 ms have passed since the last turn; the batch program and tests do nothing.
class PendingEvents {
 public:
  virtual ~PendingEvents() = default;
  virtual void Process() = 0;
};

// The pending-events hook that does nothing.
class NoPendingEvents final : public PendingEvents {
 public:
  void Process() override {}
};

}  // namespace modKestralMGA

#include "cli/StreamMessageSink.h"

namespace modKestralMGA {

void StreamMessageSink::Message(const std::string& text, const std::string& title,
                                MessageIcon /*icon*/) {
  m_stream << title << ": " << text << '\n';
  m_stream.flush();
}

}  // namespace modKestralMGA

#pragma once

#include <string>
#include <utility>

#include "app/Dialogs.h"

namespace modKestralMGA {

// The windows' dialogs for the benchmarks: an open prompt answers the benchmark's file, a save
// prompt is cancelled, and messages are counted (a message fails the run).
class BenchDialogs final : public Dialogs {
 public:
  explicit BenchDialogs(std::string path = {}) : m_path(std::move(path)) {}
  void Message(const std::string&, const std::string&, MessageIcon) override { ++Messages; }
  std::string OpenFileName(const std::string&, const std::string&, const std::string&) override {
    return m_path;
  }
  std::string SaveFileName(const std::string&, const std::string&, const std::string&,
                           bool) override {
    return {};
  }
  int Messages = 0;

 private:
  std::string m_path;
};

}  // namespace modKestralMGA

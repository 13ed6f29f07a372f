#pragma once

#include <functional>
#include <string>
#include <utility>

#include "app/Dialogs.h"

namespace modKestralMGA {

// The dialogs of the windows' benchmarks: the open prompt answers the path given (none by
// default), save prompts and print dialogs are cancelled, and messages are counted: a benchmark
// that shows one fails its run.
class BenchDialogs final : public Dialogs {
 public:
  explicit BenchDialogs(std::string openPath = {}) : m_openPath(std::move(openPath)) {}
  void Message(const std::string&, const std::string&, MessageIcon) override { ++Messages; }
  bool AskToContinue(const std::string&, const std::string&) override {
    ++Messages;
    return true;
  }
  SaveAnswer AskToSave(const std::string&, const std::string&) override {
    return SaveAnswer::Discard;
  }
  std::string OpenFileName(const std::string&, const std::string&, const std::string&) override {
    return m_openPath;
  }
  std::string SaveFileName(const std::string&, const std::string&, const std::string&,
                           bool) override {
    return {};
  }
  bool ChoosePrinter(const std::string&, QPrinter&) override { return false; }
  void ShowPrintPreview(const std::string&, const std::function<void(QPrinter&)>&) override {}
  int Messages = 0;

 private:
  std::string m_openPath;
};

}  // namespace modKestralMGA

#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/Dialogs.h"

namespace modKestralMGA {

// The dialogs of the windows' benchmarks: the open prompt answers the path given (none by
// default), save prompts and print dialogs are cancelled, and messages are counted and kept
// ("title: text"): a benchmark that shows one it does not expect fails its run.
class BenchDialogs final : public Dialogs {
 public:
  explicit BenchDialogs(std::string openPath = {}) : m_openPath(std::move(openPath)) {}
  void Message(const std::string& text, const std::string& title, MessageIcon) override {
    ++Messages;
    Said.push_back(title + ": " + text);
  }
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
  std::vector<std::string> Said;

 private:
  std::string m_openPath;
};

}  // namespace modKestralMGA

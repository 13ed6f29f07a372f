#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "app/Dialogs.h"

// The dialogs double of the window tests: records every message (text, title, icon) and every
// file prompt, and answers the prompts from a queue; an empty answer is a cancel. A prompt that
// comes with the queue empty fails the test: the test did not expect it.
class ScriptedDialogs final : public Dialogs {
 public:
  struct Message {
    std::string Text;
    std::string Title;
    modKestralMGA::MessageIcon Icon;
  };
  struct Prompt {
    bool Save = false;
    std::string Title;
    std::string InitialName;
    std::string Filter;
    bool ConfirmReplace = false;
  };

  void Answer(std::string path) { m_answers.push_back(std::move(path)); }
  std::size_t UnusedAnswers() const { return m_answers.size(); }

  void Message(const std::string& text, const std::string& title,
               modKestralMGA::MessageIcon icon) override {
    Messages.push_back({text, title, icon});
  }
  std::string OpenFileName(const std::string& title, const std::string& initialName,
                           const std::string& filter) override {
    Prompts.push_back({false, title, initialName, filter, false});
    return NextAnswer(title);
  }
  std::string SaveFileName(const std::string& title, const std::string& initialName,
                           const std::string& filter, bool confirmReplace) override {
    Prompts.push_back({true, title, initialName, filter, confirmReplace});
    return NextAnswer(title);
  }

  std::vector<struct Message> Messages;
  std::vector<Prompt> Prompts;

 private:
  std::string NextAnswer(const std::string& title) {
    if (m_answers.empty()) {
      ADD_FAILURE() << "The file prompt \"" << title << "\" came with no answer queued";
      return {};
    }
    std::string answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
  }

  std::deque<std::string> m_answers;
};

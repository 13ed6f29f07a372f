#pragma once

#include <gtest/gtest.h>

#include <QPrinter>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/Dialogs.h"

// The dialogs double of the window tests: records every message (text, title, icon) and every
// file prompt, and answers the prompts from a queue; an empty answer is a cancel. A prompt that
// comes with the queue empty fails the test: the test did not expect it. The print dialog is
// answered from a queue of its own with the path of a PDF file to print to; a print preview is
// recorded and, when a path is set, drawn into that PDF file, never shown.
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
  // The next print dialog prints to the PDF file at path; an empty path cancels it.
  void AnswerPrinter(std::string pdfPath) { m_printerAnswers.push_back(std::move(pdfPath)); }
  std::size_t UnusedAnswers() const { return m_answers.size(); }

  void Message(const std::string& text, const std::string& title,
               modKestralMGA::MessageIcon icon) override {
    Messages.push_back({text, title, icon});
    if (OnMessage) OnMessage();
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

  bool ChoosePrinter(const std::string& title, QPrinter& printer) override {
    PrinterPrompts.push_back(title);
    if (m_printerAnswers.empty()) {
      ADD_FAILURE() << "The print dialog \"" << title << "\" came with no answer queued";
      return false;
    }
    const std::string path = std::move(m_printerAnswers.front());
    m_printerAnswers.pop_front();
    if (path.empty()) return false;
    ToPdf(printer, path);
    return true;
  }
  void ShowPrintPreview(const std::string& title,
                        const std::function<void(QPrinter&)>& paint) override {
    Previews.push_back(title);
    if (PreviewPdf.empty()) return;
    QPrinter printer(QPrinter::HighResolution);
    ToPdf(printer, PreviewPdf);
    paint(printer);
  }

  std::vector<struct Message> Messages;
  std::vector<Prompt> Prompts;
  std::vector<std::string> PrinterPrompts;  // the titles of the print dialogs shown
  std::vector<std::string> Previews;        // the titles of the previews shown
  std::string PreviewPdf;                   // where a preview draws its pages, when set
  // Runs at each message, as the message box would show: the windows as the user sees them then.
  std::function<void()> OnMessage;

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

  static void ToPdf(QPrinter& printer, const std::string& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
  }

  std::deque<std::string> m_answers;
  std::deque<std::string> m_printerAnswers;
};

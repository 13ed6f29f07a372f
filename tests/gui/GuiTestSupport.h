#pragma once

// The window tests' support: a dialogs double that records messages and prompts and answers them
// from queues, and a fresh main window per test with a temporary folder.
#include <gtest/gtest.h>

#include <QtPrintSupport/QPrinter>
#include <QtTest>
#include <QtWidgets>
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "MarkDetailsLines.h"
#include "PdfText.h"
#include "TempFolder.h"
#include "app/Dialogs.h"
#include "app/frmKestralMGA.h"
#include "joins/frmMGAJoins.h"
#include "reports/ui/frmMGADisplay.h"

using modKestralMGA::MessageIcon;
using Lines = std::vector<std::string>;

// Records every dialog shown as a line of Log ("message Title (E): text", "open Title | initial
// name | filter", "save ... | confirm", "printer Title", "preview Title") and answers the file
// prompts from a queue (an empty answer cancels; a prompt with the queue empty fails the test).
// The print dialog prints to the PDF file queued for it ("" cancels); a preview draws into
// PreviewPdf when set, never shown.
class ScriptedDialogs final : public Dialogs {
 public:
  void Answer(std::string path) { m_answers.push_back(std::move(path)); }
  void AnswerPrinter(std::string pdfPath) { m_printerAnswers.push_back(std::move(pdfPath)); }
  bool AllAnswered() const { return m_answers.empty() && m_printerAnswers.empty(); }

  void Message(const std::string& text, const std::string& title, MessageIcon icon) override {
    Log.push_back("message " + title + " (" + "CEI"[int(icon)] + "): " + text);
    if (OnMessage) OnMessage();
  }
  std::string OpenFileName(const std::string& title, const std::string& initialName,
                           const std::string& filter) override {
    Log.push_back("open " + title + " | " + initialName + " | " + filter);
    return Next(m_answers, title);
  }
  std::string SaveFileName(const std::string& title, const std::string& initialName,
                           const std::string& filter, bool confirmReplace) override {
    Log.push_back("save " + title + " | " + initialName + " | " + filter +
                  (confirmReplace ? " | confirm" : ""));
    return Next(m_answers, title);
  }
  bool ChoosePrinter(const std::string& title, QPrinter& printer) override {
    Log.push_back("printer " + title);
    const std::string path = Next(m_printerAnswers, title);
    if (!path.empty()) ToPdf(printer, path);
    return !path.empty();
  }
  void ShowPrintPreview(const std::string& title,
                        const std::function<void(QPrinter&)>& paint) override {
    Log.push_back("preview " + title);
    if (PreviewPdf.empty()) return;
    QPrinter printer(QPrinter::HighResolution);
    ToPdf(printer, PreviewPdf);
    paint(printer);
  }

  Lines Log;
  std::string PreviewPdf;
  std::function<void()> OnMessage;  // runs as each message box would show

 private:
  static std::string Next(std::deque<std::string>& answers, const std::string& title) {
    if (answers.empty()) {
      ADD_FAILURE() << "The dialog \"" << title << "\" came with no answer queued";
      return {};
    }
    std::string answer = std::move(answers.front());
    answers.pop_front();
    return answer;
  }
  static void ToPdf(QPrinter& printer, const std::string& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
  }
  std::deque<std::string> m_answers, m_printerAnswers;
};

using modKestralMGA::testsupport::ReadBytes;

// A fresh main window per test, shown (never exec()'d), with its own scripted dialogs and a
// temporary folder for the files it reads and writes.
class MainWindowTest : public ::testing::Test {
 protected:
  // Builds the window, runs its start-up with commandLine and shows it. Qt's model tester checks
  // every model of its views (and of the results and join windows) at each change.
  frmKestralMGA& Start(const std::string& commandLine = {}) {
    m_testers.clear();
    m_window = std::make_unique<frmKestralMGA>(m_dialogs);
    for (QWidget* window :
         std::initializer_list<QWidget*>{m_window.get(), &Results(), &m_window->JoinsWindow()}) {
      for (auto* view : window->findChildren<QAbstractItemView*>()) {
        m_testers.push_back(std::make_unique<QAbstractItemModelTester>(
            view->model(), QAbstractItemModelTester::FailureReportingMode::Fatal));
      }
    }
    m_window->Form_Load(commandLine);
    m_window->show();
    m_window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    return *m_window;
  }

  // Writes lines, each ended by CR LF, to a file of the temporary folder; returns its path.
  std::string WriteFile(const std::string& name, const Lines& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return m_folder.Write(name, bytes);
  }

  QTableView* Grid() { return m_window->findChild<QTableView*>(QStringLiteral("Grid1")); }
  // Clicks a cell, then double-clicks it when twice.
  void ClickCell(int gridRow, int column, bool twice = false) {
    const QRect cell = Grid()->visualRect(Grid()->model()->index(gridRow - 1, column));
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
    if (twice) QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
  }

  // Types text into whichever control has the focus, a key at a time, as the user would (Qt's
  // key code of a letter is the capital letter's code).
  void Type(const QString& text) {
    for (const QChar c : text) {
      QTest::sendKeyEvent(QTest::Click, m_window->focusWidget(),
                          static_cast<Qt::Key>(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
  }
  void Press(Qt::Key key) { QTest::keyClick(m_window->focusWidget(), key); }

  frmMGADisplay& Results() { return m_window->ResultsWindow(); }

  ScriptedDialogs m_dialogs;
  modKestralMGA::testsupport::TempFolder m_folder;
  std::unique_ptr<frmKestralMGA> m_window;
  std::vector<std::unique_ptr<QAbstractItemModelTester>> m_testers;
};

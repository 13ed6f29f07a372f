#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedDialogs.h"
#include "app/frmKestralMGA.h"

// One line of a Mark Details file: 43 fields, with the nine the program reads at their places
// (sheet 1, number 2, zone 6, east 7, north 8, order 12, datum 14, height 22, status 33).
inline std::string MarkDetailsLine(const std::string& sheet, const std::string& number,
                                   const std::string& east, const std::string& north,
                                   const std::string& height = "", const std::string& order = "",
                                   const std::string& zone = "54",
                                   const std::string& datum = "GDA2020",
                                   const std::string& status = "OK") {
  std::vector<std::string> fields(43);
  fields[0] = sheet;
  fields[1] = number;
  fields[5] = zone;
  fields[6] = east;
  fields[7] = north;
  fields[11] = order;
  fields[13] = datum;
  fields[21] = height;
  fields[32] = status;
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += ',';
    line += fields[i];
  }
  return line;
}

// The title line of a Mark Details listing: its first field begins with "Map".
inline std::string MarkDetailsTitleLine() {
  std::string line = "Map Sheet,Number";
  for (int i = 2; i < 43; ++i) line += ",Field" + std::to_string(i + 1);
  return line;
}

// A fresh main window per test, shown (never exec()'d), with its own scripted dialogs and a
// temporary folder for the files it reads and writes.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }

  // Builds the window, runs its start-up with commandLine and shows it.
  frmKestralMGA& Start(const std::string& commandLine = {}) {
    m_window = std::make_unique<frmKestralMGA>(m_dialogs);
    m_window->Form_Load(commandLine);
    m_window->show();
    m_window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    return *m_window;
  }

  // Writes lines, each ended by CR LF, to a file of the temporary folder; returns its path.
  std::string WriteFile(const std::string& name, const std::vector<std::string>& lines) {
    const QString path = m_folder.filePath(QString::fromStdString(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    for (const std::string& line : lines) file.write((line + "\r\n").c_str());
    return QFile::encodeName(path).toStdString();
  }

  std::string PathIn(const std::string& name) const {
    return QFile::encodeName(m_folder.filePath(QString::fromStdString(name))).toStdString();
  }

  // The control of that name in window (the main window or one of the windows it created).
  template <typename Widget>
  static Widget* FindIn(const QObject& window, const char* name) {
    auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  template <typename Widget>
  Widget* Find(const char* name) {
    return FindIn<Widget>(*m_window, name);
  }

  QTableView* Grid() { return Find<QTableView>("Grid1"); }
  QLineEdit* Editor() { return Find<QLineEdit>("Text1"); }

  // The text of a cell of the grid (grid rows: row 1 is the first mark).
  std::string Cell(int gridRow, int column) {
    return m_window->Marks().Cell(std::size_t(gridRow - 1), column);
  }

  // The rows of the grid as PSM numbers, first mark first.
  std::vector<std::string> PsmNumbers() {
    std::vector<std::string> numbers;
    for (const auto& row : m_window->Marks().Rows()) numbers.push_back(row[0]);
    return numbers;
  }

  void ClickCell(int gridRow, int column) {
    const QRect cell = Grid()->visualRect(Grid()->model()->index(gridRow - 1, column));
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
  }

  void DoubleClickCell(int gridRow, int column) {
    const QRect cell = Grid()->visualRect(Grid()->model()->index(gridRow - 1, column));
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
  }

  // Types text into whichever control has the focus, a key at a time, as the user would.
  void Type(const QString& text) {
    for (const QChar c : text) {
      if (c.unicode() < 0x80) {
        QTest::keyClicks(m_window->focusWidget(), QString(c));
      } else {  // Latin-1 letters: Qt's key code is the capital letter's code
        QTest::sendKeyEvent(QTest::Click, m_window->focusWidget(),
                            static_cast<Qt::Key>(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
      }
    }
  }
  void Press(Qt::Key key) { QTest::keyClick(m_window->focusWidget(), key); }

  // Types text into the current cell and presses Enter.
  void TypeAndEnter(const QString& text) {
    Type(text);
    Press(Qt::Key_Return);
  }

  std::pair<int, int> CurrentCell() {
    return {m_window->CurrentGridRow(), m_window->CurrentColumn()};
  }

  ScriptedDialogs m_dialogs;
  QTemporaryDir m_folder;
  std::unique_ptr<frmKestralMGA> m_window;
};

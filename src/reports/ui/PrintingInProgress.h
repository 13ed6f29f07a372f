#pragma once

#include <QPushButton>
#include <QWidget>

// The hourglass over a window and its Print button disabled while a report is composed; both
// undone when the report ends, however it ends.
class PrintingInProgress {
 public:
  PrintingInProgress(QWidget& window, QPushButton& print) : m_window(window), m_print(print) {
    m_window.setCursor(Qt::WaitCursor);
    m_print.setEnabled(false);
  }
  PrintingInProgress(const PrintingInProgress&) = delete;
  PrintingInProgress& operator=(const PrintingInProgress&) = delete;
  ~PrintingInProgress() {
    m_print.setEnabled(true);
    m_window.unsetCursor();
  }

 private:
  QWidget& m_window;
  QPushButton& m_print;
};

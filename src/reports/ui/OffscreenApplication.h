#pragma once

#include <QCoreApplication>
#include <QGuiApplication>
#include <array>
#include <memory>
#include <string>

#include "common/Seams.h"

namespace modKestralMGA {

// A Qt application on the offscreen platform for as long as it lives, when the program has
// none: fonts and painting need one, and the batch program has no display. While it lives,
// Qt's diagnostics (a missing runtime folder, font fallbacks) are dropped: the batch program's
// standard error carries only "<title>: <text>" lines.
class OffscreenApplication {
 public:
  OffscreenApplication() {
    if (QCoreApplication::instance() == nullptr) {
      m_previousHandler = qInstallMessageHandler(DropQtMessage);
      m_application = std::make_unique<QGuiApplication>(m_argc, m_argv.data());
    }
  }
  OffscreenApplication(const OffscreenApplication&) = delete;
  OffscreenApplication& operator=(const OffscreenApplication&) = delete;
  ~OffscreenApplication() {
    if (m_application) {
      m_application.reset();
      qInstallMessageHandler(m_previousHandler);
    }
  }

  // Whether painting can start: a graphical application runs and the report font is registered
  // in it. Otherwise shows "Cannot write <name>: <reason>" under title (exclamation).
  bool CanPaint(const std::string& name, const std::string& title, MessageSink& sink) const;

 private:
  static void DropQtMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

  std::array<char, 15> m_name{"kestralmga-cli"};
  std::array<char, 10> m_option{"-platform"};
  std::array<char, 10> m_platform{"offscreen"};
  std::array<char*, 4> m_argv{m_name.data(), m_option.data(), m_platform.data(), nullptr};
  int m_argc = 3;
  QtMessageHandler m_previousHandler = nullptr;
  std::unique_ptr<QGuiApplication> m_application;
};

// Shows "Cannot write <name>: <reason>" under title (exclamation).
void CannotWrite(const std::string& name, const QString& reason, const std::string& title,
                 MessageSink& sink);

}  // namespace modKestralMGA

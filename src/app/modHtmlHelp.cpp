#include "app/modHtmlHelp.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

namespace {

constexpr const char* kHelpFileName = "KestralMGA.html";
constexpr const char* kNotFound = "Help file not found: ";

// The help window: the pages in a text browser under a toolbar of Back, Forward and Home.
class HelpWindow final : public QMainWindow {
 public:
  HelpWindow() {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("KestralMGA Help"));

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtHelp"));
    m_browser->setOpenExternalLinks(true);  // web links go to the system's browser
    m_browser->document()->setDocumentMargin(12);
    setCentralWidget(m_browser);

    auto* toolbar = addToolBar(QStringLiteral("Navigation"));
    toolbar->setObjectName(QStringLiteral("tbrHelp"));
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto* back = AddAction(*toolbar, "cmdBack", "Back", QStyle::SP_ArrowBack, QKeySequence::Back);
    auto* forward = AddAction(*toolbar, "cmdForward", "Forward", QStyle::SP_ArrowForward,
                              QKeySequence::Forward);
    auto* home = AddAction(*toolbar, "cmdHome", "Home", QStyle::SP_DirHomeIcon,
                           QKeySequence(Qt::ALT | Qt::Key_Home));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(home, &QAction::triggered, this, [this] {
      if (m_home.isValid()) m_browser->setSource(m_home);
    });
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    // Wide enough for the book's pictures of the main window: about 125 characters by 40 lines
    // of the window's font, within the screen.
    const QFontMetrics metrics(font());
    QSize size(metrics.averageCharWidth() * 125, metrics.lineSpacing() * 40);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    }
    resize(size);
  }

  // Shows the default page of the book, or says that the book is missing. The history starts
  // afresh, so Home is this page.
  void ShowDefaultPage(const QString& helpFile) {
    m_browser->clearHistory();
    const QFileInfo file(helpFile);
    if (file.isFile()) {
      m_home = QUrl::fromLocalFile(file.absoluteFilePath());
      m_browser->setSource(m_home);
    } else {
      m_home.clear();
      m_browser->setHtml(QStringLiteral("<p>") +
                         (QLatin1String(kNotFound) + helpFile).toHtmlEscaped() +
                         QStringLiteral("</p>"));
    }
  }

 private:
  QAction* AddAction(QToolBar& toolbar, const char* name, const char* caption,
                     QStyle::StandardPixmap picture, const QKeySequence& shortcut) {
    auto* action = toolbar.addAction(style()->standardIcon(picture), QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
  }

  QTextBrowser* m_browser = nullptr;
  QUrl m_home;  // the default page shown last
};

// Kept as a child of the window that opened the help: finds its help window again, and takes the
// help window with it when that window goes. The help window itself has no parent, so that it is
// a window of its own beside the program's windows, not one kept above them.
class HelpWindowOwner final : public QObject {
 public:
  explicit HelpWindowOwner(QWidget& caller) : QObject(&caller) {
    setObjectName(QStringLiteral("HelpWindowOwner"));
  }
  HelpWindow& Window() { return m_window; }

 private:
  HelpWindow m_window;
};

HelpWindowOwner* OwnerOf(const QWidget& caller) {
  return caller.findChild<HelpWindowOwner*>(QStringLiteral("HelpWindowOwner"),
                                            Qt::FindDirectChildrenOnly);
}

}  // namespace

namespace modHtmlHelp {

QString HelpFilePath() {
  // On Linux the application's path comes from /proc/self/exe, already free of links;
  // canonicalPath() also resolves a path that came from the command's name.
  const QFileInfo program(QCoreApplication::applicationFilePath());
  QString folder = program.canonicalPath();
  if (folder.isEmpty()) folder = QCoreApplication::applicationDirPath();
  return folder + u'/' + QLatin1String(kHelpFileName);
}

void ShowHelp(QWidget& caller, const QString& helpFile) {
  HelpWindowOwner* owner = OwnerOf(caller);
  if (owner == nullptr) owner = new HelpWindowOwner(caller);
  HelpWindow& window = owner->Window();
  window.ShowDefaultPage(helpFile);
  window.show();
  window.raise();
  window.activateWindow();
}

void CloseHelp(QWidget& caller, const QString& /*helpFile: every book's window closes*/) {
  delete OwnerOf(caller);
}

QWidget* HelpWindowOf(const QWidget& caller) {
  HelpWindowOwner* owner = OwnerOf(caller);
  return owner == nullptr ? nullptr : &owner->Window();
}

}  // namespace modHtmlHelp

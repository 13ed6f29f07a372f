// The Help menu: Contents opens the help window beside the main window on the book's default
// page, Exit closes it, a missing book is named on the help window's page without a message box,
// and About shows its five lines.
#include <QAction>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>

#include "GuiTestSupport.h"
#include "app/modHtmlHelp.h"

using modKestralMGA::MessageIcon;

namespace {

class HelpTest : public MainWindowTest {
 protected:
  // A book of two pages in the temporary folder: the default page links to the second.
  QString WriteBook() {
    WriteFile("second.html", {"<html><body><h1>Second page</h1></body></html>"});
    return QFile::decodeName(
        WriteFile("KestralMGA.html",
                  {"<html><body><h1>Contents page</h1><a href=\"second.html\">Next</a>"
                   "</body></html>"})
            .c_str());
  }

  QWidget* HelpWindow() { return modHtmlHelp::HelpWindowOf(*m_window); }
  QTextBrowser* Browser() { return FindIn<QTextBrowser>(*HelpWindow(), "txtHelp"); }
  QString Heading() { return Browser()->toPlainText().section(u'\n', 0, 0).trimmed(); }
  void Trigger(const char* action) { FindIn<QAction>(*HelpWindow(), action)->trigger(); }
};

TEST_F(HelpTest, HelpOpensBesideTheMainWindowOnTheDefaultPageAndExitClosesIt) {
  Start();
  const QString book = WriteBook();
  modHtmlHelp::ShowHelp(*m_window, book);
  QPointer<QWidget> help = HelpWindow();
  ASSERT_NE(help, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
  EXPECT_FALSE(help->isModal());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(Heading(), "Contents page");

  // The link, then Back, Forward and Home.
  Browser()->setSource(QUrl(QStringLiteral("second.html")));
  EXPECT_EQ(Heading(), "Second page");
  Trigger("cmdBack");
  EXPECT_EQ(Heading(), "Contents page");
  Trigger("cmdForward");
  EXPECT_EQ(Heading(), "Second page");
  Trigger("cmdHome");
  EXPECT_EQ(Heading(), "Contents page");

  // The main window takes commands while the help is shown.
  Browser()->setSource(QUrl(QStringLiteral("second.html")));
  QTest::mouseClick(Find<QPushButton>("cmdAdd"), Qt::LeftButton);
  EXPECT_EQ(m_window->GridRows(), 2);

  // Closed by the user and shown again: the same window, back on the default page.
  help->close();
  modHtmlHelp::ShowHelp(*m_window, book);
  EXPECT_EQ(HelpWindow(), help.data());
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(Heading(), "Contents page");

  m_window->mnuExit_Click();
  EXPECT_TRUE(help.isNull());
  EXPECT_EQ(HelpWindow(), nullptr);
  EXPECT_TRUE(m_dialogs.Messages.empty());
}

TEST_F(HelpTest, ContentsWithoutTheBookNamesItsPathOnThePageAndShowsNoMessage) {
  Start();
  const QString path = modHtmlHelp::HelpFilePath();
  ASSERT_FALSE(QFileInfo::exists(path)) << "the tests' folder holds no help book";
  Find<QAction>("mnuHelpContents")->trigger();
  ASSERT_NE(HelpWindow(), nullptr);
  EXPECT_TRUE(HelpWindow()->isVisible());
  EXPECT_EQ(Browser()->toPlainText(), QStringLiteral("Help file not found: ") + path);
  EXPECT_TRUE(m_dialogs.Messages.empty());
  EXPECT_TRUE(m_window->isEnabled());
}

TEST_F(HelpTest, AboutShowsFiveLinesWithTheVersion) {
  Start();
  Find<QAction>("mnuHelpAbout")->trigger();
  ASSERT_EQ(m_dialogs.Messages.size(), 1U);
  EXPECT_EQ(m_dialogs.Messages[0].Text,
            "KestralMGA developed by Saltbush Survey Software\n"
            "Version 2.00  June 2019\n"
            "\n"
            "KestralMGA is the property of Kestral Survey Systems Pty Ltd.\n"
            "It is licensed to surveyors for checking survey plans against MGA.");
  EXPECT_EQ(m_dialogs.Messages[0].Title, "About KestralMGA");
  EXPECT_EQ(m_dialogs.Messages[0].Icon, MessageIcon::Information);
}

}  // namespace

// The Help menu: Contents opens the help window beside the main window on the book's default
// page, Exit closes it, a missing book is named on the help window's page without a message box.

#include "GuiTestSupport.h"
#include "app/modHtmlHelp.h"

TEST_F(MainWindowTest, HelpOpensBesideTheMainWindowOnTheDefaultPageAndExitClosesIt) {
  Start();
  // A book of two pages: the default page links to the second.
  WriteFile("second.html", {"<html><body><h1>Second page</h1></body></html>"});
  const QString book = QFile::decodeName(
      WriteFile(
          "KestralMGA.html",
          {"<html><body><h1>Contents page</h1><a href=\"second.html\">Next</a></body></html>"})
          .c_str());
  modHtmlHelp::ShowHelp(*m_window, book);
  QPointer<QWidget> help = modHtmlHelp::HelpWindowOf(*m_window);
  ASSERT_NE(help, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
  EXPECT_FALSE(help->isModal());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  auto* browser = FindIn<QTextBrowser>(*help, "txtHelp");
  auto heading = [&] { return browser->toPlainText().section(u'\n', 0, 0).trimmed(); };
  EXPECT_EQ(heading(), "Contents page");
  // The link, then Back, Forward and Home.
  browser->setSource(QUrl(QStringLiteral("second.html")));
  const std::pair<const char*, const char*> steps[] = {
      {"cmdBack", "Contents page"}, {"cmdForward", "Second page"}, {"cmdHome", "Contents page"}};
  for (const auto& [action, page] : steps) {
    FindIn<QAction>(*help, action)->trigger();
    EXPECT_EQ(heading(), page) << action;
  }
  // The main window takes commands while the help is shown.
  browser->setSource(QUrl(QStringLiteral("second.html")));
  Click("cmdAdd");
  EXPECT_EQ(m_window->GridRows(), 2);
  // Closed by the user and shown again: the same window, back on the default page.
  help->close();
  modHtmlHelp::ShowHelp(*m_window, book);
  EXPECT_EQ(modHtmlHelp::HelpWindowOf(*m_window), help.data());
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(heading(), "Contents page");
  m_window->mnuExit_Click();
  EXPECT_TRUE(help.isNull());
  EXPECT_EQ(modHtmlHelp::HelpWindowOf(*m_window), nullptr);
  EXPECT_TRUE(m_dialogs.Log.empty());
}

TEST_F(MainWindowTest, ContentsWithoutTheBookNamesItsPath) {
  Start();
  const QString path = modHtmlHelp::HelpFilePath();
  ASSERT_FALSE(QFileInfo::exists(path)) << "the tests' folder holds no help book";
  Trigger("mnuHelpContents");
  QWidget* help = modHtmlHelp::HelpWindowOf(*m_window);
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(FindIn<QTextBrowser>(*help, "txtHelp")->toPlainText(), "Help file not found: " + path);
  EXPECT_TRUE(m_dialogs.Log.empty());
  EXPECT_TRUE(m_window->isEnabled());
}

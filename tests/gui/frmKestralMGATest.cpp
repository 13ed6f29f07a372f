// The main window beyond its scenarios (tests/data/gui/main.scn): its controls and columns, the
// cell editor's place, scrolling to new rows.

#include "GuiTestSupport.h"

TEST_F(MainWindowTest, GridColumnsFitTheirSampleTexts) {
  Start();
  ExpectColumns(*Grid(),
                {"xxxxxxxxxxxxxxxx", "xxxxxxxxxxxxxxxxx", "xxxxxxxxxxxxxxxxxx", "xxxxxxxxxxxxxxxx",
                 "  order  ", "   zone   ", "  datum    ", "   status      "});
}

TEST_F(MainWindowTest, EditorLiesExactlyOverTheCurrentCellAndIsYellowWithoutFrame) {
  Start(WriteFile(
      "two.dmp", {MarkTestLine("6628", "1001", "1", "2"), MarkTestLine("6628", "1002", "3", "4")}));
  ClickCell(2, 3);
  Type("7");
  QLineEdit* editor = FindIn<QLineEdit>(*m_window, "Text1");
  EXPECT_EQ(editor->text(), QStringLiteral("7"));
  EXPECT_TRUE(editor->hasFocus());
  const QRect cell = Grid()->visualRect(Grid()->model()->index(1, 3));
  EXPECT_EQ(editor->mapToGlobal(QPoint(0, 0)), Grid()->viewport()->mapToGlobal(cell.topLeft()));
  EXPECT_EQ(editor->size(), cell.size());
  EXPECT_EQ(editor->palette().color(QPalette::Base), QColor(Qt::yellow));
  EXPECT_FALSE(editor->hasFrame());
}

TEST_F(MainWindowTest, NewRowsAreScrolledIntoView) {
  Lines lines;
  for (int i = 1; i <= 60; ++i)
    lines.push_back(MarkTestLine("6628", std::to_string(1000 + i), "1", "2"));
  Start(WriteFile("sixty.dmp", lines));
  auto visible = [&](int gridRow) {
    return Grid()->viewport()->rect().contains(
        Grid()->visualRect(Grid()->model()->index(gridRow - 1, 0)));
  };
  Grid()->scrollToBottom();
  ClickCell(60, 7);
  Type("ok");
  Press(Qt::Key_Return);  // Enter at the end of the last row
  EXPECT_EQ(m_window->CurrentGridRow(), 61);
  EXPECT_TRUE(visible(61));
  // Add Line brings the new row to the top where the grid can scroll that far, else to its end.
  QTest::mouseClick(FindIn<QAbstractButton>(*m_window, "cmdAdd"), Qt::LeftButton);
  EXPECT_EQ(m_window->CurrentGridRow(), 62);
  QScrollBar* rows = Grid()->verticalScrollBar();
  EXPECT_GT(rows->maximum(), 0);
  EXPECT_EQ(rows->value(), rows->maximum());
  EXPECT_TRUE(visible(62));
}

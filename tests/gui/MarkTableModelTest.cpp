// The mark grid's model over the core mark list, checked by Qt's model tester through every
// operation the window uses.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "marks/ui/MarkTableModel.h"

using modKestralMGA::MarkList;

TEST(MarkTableModel, KeepsQtsModelRulesThroughEveryOperation) {
  MarkList list;
  list.AppendRow({"6628/1001"});
  MarkTableModel model(list);
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
  model.AppendRow();
  model.InsertRow(0);
  model.SetCell(0, 0, "6628/1000");
  model.SetCell(2, 6, "\x80 \xE9");  // euro sign, blank, e acute
  ASSERT_EQ(model.rowCount(), 3);
  EXPECT_EQ(list.Cell(1, 0), "6628/1001");
  EXPECT_EQ(model.index(0, 0).data(Qt::EditRole).toString(), "6628/1000");
  EXPECT_EQ(model.index(2, 6).data().toString(), QStringLiteral("\u20ac \u00e9"));
  // The view hears of each changed cell.
  ASSERT_EQ(changes.count(), 2);
  EXPECT_EQ(changes[1][0].toModelIndex(), model.index(2, 6));
  EXPECT_EQ(changes[1][1].toModelIndex(), model.index(2, 6));
  // The window edits through its own editor: the view's editors never open.
  EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
  model.RemoveRow(1);
  EXPECT_EQ(model.rowCount(), 2);
  model.Reset([](MarkList& l) {
    l.Clear();
    for (int i = 0; i < 5; ++i) l.AppendRow();
  });
  EXPECT_EQ(model.rowCount(), 5);
  EXPECT_EQ(model.columnCount(), 8);
  EXPECT_EQ(model.columnCount(model.index(0, 0)), 0);
}

TEST(MarkTableModel, ResetEndsEvenWhenTheChangeThrows) {
  MarkList list;
  MarkTableModel model(list);
  QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
  EXPECT_THROW(model.Reset([](MarkList& l) {
    l.AppendRow();
    throw std::runtime_error("read failed");
  }),
               std::runtime_error);
  EXPECT_EQ(resets.count(), 1);
  EXPECT_EQ(model.rowCount(), 1);
}

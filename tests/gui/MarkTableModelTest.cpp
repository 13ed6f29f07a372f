// The mark grid's model over the core mark list, checked by Qt's model tester through every
// operation the window uses.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "marks/ui/MarkTableModel.h"

using modKestralMGA::MarkList;
using modKestralMGA::MarkRow;

namespace {

MarkRow Mark(const char* psmNumber) {
  MarkRow row;
  row[0] = psmNumber;
  return row;
}

}  // namespace

TEST(MarkTableModel, KeepsQtsModelRulesThroughEveryOperation) {
  MarkList list;
  list.AppendRow(Mark("6628/1001"));
  MarkTableModel model(list);
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

  model.AppendRow();
  model.InsertRow(0);
  model.SetCell(0, 0, "6628/1000");
  model.SetCell(2, 7, "FOUND");
  ASSERT_EQ(model.rowCount(), 3);
  EXPECT_EQ(list.Cell(0, 0), "6628/1000");
  EXPECT_EQ(list.Cell(1, 0), "6628/1001");
  EXPECT_EQ(model.index(2, 7).data().toString(), "FOUND");
  model.RemoveRow(1);
  EXPECT_EQ(model.rowCount(), 2);
  model.Reset([](MarkList& l) {
    l.Clear();
    for (int i = 0; i < 5; ++i) l.AppendRow();
  });
  EXPECT_EQ(model.rowCount(), 5);
  EXPECT_EQ(model.columnCount(), 8);
  EXPECT_EQ(model.columnCount(model.index(0, 0)), 0);
  EXPECT_EQ(model.rowCount(model.index(0, 0)), 0);
}

TEST(MarkTableModel, ShowsTheTitleRowAndConvertsWindows1252Cells) {
  MarkList list;
  list.AppendRow(Mark("6628/1001"));
  list.SetCell(0, 6, "\x80 \xE9");  // euro sign, blank, e acute
  MarkTableModel model(list);
  const char* titles[] = {"PSM No.", "East", "North", "Height", "Order", "Zone", "Datum", "Status"};
  for (int c = 0; c < 8; ++c) {
    EXPECT_EQ(model.headerData(c, Qt::Horizontal).toString(), QString::fromLatin1(titles[c]));
  }
  EXPECT_EQ(model.index(0, 6).data().toString(), QStringLiteral("\u20ac \u00e9"));
  EXPECT_EQ(model.index(0, 0).data(Qt::EditRole).toString(), "6628/1001");
  // The window edits through its own editor: the view's editors never open.
  EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
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

TEST(MarkTableModel, TellsTheViewOfEachChangedCell) {
  MarkList list;
  list.AppendRow();
  list.AppendRow();
  MarkTableModel model(list);
  QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
  model.SetCell(1, 3, "12.500");
  ASSERT_EQ(changes.count(), 1);
  const auto arguments = changes.takeFirst();
  EXPECT_EQ(arguments[0].toModelIndex(), model.index(1, 3));
  EXPECT_EQ(arguments[1].toModelIndex(), model.index(1, 3));
}

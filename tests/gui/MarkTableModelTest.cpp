// The mark grid's model over the core mark list, beyond what the window tests' model tester sees:
// the view hears of each changed cell, never opens its own editors, and a reset that throws still
// ends.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "marks/ui/MarkTableModel.h"

TEST(MarkTableModel, TellsTheViewOfEachCellAndEndsAResetThatThrows) {
  modKestralMGA::MarkList list;
  list.AppendRow();
  MarkTableModel model(list);
  QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
  QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
  model.SetCell(0, 6, "\x80 \xE9");  // euro sign, blank, e acute
  ASSERT_EQ(changes.count(), 1);
  EXPECT_EQ(changes[0][0].toModelIndex(), model.index(0, 6));
  EXPECT_EQ(changes[0][1].toModelIndex(), model.index(0, 6));
  EXPECT_EQ(model.index(0, 6).data().toString(), QStringLiteral("\u20ac \u00e9"));
  EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
  EXPECT_THROW(model.Load([](modKestralMGA::MarkList& l) {
    l.AppendRow();
    throw std::runtime_error("read failed");
  }),
               std::runtime_error);
  EXPECT_EQ(resets.count(), 1);
  EXPECT_EQ(model.rowCount(), 2);
}

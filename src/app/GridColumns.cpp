#include "app/GridColumns.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>

int SizeGridColumns(QTableView& grid, const QFont& font, const QStringList& samples) {
  const QFontMetrics metrics(font);
  QHeaderView* header = grid.horizontalHeader();
  header->setMinimumSectionSize(1);
  QStyle* style = grid.style();
  const int cellChrome =
      2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1) +
      (grid.showGrid() ? 1 : 0);
  int total = 0;
  for (int column = 0; column < samples.size(); ++column) {
    const int width = metrics.horizontalAdvance(samples[column]) + cellChrome;
    header->resizeSection(column, width);
    total += width;
  }
  grid.verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
  return total + 2 * grid.frameWidth() + style->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
}

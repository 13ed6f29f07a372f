#pragma once

#include <QStringList>

class QFont;
class QTableView;

// Lays out a text grid by sample texts: each column's text area is as wide as its sample in font,
// and the cell adds the margins the style draws its text within and the grid line; a row is the
// font's line height and a few pixels. Returns the width the grid needs to show every column
// beside its vertical scroll bar.
int SizeGridColumns(QTableView& grid, const QFont& font, const QStringList& samples);

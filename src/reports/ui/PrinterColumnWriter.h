#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <functional>
#include <string_view>

#include "common/ColumnWriter.h"

namespace modKestralMGA {

// The printer back end of the column writer: writes lines of fields on a painter that is active
// on a paged device (a printer, a PDF writer, a print preview), in the report font (ReportFont,
// fixed-pitch, 10 points). A column is the advance of one character of that font, the same for
// every character, so that a printed page lines up as the saved text file does; a line is the
// font's line spacing; both in device units.
// A field at column n starts at (n - 1) column widths from the left edge of the printable area,
// on the next line when the current position is already past that point. When a line would not
// fit below the last one, output goes on at the top of a new page (empty lines at the foot of a
// page are not carried over). Texts are the program's Windows-1252 bytes.
class PrinterColumnWriter final : public ColumnWriter {
 public:
  // Pages through device.newPage(); painter must be active on device. Throws KestralError when
  // it is not, or when the report font is not loaded.
  PrinterColumnWriter(QPainter& painter, QPagedPaintDevice& device);
  // Pages through newPage (false: the page could not be started); the page area is that of the
  // painter's device.
  PrinterColumnWriter(QPainter& painter, std::function<bool()> newPage);

  void Field(int column, std::string_view text) override;
  void Text(std::string_view text) override;
  void EndLine() override;

  // The width of a column and the height of a line, in device units.
  qreal ColumnWidth() const { return m_columnWidth; }
  qreal LineHeight() const { return m_lineHeight; }
  // The pages begun so far (1 until a line goes to a new page).
  int Pages() const { return m_pages; }

 private:
  // Draws text at the current position and moves past it, starting a new page first when the
  // line is the first thing drawn on it and does not fit.
  void Draw(std::string_view text);

  QPainter& m_painter;
  std::function<bool()> m_newPage;
  QFont m_font;
  QFontMetricsF m_metrics;
  qreal m_columnWidth = 0.0;
  qreal m_lineHeight = 0.0;
  qreal m_pageHeight = 0.0;
  qreal m_x = 0.0;  // from the left edge of the printable area
  qreal m_y = 0.0;  // top of the current line, from the top of the printable area
  bool m_lineStarted = false;
  int m_pages = 1;
};

}  // namespace modKestralMGA

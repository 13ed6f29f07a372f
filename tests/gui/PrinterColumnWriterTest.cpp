// The printer back end of the column writer: fields at columns of the font's average character
// width, the next line when a column is already passed, lines at the font's line spacing, new
// pages when a page is full.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QPainter>
#include <cstring>
#include <string>
#include <vector>

#include "RecordingPaintDevice.h"
#include "common/Errors.h"
#include "reports/ui/PrinterColumnWriter.h"

namespace modKestralMGA {
namespace {

using testsupport::RecordingPaintDevice;
using Drawn = testsupport::RecordingPaintEngine::DrawnText;

constexpr int kDpi = 720;  // 10 points are 100 device units

// A tall page and a painter on it, with the writer under test.
struct PrintedPage {
  explicit PrintedPage(const QFont& font = ReportFont())
      : device(8000, 100000, kDpi),
        painter(&device),
        writer(
            painter, [this] { return NewPage(); }, font) {}
  bool NewPage() {
    device.Engine().NewPage();
    return true;
  }

  // The width of text in columns.
  double Columns(const QString& text) {
    return QFontMetricsF(painter.font(), &device).horizontalAdvance(text) / writer.ColumnWidth();
  }

  RecordingPaintDevice device;
  QPainter painter;
  PrinterColumnWriter writer;
};

// Texts drawn and the position where each started, in columns and lines.
struct Placed {
  int page;
  double column;  // 1-based
  double line;    // 0-based on its page
  std::string text;
  bool operator==(const Placed&) const = default;
};

std::vector<Placed> Placements(PrintedPage& page) {
  std::vector<Placed> placed;
  const qreal ascent = QFontMetricsF(page.painter.font(), &page.device).ascent();
  for (const Drawn& d : page.device.Engine().Texts()) {
    placed.push_back({d.Page, d.Baseline.x() / page.writer.ColumnWidth() + 1.0,
                      (d.Baseline.y() - ascent) / page.writer.LineHeight(), d.Text.toStdString()});
  }
  return placed;
}

void ExpectPlacements(PrintedPage& page, const std::vector<Placed>& expected) {
  const std::vector<Placed> placed = Placements(page);
  ASSERT_EQ(placed.size(), expected.size());
  for (std::size_t i = 0; i < placed.size(); ++i) {
    EXPECT_EQ(placed[i].text, expected[i].text) << i;
    EXPECT_EQ(placed[i].page, expected[i].page) << placed[i].text;
    EXPECT_NEAR(placed[i].column, expected[i].column, 1e-6) << placed[i].text;
    EXPECT_NEAR(placed[i].line, expected[i].line, 1e-6) << placed[i].text;
  }
}

TEST(PrinterColumnWriter, ColumnIsTheAverageCharacterWidthOfTheTenPointFont) {
  PrintedPage page;
  const QFontMetricsF metrics(page.painter.font(), &page.device);
  EXPECT_DOUBLE_EQ(page.painter.font().pointSizeF(), 10.0);
  EXPECT_DOUBLE_EQ(page.writer.ColumnWidth(), metrics.averageCharWidth());
  EXPECT_DOUBLE_EQ(page.writer.LineHeight(), metrics.lineSpacing());
  // 10 points at 720 dpi: 100 device units of em; a column is some tenths of it.
  EXPECT_GT(page.writer.ColumnWidth(), 40.0);
  EXPECT_LT(page.writer.ColumnWidth(), 80.0);
  // The report font is fixed-pitch: every character is a column wide (to 0.1 %), so the printed
  // page lines up as the text file does.
  for (const char* text : {"0", "W", "i", " ", "66281001 to 66281002"}) {
    EXPECT_NEAR(page.Columns(QString::fromLatin1(text)), static_cast<double>(std::strlen(text)),
                1e-3 * static_cast<double>(std::strlen(text)))
        << text;
  }
}

TEST(PrinterColumnWriter, PlacesFieldsAtColumnsAndTextStraightOn) {
  PrintedPage page;
  auto& out = page.writer;
  out.Field(1, "From");
  out.Field(15, "To");
  out.Field(30, "Bearing");
  out.Field(45, "Distance");
  out.EndLine();
  out.Field(1, "66281001");
  out.Field(15, "66281002");
  out.Field(60, "(KESTRAL)");
  out.EndLine();
  out.EndLine();  // an empty line takes its height
  out.Text("Combined Scale Factor = ");
  out.Text("1.00017809");
  out.EndLine();
  out.Field(0, "a column below 1 counts as 1");
  ExpectPlacements(page, {{1, 1, 0, "From"},
                          {1, 15, 0, "To"},
                          {1, 30, 0, "Bearing"},
                          {1, 45, 0, "Distance"},
                          {1, 1, 1, "66281001"},
                          {1, 15, 1, "66281002"},
                          {1, 60, 1, "(KESTRAL)"},
                          {1, 1, 3, "Combined Scale Factor = "},
                          {1, 1 + page.Columns("Combined Scale Factor = "), 3, "1.00017809"},
                          {1, 1, 4, "a column below 1 counts as 1"}});
}

// The rule in device units: a field goes to the next line only when the position is already
// past its column's start; exactly at it, it stays.
TEST(PrinterColumnWriter, FieldPastItsColumnGoesToTheNextLine) {
  PrintedPage page;
  auto& out = page.writer;
  out.Text("6628/1001 (old)");  // 15 characters: past column 15's start
  out.Field(15, "280000.000");
  out.Field(30, "6130000.000");
  out.EndLine();
  out.Text("6628/100 (old)");  // 14 characters: exactly at column 15's start
  out.Field(15, "281000.000");
  out.EndLine();
  out.Field(10, "");  // an empty field moves the position without drawing
  out.Field(5, "x");
  ExpectPlacements(page, {{1, 1, 0, "6628/1001 (old)"},
                          {1, 15, 1, "280000.000"},
                          {1, 30, 1, "6130000.000"},
                          {1, 1, 2, "6628/100 (old)"},
                          {1, 15, 2, "281000.000"},
                          {1, 5, 4, "x"}});
}

TEST(PrinterColumnWriter, NewPageWhenAPageIsFull) {
  // A page holds ten lines and half of one.
  const int height = static_cast<int>(PrintedPage().writer.LineHeight() * 10.5);
  RecordingPaintDevice device(8000, height, kDpi);
  QPainter painter(&device);
  PrinterColumnWriter out(painter, [&device] {
    device.Engine().NewPage();
    return true;
  });
  for (int line = 1; line <= 12; ++line) {
    out.Field(1, "line " + std::to_string(line));
    out.EndLine();
  }
  // Empty lines at the foot of page 2 are not carried to the top of page 3.
  for (int line = 0; line < 9; ++line) out.EndLine();
  out.Field(3, "after the empty lines");
  out.EndLine();
  out.EndLine();  // ending with empty lines starts no further page
  EXPECT_EQ(out.Pages(), 3);
  EXPECT_EQ(device.Engine().Page(), 3);
  const auto& texts = device.Engine().Texts();
  ASSERT_EQ(texts.size(), 13u);
  const qreal ascent = QFontMetricsF(painter.font(), &device).ascent();
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(texts[i].Page, 1) << i;
    EXPECT_NEAR(texts[i].Baseline.y(), ascent + static_cast<double>(i) * out.LineHeight(), 1e-6);
  }
  EXPECT_EQ(texts[10].Page, 2);
  EXPECT_NEAR(texts[10].Baseline.y(), ascent, 1e-6);
  EXPECT_EQ(texts[12].Text, "after the empty lines");
  EXPECT_EQ(texts[12].Page, 3);
  EXPECT_NEAR(texts[12].Baseline.y(), ascent, 1e-6);
  EXPECT_NEAR(texts[12].Baseline.x(), 2 * out.ColumnWidth(), 1e-6);
}

TEST(PrinterColumnWriter, PageThatCannotBeStartedEndsTheReport) {
  RecordingPaintDevice device(8000, 100, kDpi);  // not even one line fits
  QPainter painter(&device);
  PrinterColumnWriter out(painter, [] { return false; });
  out.Field(1, "first");  // the first line of a page is drawn even when it does not fit
  out.EndLine();
  EXPECT_THROW(out.Field(1, "second"), KestralError);
}

TEST(PrinterColumnWriter, PainterThatIsNotActiveIsRefused) {
  QPainter painter;
  EXPECT_THROW(PrinterColumnWriter(painter, [] { return true; }), KestralError);
}

TEST(PrinterColumnWriter, TextsAreWindows1252Bytes) {
  PrintedPage page;
  page.writer.Field(1,
                    "Stra\xDF"
                    "e 45\xB0");  // sharp s, degree sign
  ASSERT_EQ(page.device.Engine().Texts().size(), 1u);
  EXPECT_EQ(page.device.Engine().Texts()[0].Text, QString::fromUtf8("Straße 45°"));
}

// The rule holds for a proportional font too: wide letters push a field to the next line.
TEST(PrinterColumnWriter, ProportionalFontKeepsTheColumnRule) {
  QFont font(QStringLiteral("DejaVu Sans"));
  PrintedPage page(font);
  auto& out = page.writer;
  out.Field(1, "WWWWWWWWWW");  // ten wide letters reach past column 11
  out.Field(11, "next line");
  out.Field(30, "iiiiiiiiii");  // ten narrow ones do not reach column 40
  out.Field(40, "same line");
  ExpectPlacements(page, {{1, 1, 0, "WWWWWWWWWW"},
                          {1, 11, 1, "next line"},
                          {1, 30, 1, "iiiiiiiiii"},
                          {1, 40, 1, "same line"}});
}

}  // namespace
}  // namespace modKestralMGA

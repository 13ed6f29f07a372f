// The printer back end of the column writer: fields at columns of the report font's character
// advance, the next line when a column is already passed, lines at the font's line spacing, new
// pages when a page is full.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <string>
#include <vector>

#include "common/Errors.h"
#include "reports/ui/PrinterColumnWriter.h"

namespace modKestralMGA {
namespace {

constexpr int kDpi = 720;  // 10 points are 100 device units

// A page of width x height device units that keeps every text drawn on it, with its page and
// the start of its baseline.
class RecordingPage final : public QPaintDevice, public QPaintEngine {
 public:
  struct Drawn {
    int page;
    QPointF baseline;
    std::string text;
  };
  RecordingPage(int width, int height) : QPaintEngine(AllFeatures), m_w(width), m_h(height) {}
  QPaintEngine* paintEngine() const override { return const_cast<RecordingPage*>(this); }
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
  void drawTextItem(const QPointF& at, const QTextItem& item) override {
    texts.push_back({page, at, item.text().toStdString()});
  }
  Type type() const override { return User; }
  int metric(PaintDeviceMetric metric) const override {
    if (metric == PdmWidth) return m_w;
    if (metric == PdmHeight) return m_h;
    if (metric == PdmDevicePixelRatio) return 1;
    if (metric == PdmDevicePixelRatioScaled) return int(devicePixelRatioFScale());
    return kDpi;  // the four resolutions, and what text does not use
  }
  int page = 1;
  std::vector<Drawn> texts;

 private:
  int m_w, m_h;
};

// A tall page and a painter on it, with the writer under test.
struct PrintedPage {
  explicit PrintedPage(int height = 100000)
      : device(8000, height),
        painter(&device),
        writer(painter, [this] { return ++device.page > 0; }) {}
  double Columns(const QString& text) {  // the width of text in columns
    return QFontMetricsF(painter.font(), &device).horizontalAdvance(text) / writer.ColumnWidth();
  }
  // Checks each text drawn: its page, its column (from 1) and its line (from 0) on its page.
  void Expect(const std::vector<std::tuple<int, double, double, std::string>>& expected) {
    const qreal ascent = QFontMetricsF(painter.font(), &device).ascent();
    ASSERT_EQ(device.texts.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const auto& [page, column, line, text] = expected[i];
      const RecordingPage::Drawn& d = device.texts[i];
      EXPECT_EQ(d.text, text) << i;
      EXPECT_EQ(d.page, page) << text;
      EXPECT_NEAR(d.baseline.x() / writer.ColumnWidth() + 1.0, column, 1e-6) << text;
      EXPECT_NEAR((d.baseline.y() - ascent) / writer.LineHeight(), line, 1e-6) << text;
    }
  }
  RecordingPage device;
  QPainter painter;
  PrinterColumnWriter writer;
};

// A column is the character advance of the ten-point report font (the shipped Liberation Mono,
// whatever fonts the machine has), a line its line spacing. Fields at their columns, text
// straight on, an empty line taking its height. In device units a field goes to the next line
// only when the position is already past its column's start; exactly at it, it stays.
TEST(PrinterColumnWriter, PlacesFieldsAtColumnsAndTextStraightOn) {
  PrintedPage page;
  const QFontMetricsF metrics(page.painter.font(), &page.device);
  EXPECT_EQ(QFontInfo(page.painter.font()).family(), "Liberation Mono");
  EXPECT_DOUBLE_EQ(page.writer.LineHeight(), metrics.lineSpacing());
  // Every character is exactly a column wide, so the printed page lines up as the text file
  // does; Courier New's advance, 1229/2048 of the size, to the font engine's rounding.
  EXPECT_NEAR(page.writer.ColumnWidth(), 100.0 * 1229 / 2048, 0.5);
  for (const QString text : {"0", "W", "i", " ", "\u00df", "66281001 to 66281002"}) {
    EXPECT_DOUBLE_EQ(page.Columns(text), double(text.size())) << text.toStdString();
  }
  auto& out = page.writer;
  out.Field(1, "From");
  out.Field(15, "To");
  out.EndLine();
  out.EndLine();
  out.Text("Combined Scale Factor = ");
  out.Text("1.00017809");
  out.Field(60, "(KESTRAL)");
  out.EndLine();
  out.Text("6628/1001 (old)");  // 15 characters: past column 15's start
  out.Field(15, "280000.000");
  out.EndLine();
  out.Text("6628/100 (old)");  // 14 characters: exactly at column 15's start
  out.Field(15, "281000.000");
  out.EndLine();
  out.Field(10, "");  // an empty field moves the position without drawing
  out.Field(5, "x");
  out.EndLine();
  out.Field(0,
            "Stra\xDF"
            "e 45\xB0, column 0 taken as 1");  // Windows-1252: sharp s, degree

  page.Expect({{1, 1, 0, "From"},
               {1, 15, 0, "To"},
               {1, 1, 2, "Combined Scale Factor = "},
               {1, 1 + page.Columns("Combined Scale Factor = "), 2, "1.00017809"},
               {1, 60, 2, "(KESTRAL)"},
               {1, 1, 3, "6628/1001 (old)"},
               {1, 15, 4, "280000.000"},
               {1, 1, 5, "6628/100 (old)"},
               {1, 15, 5, "281000.000"},
               {1, 5, 7, "x"},
               {1, 1, 8, "Straße 45°, column 0 taken as 1"}});
}

TEST(PrinterColumnWriter, NewPageWhenAPageIsFull) {
  // A page holds ten lines and half of one.
  PrintedPage page(int(PrintedPage().writer.LineHeight() * 10.5));
  auto& out = page.writer;
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
  EXPECT_EQ(page.device.page, 3);
  std::vector<std::tuple<int, double, double, std::string>> expected;
  for (int line = 1; line <= 12; ++line) {
    expected.emplace_back(line <= 10 ? 1 : 2, 1, (line - 1) % 10, "line " + std::to_string(line));
  }
  expected.emplace_back(3, 3, 0, "after the empty lines");
  page.Expect(expected);
}

TEST(PrinterColumnWriter, PageThatCannotBeStartedOrAnInactivePainterEndsTheReport) {
  RecordingPage device(8000, 100);  // not even one line fits
  QPainter painter(&device);
  PrinterColumnWriter out(painter, [] { return false; });
  out.Field(1, "first");  // the first line of a page is drawn even when it does not fit
  out.EndLine();
  EXPECT_THROW(out.Field(1, "second"), KestralError);
  QPainter inactive;
  EXPECT_THROW(PrinterColumnWriter(inactive, [] { return true; }), KestralError);
}

}  // namespace
}  // namespace modKestralMGA

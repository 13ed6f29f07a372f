// The join diagram's outputs, each checked for a few facts that do not hang on single pixels: the
// PNG red where the joins not acceptable run and green where the acceptable one does, the SVG a
// well-formed document that keeps the PSM labels as text, and the printed report's last page the
// diagram with its labels and title as text.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QXmlStreamReader>
#include <algorithm>
#include <set>
#include <string>

#include "PdfText.h"
#include "RecordingSink.h"
#include "ReportFixtures.h"
#include "TempFolder.h"
#include "reports/JoinDiagram.h"
#include "reports/ui/DiagramFile.h"
#include "reports/ui/DiagramPainter.h"
#include "reports/ui/PdfReport.h"

namespace modKestralMGA {
namespace {

using testsupport::RecordingSink;

// The colour of most of the pixels within two of at: red, green or another.
std::string ColourNear(const QImage& image, const QPointF& at) {
  int red = 0, green = 0;
  for (int dx = -2; dx <= 2; ++dx) {
    for (int dy = -2; dy <= 2; ++dy) {
      const QColor c = image.pixelColor(int(at.x()) + dx, int(at.y()) + dy);
      red += c.red() > 180 && c.green() < 80 && c.blue() < 80;
      green += c.green() > 120 && c.red() < 80 && c.blue() < 80;
    }
  }
  return red > 2 && red > green ? "red" : green > 2 ? "green" : "other";
}

// The fixture's plan: 6628/1003 lies 0.080 m east of its place, so that its joins with 6628/1001
// and 1002 are not acceptable; 1001 to 1002 is acceptable; 1006 is not placed.
TEST(DiagramOutput, PngSvgAndPrintedPageShowTheJoinsAndTheirLabels) {
  testsupport::ReportData report;
  const JoinDiagram diagram =
      ComposeJoinDiagram(report.plan, report.context, report.settings, "today");
  RecordingSink sink;
  const DiagramPicture picture{800, 600, false};

  std::string png;
  ASSERT_TRUE(RenderDiagramPicture("d.png", DiagramFormat::Png, diagram, picture, png, sink));
  const QImage image = QImage::fromData(QByteArray::fromStdString(png), "PNG");
  ASSERT_EQ(image.size(), QSize(800, 600));
  QImage dryRun(image.size(), QImage::Format_RGB32);
  QPainter painter(&dryRun);
  const DiagramView view = PaintDiagramSheet(painter, QRectF(0, 0, 800, 600), diagram, 600 / 160.0);
  std::string colours;
  for (const DiagramJoin& join : diagram.Joins) {
    const DiagramPoint& a = diagram.Marks[join.From].At;
    const DiagramPoint& b = diagram.Marks[join.To].At;
    if (join.Colour == JoinColour::Grey) continue;
    colours +=
        diagram.Marks[join.From].Label + "-" + diagram.Marks[join.To].Label + " " +
        ColourNear(image, view.Map({0.7 * a.East + 0.3 * b.East, 0.7 * a.North + 0.3 * b.North})) +
        "\n";
  }
  EXPECT_EQ(colours,
            "6628/1001-6628/1002 green\n6628/1001-6628/1003 red\n6628/1002-6628/1003 red\n");

  std::string svg;
  ASSERT_TRUE(RenderDiagramPicture("d.svg", DiagramFormat::Svg, diagram, picture, svg, sink));
  QXmlStreamReader xml(QByteArray::fromStdString(svg));
  // Everything in page coordinates: a group scaled to plan metres would leave its strokes to
  // viewers that honour non-scaling strokes, and some draw them a fraction of a pixel wide.
  std::set<std::string> texts, transforms;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.attributes().hasAttribute(QStringLiteral("transform"))) {
      transforms.insert(
          xml.attributes().value(QStringLiteral("transform")).toString().toStdString());
    }
    if (xml.name() == u"text") texts.insert(xml.readElementText().trimmed().toStdString());
  }
  EXPECT_EQ(transforms, std::set<std::string>{"matrix(1,0,0,1,0,0)"});
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  for (const char* label : {"6628/1001", "6628/1002", "6628/1003", "6628/1004", "6628/1005", "N",
                            "Join diagram of plan C:\\PLANS\\DP1234"}) {
    EXPECT_TRUE(texts.contains(label)) << label;
  }
  EXPECT_FALSE(texts.contains("6628/1006"));

  // The printed report ends with the diagram's page; without the option it has none.
  testsupport::TempFolder folder;
  int pages[2] = {0, 0};
  for (const bool withDiagram : {false, true}) {
    report.settings.m_printDiagram = withDiagram;
    const std::string path = folder / (withDiagram ? "with.pdf" : "without.pdf");
    ASSERT_TRUE(
        PrintJoinsReportToPdf(path, report.plan, report.context, report.settings, "today", sink));
    const auto words = testsupport::ReadPdfWords(KESTRAL_PDFTOTEXT, path);
    pages[withDiagram] = words.back().Page;
    std::set<std::string> last;
    for (const auto& word : words) {
      if (word.Page == pages[withDiagram]) last.insert(word.Text);
    }
    EXPECT_EQ(last.contains("diagram") && last.contains("6628/1003"), withDiagram);
  }
  EXPECT_EQ(pages[1], pages[0] + 1);
  EXPECT_EQ(sink.Count(), 0u);
}

}  // namespace
}  // namespace modKestralMGA

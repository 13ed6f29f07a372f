#include "reports/ui/DiagramPainter.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/Cp1252.h"
#include "common/Errors.h"
#include "common/NumberFormat.h"
#include "reports/ui/ReportFont.h"

namespace modKestralMGA {

namespace {

// Sizes of lettering and symbols, in millimetres.
constexpr double kTextHeight = 2.5;
constexpr double kRowHeight = 4.0;
constexpr double kSymbolRadius = 1.5;
constexpr double kSampleWidth = 8.0;
constexpr double kPad = 1.5;

const QColor kPlanColour(40, 40, 40);
const QColor kArrowColour(0, 70, 200);
const QColor kHighlightColour(255, 190, 0);

QColor ColourOf(JoinColour colour) {
  switch (colour) {
    case JoinColour::Green:
      return {0, 160, 0};
    case JoinColour::Red:
      return {220, 0, 0};
    case JoinColour::Grey:
      break;
  }
  return {150, 150, 150};
}

// The metrics of the painter's font on its device.
QFontMetricsF Metrics(const QPainter& painter) {
  return QFontMetricsF(painter.font(), painter.device());
}

QString Shown(const std::string& bytes) {
  return QString::fromStdString(Cp1252ToUtf8(bytes));
}

// A pen whose width is in device units whatever the painter's transformation, in whole units:
// lines one unit wide take the painter's fast way.
QPen DevicePen(const QColor& colour, double width) {
  QPen pen(colour, std::max(1.0, std::round(width)));
  pen.setCosmetic(true);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

// The report font at height millimetres; the painter's own where the report font is not loaded.
void UseFont(QPainter& painter, double unit, double height = kTextHeight) {
  QFont font = painter.font();
  try {
    font = ReportFont();
  } catch (const KestralError&) {
    // Drawing goes on: the program and the tools that paint register the font at their start.
  }
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(height * unit))));
  painter.setFont(font);
}

// The plan's transformation: plan metres (East, North) to device units.
QTransform PlanTransform(const DiagramView& view) {
  return {view.Scale, 0.0, 0.0, -view.Scale, view.Origin.x(), view.Origin.y()};
}

// Lines in plan metres carried to device units. They are drawn without a painter
// transformation, so that an SVG holds page coordinates and plain stroke widths, which every
// viewer draws alike (not all honour strokes that do not scale with their group).
QVector<QLineF> OnDevice(const QVector<QLineF>& lines, const QTransform& plan) {
  QVector<QLineF> mapped;
  mapped.reserve(lines.size());
  for (const QLineF& line : lines) mapped.append(plan.map(line));
  return mapped;
}

QString Metres(double metres) {
  return QString::fromStdString(FormatNumber(metres, metres >= 1.0 ? "0" : kFormatMetres)) +
         QStringLiteral(" m");
}

QString Factor(double factor) {
  return QString::fromStdString(FormatNumber(factor, factor >= 1.0 ? "0" : kFormatMetres));
}

void PaintPsmSymbol(QPainter& painter, const QPointF& at, double unit, const QColor& colour) {
  const double r = kSymbolRadius * unit;
  painter.setPen(QPen(colour, 0.25 * unit));
  painter.setBrush(Qt::white);
  painter.drawEllipse(at, r, r);
  const double half = r * std::sqrt(3.0) / 2.0;
  painter.setBrush(Qt::NoBrush);
  painter.drawPolygon(
      QPolygonF({QPointF(at.x(), at.y() - r), QPointF(at.x() + half, at.y() + r / 2),
                 QPointF(at.x() - half, at.y() + r / 2)}));
}

void PaintArrow(QPainter& painter, const QPointF& from, const QPointF& to, double unit) {
  painter.drawLine(from, to);
  const QLineF shaft(to, from);
  if (shaft.length() < 0.5 * unit) return;
  const double head = std::min(1.5 * unit, shaft.length() / 2.0);
  for (const double turn : {25.0, -25.0}) {
    QLineF barb = shaft;
    barb.setAngle(shaft.angle() + turn);
    barb.setLength(head);
    painter.drawLine(barb);
  }
}

// Places labels where they cover no label placed before: a grid of cells of the largest label's
// size keeps the rectangles placed in each.
class LabelPlaces {
 public:
  explicit LabelPlaces(const QSizeF& cell) : m_cell(cell) {}
  bool Take(const QRectF& box) {
    const auto [x0, y0] = Cell(box.topLeft());
    const auto [x1, y1] = Cell(box.bottomRight());
    for (long long x = x0; x <= x1; ++x) {
      for (long long y = y0; y <= y1; ++y) {
        for (const QRectF& other : m_taken[Key(x, y)]) {
          if (other.intersects(box)) return false;
        }
      }
    }
    for (long long x = x0; x <= x1; ++x) {
      for (long long y = y0; y <= y1; ++y) m_taken[Key(x, y)].push_back(box);
    }
    return true;
  }

 private:
  std::pair<long long, long long> Cell(const QPointF& at) const {
    return {static_cast<long long>(std::floor(at.x() / m_cell.width())),
            static_cast<long long>(std::floor(at.y() / m_cell.height()))};
  }
  static long long Key(long long x, long long y) { return x * 1000003LL + y; }

  QSizeF m_cell;
  std::unordered_map<long long, std::vector<QRectF>> m_taken;
};

}  // namespace

QRectF LabelledArea(const QRectF& area, double unit) {
  return area.adjusted(4 * unit, 6 * unit, -22 * unit, -4 * unit);
}

DiagramView FitView(const JoinDiagram& diagram, const QRectF& area) {
  const double width = std::max(diagram.High.East - diagram.Low.East, 1e-3);
  const double height = std::max(diagram.High.North - diagram.Low.North, 1e-3);
  const double usable = 0.9;
  DiagramView view;
  view.Scale = std::min(area.width() * usable / width, area.height() * usable / height);
  const QPointF centre = area.center();
  view.Origin = {centre.x() - (diagram.Low.East + width / 2.0) * view.Scale,
                 centre.y() + (diagram.Low.North + height / 2.0) * view.Scale};
  return view;
}

DiagramPainter::DiagramPainter(const JoinDiagram& diagram) : m_diagram(diagram) {
  for (const DiagramLine& line : diagram.Lines) {
    for (std::size_t i = 1; i < line.Path.size(); ++i) {
      m_planLines.append(QLineF(line.Path[i - 1].East, line.Path[i - 1].North, line.Path[i].East,
                                line.Path[i].North));
    }
  }
  for (const DiagramPoint& at : diagram.Points) m_points.append(QPointF(at.East, at.North));
  for (const DiagramJoin& join : diagram.Joins) {
    const DiagramPoint& a = diagram.Marks[join.From].At;
    const DiagramPoint& b = diagram.Marks[join.To].At;
    m_joins[static_cast<int>(join.Colour)].append(QLineF(a.East, a.North, b.East, b.North));
  }
}

void DiagramPainter::PaintPlan(QPainter& painter, const DiagramView& view,
                               const DiagramOptions& options, const QRectF& visible) const {
  PaintJoinLayer(painter, view, options);
  PaintOverJoins(painter, view, options, visible);
}

void DiagramPainter::PaintJoinLayer(QPainter& painter, const DiagramView& view,
                                    const DiagramOptions& options) const {
  if (options.OnlyNotAcceptable) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, options.Antialiased);
  for (const JoinColour colour : {JoinColour::Grey, JoinColour::Green}) {
    painter.setPen(DevicePen(ColourOf(colour), 0.2 * options.Unit));
    painter.drawLines(OnDevice(m_joins[static_cast<int>(colour)], PlanTransform(view)));
  }
  painter.restore();
}

void DiagramPainter::PaintOverJoins(QPainter& painter, const DiagramView& view,
                                    const DiagramOptions& options, const QRectF& visible) const {
  const double unit = options.Unit;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, options.Antialiased);
  painter.setPen(DevicePen(kPlanColour, 0.3 * unit));
  painter.drawLines(OnDevice(m_planLines, PlanTransform(view)));
  // The joins not acceptable over the plan's lines, the chosen join over everything.
  PaintRedJoins(painter, view, options, unit);
  painter.restore();
  PaintPoints(painter, view, visible, unit);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  PaintArrows(painter, view, unit);
  PaintMarks(painter, view, options, visible);
  painter.restore();
}

void DiagramPainter::PaintRedJoins(QPainter& painter, const DiagramView& view,
                                   const DiagramOptions& options, double unit) const {
  // Twice as wide as the other joins: they are what the diagram is for.
  painter.setPen(DevicePen(ColourOf(JoinColour::Red), 0.5 * unit));
  painter.drawLines(OnDevice(m_joins[static_cast<int>(JoinColour::Red)], PlanTransform(view)));
  if (options.Highlighted && *options.Highlighted < m_diagram.Joins.size()) {
    const DiagramJoin& join = m_diagram.Joins[*options.Highlighted];
    const DiagramPoint& a = m_diagram.Marks[join.From].At;
    const DiagramPoint& b = m_diagram.Marks[join.To].At;
    const QLineF line = PlanTransform(view).map(QLineF(a.East, a.North, b.East, b.North));
    painter.setPen(DevicePen(kHighlightColour, 1.6 * unit));
    painter.drawLine(line);
    painter.setPen(DevicePen(ColourOf(join.Colour), 0.6 * unit));
    painter.drawLine(line);
  }
}

void DiagramPainter::PaintPoints(QPainter& painter, const DiagramView& view, const QRectF& visible,
                                 double unit) const {
  // Small squares, filled: as quick as single pixels, for thousands of points.
  const double half = std::max(1.0, std::round(0.4 * unit));
  QVector<QRectF> squares;
  squares.reserve(m_points.size());
  for (const QPointF& at : m_points) {
    const QPointF shown = view.Map({at.x(), at.y()});
    if (visible.contains(shown)) {
      squares.append(QRectF(shown.x() - half, shown.y() - half, 2 * half, 2 * half));
    }
  }
  painter.save();
  painter.setPen(Qt::NoPen);
  painter.setBrush(kPlanColour);
  painter.drawRects(squares);
  painter.restore();
}

void DiagramPainter::PaintArrows(QPainter& painter, const DiagramView& view, double unit) const {
  if (m_diagram.ResidualBar <= 0.0) return;
  for (const DiagramMark& mark : m_diagram.Marks) {
    if (!mark.Residual) continue;
    painter.setPen(QPen(mark.Suspect ? ColourOf(JoinColour::Red) : kArrowColour, 0.35 * unit));
    PaintArrow(painter, view.Map(mark.At), view.Map(ArrowTip(mark, m_diagram.Exaggeration)), unit);
  }
}

void DiagramPainter::PaintMarks(QPainter& painter, const DiagramView& view,
                                const DiagramOptions& options, const QRectF& visible) const {
  const double unit = options.Unit;
  UseFont(painter, unit);
  const QFontMetricsF metrics = Metrics(painter);
  const QRectF shown = visible.adjusted(-20 * unit, -5 * unit, 5 * unit, 5 * unit);
  LabelPlaces places(
      QSizeF(metrics.horizontalAdvance(QStringLiteral("0000/0000")) + unit, metrics.height()));
  for (const DiagramMark& mark : m_diagram.Marks) {
    const QPointF at = view.Map(mark.At);
    if (!shown.contains(at)) continue;
    const QColor colour = mark.Suspect ? ColourOf(JoinColour::Red) : Qt::black;
    PaintPsmSymbol(painter, at, unit, colour);
    const QString label = Shown(mark.Label);
    const QPointF corner(at.x() + 2.0 * unit, at.y() - 2.0 * unit);
    const QRectF box(corner.x(), corner.y() - metrics.ascent(), metrics.horizontalAdvance(label),
                     metrics.height());
    if (!places.Take(box)) continue;
    painter.setPen(colour);
    painter.drawText(corner, label);
  }
}

void DiagramPainter::PaintNorthArrow(QPainter& painter, const QPointF& topRight,
                                     double unit) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  UseFont(painter, unit, 3.5);
  const double width = 5.0 * unit;
  const double x = topRight.x() - width / 2.0;
  const double top = topRight.y() + Metrics(painter).height();
  painter.setPen(QPen(Qt::black, 0.3 * unit));
  painter.drawText(QRectF(x - width, topRight.y(), 2 * width, top - topRight.y()), Qt::AlignCenter,
                   QStringLiteral("N"));
  const QPolygonF left(
      {QPointF(x, top), QPointF(x - width / 2, top + 10 * unit), QPointF(x, top + 7.5 * unit)});
  const QPolygonF right(
      {QPointF(x, top), QPointF(x + width / 2, top + 10 * unit), QPointF(x, top + 7.5 * unit)});
  painter.setBrush(Qt::black);
  painter.drawPolygon(left);
  painter.setBrush(Qt::white);
  painter.drawPolygon(right);
  painter.restore();
}

void DiagramPainter::PaintScaleBars(QPainter& painter, const QPointF& bottomLeft,
                                    const DiagramView& view, double unit) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  UseFont(painter, unit);
  const double lift = Metrics(painter).height() + 2.0 * unit;
  const auto bar = [&](const QPointF& start, double length, const QString& text) {
    const double end = start.x() + length;
    painter.setPen(QPen(Qt::black, 0.3 * unit));
    painter.drawLine(QPointF(start.x(), start.y()), QPointF(end, start.y()));
    for (const double x : {start.x(), (start.x() + end) / 2.0, end}) {
      painter.drawLine(QPointF(x, start.y()), QPointF(x, start.y() - 1.2 * unit));
    }
    painter.drawText(QPointF(start.x(), start.y() - 1.8 * unit), text);
  };
  const double metres = RoundLength(40.0 * unit / view.Scale);
  if (metres > 0.0) bar(bottomLeft, metres * view.Scale, Metres(metres));
  const double residual = m_diagram.ResidualBar;
  const double arrowLength = residual * m_diagram.Exaggeration * view.Scale;
  if (residual > 0.0 && arrowLength > 0.5 * unit) {
    painter.setPen(QPen(kArrowColour, 0.3 * unit));
    bar(QPointF(bottomLeft.x(), bottomLeft.y() - lift), arrowLength,
        Metres(residual) + QStringLiteral(" residual"));
  }
  painter.restore();
}

namespace {

// The rows of the legend: a sample (0 a join's or plan line's colour, 1 PSM, 2 suspect, 3 arrow,
// 4 none) and its text.
struct LegendRow {
  int Sample;
  QColor Colour;
  QString Text;
};

std::vector<LegendRow> LegendRows(const JoinDiagram& diagram) {
  std::vector<LegendRow> rows = {
      {0, ColourOf(JoinColour::Green), QStringLiteral("Join acceptable")},
      {0, ColourOf(JoinColour::Red), QStringLiteral("Join not acceptable")},
      {0, ColourOf(JoinColour::Grey), QStringLiteral("Join not compared")},
      {0, kPlanColour, QStringLiteral("Plan line")},
      {1, Qt::black, QStringLiteral("PSM")}};
  const bool suspects = std::any_of(diagram.Marks.begin(), diagram.Marks.end(),
                                    [](const DiagramMark& mark) { return mark.Suspect; });
  if (suspects) rows.push_back({2, ColourOf(JoinColour::Red), QStringLiteral("Suspect PSM")});
  if (diagram.ResidualBar > 0.0) {
    rows.push_back({3, kArrowColour,
                    QStringLiteral("Residual after the fit (x ") + Factor(diagram.Exaggeration) +
                        QStringLiteral(")")});
  }
  if (!diagram.FitText.empty()) rows.push_back({4, Qt::black, Shown(diagram.FitText)});
  return rows;
}

}  // namespace

QSizeF DiagramPainter::LegendSize(QPainter& painter, double unit) const {
  UseFont(painter, unit);
  double width = 0.0;
  const std::vector<LegendRow> rows = LegendRows(m_diagram);
  for (const LegendRow& row : rows) {
    width = std::max(width, (row.Sample == 4 ? 0.0 : kSampleWidth + kPad) * unit +
                                Metrics(painter).horizontalAdvance(row.Text));
  }
  return {width + 2 * kPad * unit, (double(rows.size()) * kRowHeight + kPad) * unit};
}

void DiagramPainter::PaintLegend(QPainter& painter, const QPointF& topLeft, double unit) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  const QSizeF size = LegendSize(painter, unit);
  painter.setPen(QPen(Qt::black, 0.2 * unit));
  painter.setBrush(QColor(255, 255, 255, 230));
  painter.drawRect(QRectF(topLeft, size));
  double y = topLeft.y() + kPad * unit;
  const double x = topLeft.x() + kPad * unit;
  for (const LegendRow& row : LegendRows(m_diagram)) {
    const double middle = y + kRowHeight * unit / 2.0;
    const QPointF left(x, middle);
    const QPointF right(x + kSampleWidth * unit, middle);
    if (row.Sample == 0) {
      painter.setPen(QPen(row.Colour, 0.5 * unit));
      painter.drawLine(left, right);
    } else if (row.Sample == 1 || row.Sample == 2) {
      PaintPsmSymbol(painter, (left + right) / 2.0, unit, row.Colour);
    } else if (row.Sample == 3) {
      painter.setPen(QPen(row.Colour, 0.35 * unit));
      PaintArrow(painter, left, right, unit);
    }
    painter.setPen(Qt::black);
    const double textX = row.Sample == 4 ? x : x + (kSampleWidth + kPad) * unit;
    painter.drawText(QPointF(textX, middle + Metrics(painter).ascent() / 2.5), row.Text);
    y += kRowHeight * unit;
  }
  painter.restore();
}

QSizeF DiagramPainter::TitleSize(QPainter& painter, double unit) const {
  UseFont(painter, unit);
  double width = 0.0;
  for (const std::string& line : m_diagram.TitleLines) {
    width = std::max(width, Metrics(painter).horizontalAdvance(Shown(line)));
  }
  return {width + 2 * kPad * unit,
          (double(m_diagram.TitleLines.size()) * kRowHeight + kPad) * unit};
}

void DiagramPainter::PaintTitleBlock(QPainter& painter, const QPointF& topLeft, double unit) const {
  painter.save();
  const QSizeF size = TitleSize(painter, unit);
  painter.setPen(QPen(Qt::black, 0.3 * unit));
  painter.setBrush(QColor(255, 255, 255, 230));
  painter.drawRect(QRectF(topLeft, size));
  double y = topLeft.y() + kPad * unit + Metrics(painter).ascent();
  for (const std::string& line : m_diagram.TitleLines) {
    painter.drawText(QPointF(topLeft.x() + kPad * unit, y), Shown(line));
    y += kRowHeight * unit;
  }
  painter.restore();
}

std::optional<std::size_t> DiagramPainter::JoinAt(const DiagramView& view, const QPointF& at,
                                                  double reach, bool onlyNotAcceptable) const {
  std::optional<std::size_t> nearest;
  double best = reach;
  for (std::size_t i = 0; i < m_diagram.Joins.size(); ++i) {
    const DiagramJoin& join = m_diagram.Joins[i];
    if (onlyNotAcceptable && join.Colour != JoinColour::Red) continue;
    const QPointF a = view.Map(m_diagram.Marks[join.From].At);
    const QPointF b = view.Map(m_diagram.Marks[join.To].At);
    const QPointF d = b - a;
    const double length2 = QPointF::dotProduct(d, d);
    const double t =
        length2 > 0.0 ? std::clamp(QPointF::dotProduct(at - a, d) / length2, 0.0, 1.0) : 0.0;
    const QPointF off = a + d * t - at;
    const double distance = std::hypot(off.x(), off.y());
    if (distance <= best) {
      best = distance;
      nearest = i;
    }
  }
  return nearest;
}

DiagramView PaintDiagramSheet(QPainter& painter, const QRectF& rect, const JoinDiagram& diagram,
                              double unit, bool onlyNotAcceptable) {
  const DiagramPainter draw(diagram);
  const QSizeF legend = draw.LegendSize(painter, unit);
  const QSizeF title = draw.TitleSize(painter, unit);
  const double strip = std::max(legend.height(), title.height()) + 2.0 * unit;
  const QRectF area(rect.left(), rect.top(), rect.width(), rect.height() - strip);
  painter.save();
  painter.fillRect(rect, Qt::white);
  painter.setPen(QPen(Qt::black, 0.3 * unit));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(area);
  painter.setClipRect(area);
  const DiagramView view = FitView(diagram, LabelledArea(area, unit));
  draw.PaintPlan(painter, view, {onlyNotAcceptable, std::nullopt, unit, true}, area);
  draw.PaintNorthArrow(painter, area.topRight() + QPointF(-3 * unit, 2 * unit), unit);
  draw.PaintScaleBars(painter, area.bottomLeft() + QPointF(4 * unit, -3 * unit), view, unit);
  painter.setClipping(false);
  const double top = area.bottom() + 2.0 * unit;
  draw.PaintLegend(painter, QPointF(rect.left(), top), unit);
  draw.PaintTitleBlock(painter, QPointF(rect.right() - title.width(), top), unit);
  painter.restore();
  return view;
}

}  // namespace modKestralMGA

#include "reports/ui/JoinDiagramView.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>
#include <utility>

#include "common/Cp1252.h"

namespace {

// One step of +, - or the wheel.
constexpr double kZoomStep = 1.25;
// More joins than this are drawn without smoothing, in a picture of their own.
constexpr std::size_t kDirectJoins = 5000;
// The resolution of that picture while the view changes, and how long the view must stay still
// (milliseconds) before it is made at full resolution.
constexpr double kCoarse = 1.0 / 3.0;
constexpr int kRefineAfter = 200;
// The legend and the title block lie over the drawing, smaller than on paper.
constexpr double kOverlayScale = 0.8;
// How far (millimetres) a press may move and still be a click, and the pointer lie from a join.
constexpr double kReach = 1.5;

}  // namespace

JoinDiagramView::JoinDiagramView(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(false);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 150);
  m_refineTimer.setSingleShot(true);
  m_refineTimer.setInterval(kRefineAfter);
  connect(&m_refineTimer, &QTimer::timeout, this, [this] {
    m_refine = true;
    m_layerValid = false;
    update();
  });
}

void JoinDiagramView::ViewChanged() {
  m_layerValid = false;
  m_refine = false;
  update();
}

const QImage& JoinDiagramView::JoinLayer() {
  if (m_layerValid) return m_joinLayer;
  const double scale = m_refine ? 1.0 : kCoarse;
  m_joinLayer = QImage((QSizeF(size()) * scale).toSize().expandedTo(QSize(1, 1)),
                       QImage::Format_ARGB32_Premultiplied);
  m_joinLayer.fill(Qt::transparent);
  QPainter layer(&m_joinLayer);
  layer.scale(scale, scale);
  modKestralMGA::DiagramOptions options = m_options;
  options.Unit = Unit() * scale;  // one device pixel of the picture a line
  m_painter->PaintJoinLayer(layer, m_view, options);
  m_layerFine = m_refine;
  m_layerValid = true;
  if (!m_layerFine) m_refineTimer.start();
  return m_joinLayer;
}

double JoinDiagramView::Unit() const {
  return logicalDpiX() / 25.4;
}

void JoinDiagramView::SetDiagram(modKestralMGA::JoinDiagram diagram) {
  m_painter.reset();
  m_diagram = std::move(diagram);
  m_options.Highlighted.reset();
  if (!m_diagram.Marks.empty() || !m_diagram.Lines.empty()) {
    m_painter = std::make_unique<modKestralMGA::DiagramPainter>(m_diagram);
  }
  m_options.Antialiased = !m_painter || m_painter->LayerJoins() <= kDirectJoins;
  FitToWindow();
}

void JoinDiagramView::SetOnlyNotAcceptable(bool only) {
  m_options.OnlyNotAcceptable = only;
  ViewChanged();
}

void JoinDiagramView::SetHighlighted(std::optional<std::size_t> join) {
  if (m_options.Highlighted == join) return;
  m_options.Highlighted = join;
  update();
}

void JoinDiagramView::FitToWindow() {
  // Between the legend at the top and the title block at the bottom, which lie over the drawing.
  QRectF area(rect());
  if (m_painter) {
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter measure(&scratch);
    const double small = kOverlayScale * Unit();
    area.adjust(0, m_painter->LegendSize(measure, small).height(), 0,
                -m_painter->TitleSize(measure, small).height());
  }
  m_view = modKestralMGA::FitView(m_diagram, modKestralMGA::LabelledArea(area, Unit()));
  m_fitted = true;
  ViewChanged();
}

void JoinDiagramView::ZoomBy(double factor, std::optional<QPointF> anchor) {
  m_view.ZoomAbout(anchor.value_or(QRectF(rect()).center()), factor);
  m_fitted = false;
  ViewChanged();
}

std::optional<std::size_t> JoinDiagramView::JoinAt(const QPointF& at) const {
  if (!m_painter) return std::nullopt;
  return m_painter->JoinAt(m_view, at, kReach * Unit(), m_options.OnlyNotAcceptable);
}

void JoinDiagramView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!m_painter) return;
  m_options.Unit = Unit();
  const double unit = m_options.Unit;
  if (m_options.Antialiased) {
    m_painter->PaintPlan(painter, m_view, m_options, QRectF(rect()));
  } else {
    if (!m_options.OnlyNotAcceptable) {
      const QImage& layer = JoinLayer();
      painter.setRenderHint(QPainter::SmoothPixmapTransform, !m_layerFine);
      painter.drawImage(QRectF(rect()), layer);
    }
    m_painter->PaintOverJoins(painter, m_view, m_options, QRectF(rect()));
  }
  m_painter->PaintNorthArrow(painter, QPointF(width() - 3 * unit, 2 * unit), unit);
  m_painter->PaintScaleBars(painter, QPointF(4 * unit, height() - 3 * unit), m_view, unit);
  const double small = kOverlayScale * unit;
  m_painter->PaintLegend(painter, QPointF(2 * unit, 2 * unit), small);
  const QSizeF title = m_painter->TitleSize(painter, small);
  m_painter->PaintTitleBlock(
      painter, QPointF(width() - title.width() - 2 * unit, height() - title.height() - 2 * unit),
      small);
}

void JoinDiagramView::resizeEvent(QResizeEvent*) {
  if (m_fitted) {
    FitToWindow();
  } else {
    ViewChanged();
  }
}

void JoinDiagramView::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta != 0) ZoomBy(std::pow(kZoomStep, delta / 120.0), event->position());
  event->accept();
}

void JoinDiagramView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      ZoomBy(kZoomStep);
      break;
    case Qt::Key_Minus:
      ZoomBy(1.0 / kZoomStep);
      break;
    case Qt::Key_0:
      FitToWindow();
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

void JoinDiagramView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  m_pressedAt = m_lastAt = event->position();
  m_dragged = false;
}

void JoinDiagramView::mouseMoveEvent(QMouseEvent* event) {
  const QPointF at = event->position();
  if (m_pressedAt) {
    if (!m_dragged && QLineF(*m_pressedAt, at).length() > kReach * Unit()) {
      m_dragged = true;
      setCursor(Qt::ClosedHandCursor);
    }
    if (m_dragged) {
      m_view.Origin += at - m_lastAt;
      m_fitted = false;
      m_lastAt = at;
      ViewChanged();
    }
    return;
  }
  if (const auto join = JoinAt(at)) {
    QToolTip::showText(
        event->globalPosition().toPoint(),
        QString::fromStdString(modKestralMGA::Cp1252ToUtf8(m_diagram.Joins[*join].Tip)), this);
  } else {
    QToolTip::hideText();
  }
}

void JoinDiagramView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_pressedAt) return;
  const bool click = !m_dragged;
  m_pressedAt.reset();
  unsetCursor();
  if (!click) return;
  if (const auto join = JoinAt(event->position())) {
    SetHighlighted(join);
    emit JoinChosen(*join);
  }
}

#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>

#include "reports/JoinDiagram.h"
#include "reports/ui/DiagramPainter.h"

// The join diagram in the results window: the plan north up with its joins, PSMs and residual
// arrows, the north arrow and scale bars, the legend and the title block. Drag to pan, the wheel
// or + and - to zoom about the pointer or the middle, 0 or "Fit" to see it all. Hovering over a
// join shows its verdict line as a tool tip; a click on a join chooses it (JoinChosen).
//
// Level of detail: with many joins (more than 5,000 acceptable or not compared) those joins are
// drawn, without smoothing, into a picture of their own kept until the view moves, so that
// hovering and choosing draw only what lies over them. While the view changes that picture is
// made at a third of the resolution and shown enlarged; once the view has been still for a
// moment it is made again at full resolution.
class JoinDiagramView final : public QWidget {
  Q_OBJECT

 public:
  explicit JoinDiagramView(QWidget* parent = nullptr);

  // Shows diagram, fitted to the view; an empty diagram clears the view.
  void SetDiagram(modKestralMGA::JoinDiagram diagram);
  const modKestralMGA::JoinDiagram& Diagram() const { return m_diagram; }
  bool HasDiagram() const { return m_painter != nullptr; }

  void SetOnlyNotAcceptable(bool only);
  // The join (index in the diagram's Joins) drawn wide; none for none.
  void SetHighlighted(std::optional<std::size_t> join);
  std::optional<std::size_t> Highlighted() const { return m_options.Highlighted; }

  void FitToWindow();
  // Zooms by factor about the device position anchor (the middle when none).
  void ZoomBy(double factor, std::optional<QPointF> anchor = std::nullopt);
  const modKestralMGA::DiagramView& View() const { return m_view; }

  // The join shown nearest to the widget position at, within reach of the pointer.
  std::optional<std::size_t> JoinAt(const QPointF& at) const;

 signals:
  void JoinChosen(std::size_t join);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // Device units of a millimetre on the screen.
  double Unit() const;
  // The view changed: the join picture is made again, coarse until the view stays still.
  void ViewChanged();
  // The join picture for the current view, made when missing.
  const QImage& JoinLayer();

  modKestralMGA::JoinDiagram m_diagram;
  std::unique_ptr<modKestralMGA::DiagramPainter> m_painter;
  modKestralMGA::DiagramView m_view;
  modKestralMGA::DiagramOptions m_options;
  bool m_fitted = false;  // the view follows the window's size until the user pans or zooms
  std::optional<QPointF> m_pressedAt;
  QPointF m_lastAt;
  bool m_dragged = false;
  QImage m_joinLayer;        // the many joins, for the current view
  bool m_layerFine = false;  // m_joinLayer is at full resolution
  bool m_layerValid = false;
  bool m_refine = false;  // the next join picture is made at full resolution
  QTimer m_refineTimer;
};

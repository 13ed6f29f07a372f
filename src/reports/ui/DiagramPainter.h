#pragma once

#include <QLineF>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QVector>
#include <optional>

#include "reports/JoinDiagram.h"

namespace modKestralMGA {

// How the plan lies on a device: a plan position (East, North) in metres goes to Origin +
// (East, -North) times Scale, so that north points up.
struct DiagramView {
  double Scale = 1.0;  // device units per metre
  QPointF Origin;      // where the plan's (0, 0) lies

  QPointF Map(const DiagramPoint& at) const {
    return {Origin.x() + at.East * Scale, Origin.y() - at.North * Scale};
  }
  DiagramPoint Unmap(const QPointF& at) const {
    return {(at.x() - Origin.x()) / Scale, (Origin.y() - at.y()) / Scale};
  }
  // Zooms by factor about the device position anchor, which keeps its plan position.
  void ZoomAbout(const QPointF& anchor, double factor) {
    Origin = anchor + (Origin - anchor) * factor;
    Scale *= factor;
  }
};

// The view that shows everything the diagram draws inside area, centred, with a margin of a
// twentieth of the area around it.
DiagramView FitView(const JoinDiagram& diagram, const QRectF& area);
// The part of area (unit device units a millimetre) in which the plan is fitted, so that the
// labels to the right of the PSMs and the north arrow stay inside.
QRectF LabelledArea(const QRectF& area, double unit);

// What a drawing of the diagram shows besides the plan.
struct DiagramOptions {
  bool OnlyNotAcceptable = false;          // leave out the joins that are not red
  std::optional<std::size_t> Highlighted;  // a join (index in Joins) drawn wide
  double Unit = 1.0;                       // device units a millimetre of lettering and symbols
  bool Antialiased = true;                 // smooth lines (off: faster for very many joins)
};

// Draws a join diagram on a painter. The lines of the plan and the joins are kept in batches, one
// a colour, made once for the diagram, so that a drawing is a handful of calls whatever the size
// of the plan; PSM symbols and labels are drawn only where they show, and a label that would
// cover another one is left out. Texts are drawn as text (in the report font) so that vector
// outputs keep them.
class DiagramPainter {
 public:
  explicit DiagramPainter(const JoinDiagram& diagram);

  const JoinDiagram& Diagram() const { return m_diagram; }

  // The plan, the joins, the PSMs with their labels and the residual arrows through view;
  // visible is the device area that shows.
  void PaintPlan(QPainter& painter, const DiagramView& view, const DiagramOptions& options,
                 const QRectF& visible) const;
  // PaintPlan in two layers: the joins acceptable and not compared, which are the most of a
  // large plan's drawing, and everything drawn over them.
  void PaintJoinLayer(QPainter& painter, const DiagramView& view,
                      const DiagramOptions& options) const;
  void PaintOverJoins(QPainter& painter, const DiagramView& view, const DiagramOptions& options,
                      const QRectF& visible) const;
  // The joins the join layer draws.
  std::size_t LayerJoins() const {
    return std::size_t(m_joins[int(JoinColour::Grey)].size() +
                       m_joins[int(JoinColour::Green)].size());
  }
  // Grid north up, its arrow's top right corner at topRight.
  void PaintNorthArrow(QPainter& painter, const QPointF& topRight, double unit) const;
  // The scale bar in metres and, with residual arrows, the arrows' bar, standing on bottomLeft.
  void PaintScaleBars(QPainter& painter, const QPointF& bottomLeft, const DiagramView& view,
                      double unit) const;
  // The legend's size, and the legend with its top left corner at topLeft.
  QSizeF LegendSize(QPainter& painter, double unit) const;
  void PaintLegend(QPainter& painter, const QPointF& topLeft, double unit) const;
  // The title block's size, and the title block in the box at topLeft.
  QSizeF TitleSize(QPainter& painter, double unit) const;
  void PaintTitleBlock(QPainter& painter, const QPointF& topLeft, double unit) const;

  // The join nearest to the device position at within reach device units, among those shown.
  std::optional<std::size_t> JoinAt(const DiagramView& view, const QPointF& at, double reach,
                                    bool onlyNotAcceptable) const;

 private:
  void PaintRedJoins(QPainter& painter, const DiagramView& view, const DiagramOptions& options,
                     double unit) const;
  void PaintMarks(QPainter& painter, const DiagramView& view, const DiagramOptions& options,
                  const QRectF& visible) const;
  void PaintArrows(QPainter& painter, const DiagramView& view, double unit) const;
  void PaintPoints(QPainter& painter, const DiagramView& view, const QRectF& visible,
                   double unit) const;

  const JoinDiagram& m_diagram;
  QVector<QLineF> m_planLines;  // plan coordinates (East, North)
  QVector<QPointF> m_points;
  QVector<QLineF> m_joins[3];  // by JoinColour
};

// A whole sheet in rect: the diagram fitted above, the north arrow at its top right and the scale
// bars at its bottom left, the legend and the title block in a strip below it. unit is the device
// units of a millimetre. Returns the view the plan was drawn through.
DiagramView PaintDiagramSheet(QPainter& painter, const QRectF& rect, const JoinDiagram& diagram,
                              double unit, bool onlyNotAcceptable = false);

}  // namespace modKestralMGA

#include "diagnosis/SimilarityFit.h"

#include <cmath>

#include "compare/AccuracyCriteria.h"

namespace modKestralMGA {

void SimilarityFit::Apply(double planEast, double planNorth, double& gridEast,
                          double& gridNorth) const {
  gridEast = A * planEast + B * planNorth + ShiftEast;
  gridNorth = -B * planEast + A * planNorth + ShiftNorth;
}

std::optional<SimilarityFit> FitSimilarity(const std::vector<FitPoint>& points, double csf) {
  if (points.size() < 2) return std::nullopt;
  const auto n = static_cast<double>(points.size());
  double pe = 0.0, pn = 0.0, ge = 0.0, gn = 0.0;
  for (const FitPoint& p : points) {
    pe += p.PlanEast;
    pn += p.PlanNorth;
    ge += p.GridEast;
    gn += p.GridNorth;
  }
  pe /= n;
  pn /= n;
  ge /= n;
  gn /= n;
  // Normal equations about the centroids: A sum(x^2 + y^2) = sum(x X + y Y),
  // B sum(x^2 + y^2) = sum(y X - x Y).
  double sumSquares = 0.0, sumA = 0.0, sumB = 0.0;
  for (const FitPoint& p : points) {
    const double x = p.PlanEast - pe;
    const double y = p.PlanNorth - pn;
    const double bigX = p.GridEast - ge;
    const double bigY = p.GridNorth - gn;
    sumSquares += x * x + y * y;
    sumA += x * bigX + y * bigY;
    sumB += y * bigX - x * bigY;
  }
  if (!(sumSquares > 0.0)) return std::nullopt;
  SimilarityFit fit;
  fit.A = sumA / sumSquares;
  fit.B = sumB / sumSquares;
  fit.ShiftEast = ge - (fit.A * pe + fit.B * pn);
  fit.ShiftNorth = gn - (-fit.B * pe + fit.A * pn);
  fit.RotationSeconds = std::atan2(fit.B, fit.A) * kSecondsPerRadian;
  const double scale = std::hypot(fit.A, fit.B);
  fit.ScalePpm = csf > 0.0 ? (scale / csf - 1.0) * 1e6 : 0.0;
  fit.MarksUsed = static_cast<int>(points.size());
  if (points.size() >= 3) {
    double sum = 0.0;
    for (const FitPoint& p : points) {
      double e = 0.0, north = 0.0;
      fit.Apply(p.PlanEast, p.PlanNorth, e, north);
      sum += (p.GridEast - e) * (p.GridEast - e) + (p.GridNorth - north) * (p.GridNorth - north);
    }
    fit.RmsMetres = std::sqrt(sum / n);
  }
  if (!std::isfinite(fit.A) || !std::isfinite(fit.B) || !std::isfinite(fit.ShiftEast) ||
      !std::isfinite(fit.ShiftNorth)) {
    return std::nullopt;
  }
  return fit;
}

}  // namespace modKestralMGA

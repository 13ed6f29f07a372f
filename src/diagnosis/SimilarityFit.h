#pragma once

#include <optional>
#include <vector>

namespace modKestralMGA {

// A mark seen in the plan's frame and on the MGA grid, metres.
struct FitPoint {
  double PlanEast = 0.0;
  double PlanNorth = 0.0;
  double GridEast = 0.0;
  double GridNorth = 0.0;
};

// The 4-parameter similarity transformation from plan to grid coordinates:
// gridEast = A planEast + B planNorth + ShiftEast, gridNorth = -B planEast + A planNorth +
// ShiftNorth, with A = s cos w and B = s sin w for a scale s and a clockwise rotation w.
struct SimilarityFit {
  double A = 1.0;
  double B = 0.0;
  double ShiftEast = 0.0;        // metres
  double ShiftNorth = 0.0;       // metres
  double RotationSeconds = 0.0;  // w in seconds of arc: what the plan's bearings need added
  double ScalePpm = 0.0;         // s against the survey's combined scale factor, parts per million
  std::optional<double> RmsMetres;  // with 3 marks or more: root mean square of the residuals
  int MarksUsed = 0;

  // The grid position of a plan position.
  void Apply(double planEast, double planNorth, double& gridEast, double& gridNorth) const;
};

// The least-squares similarity fit of points (Helmert's 4-parameter transformation, solved about
// the centroids), with the scale given in ppm against csf (the survey's combined scale factor:
// 0 ppm when grid distances are plan distances times csf). Nothing with fewer than 2 points or
// when the plan points coincide.
std::optional<SimilarityFit> FitSimilarity(const std::vector<FitPoint>& points, double csf);

}  // namespace modKestralMGA

#pragma once

#include <string>
#include <utility>

namespace modKestralMGA {

// The program-wide ellipsoid choice, shown and changed in the join calculation window. MGA94/2020
// and Plane compute on GRS80, AMG84 on the Australian National Spheroid; Plane also makes the
// join calculation window compute plane joins.
enum class DistanceCalculationMode { MGA94_2020, AMG84, Plane };

// The settings the join routines read at the moment of each call: the window implements it over
// its live controls, the batch program over fixed values.
class JoinSettings {
 public:
  virtual ~JoinSettings() = default;
  // The text of "Compare up to Order": the highest mark order a combined-scale-factor join takes.
  virtual std::string MaxOrderText() const = 0;
  // The text of "Average Height": the survey's height in metres.
  virtual std::string AverageHeightText() const = 0;
  virtual DistanceCalculationMode CalculationMode() const = 0;
};

// Fixed join settings, for the batch program and tests.
class FixedJoinSettings final : public JoinSettings {
 public:
  FixedJoinSettings(std::string maxOrder, std::string averageHeight,
                    DistanceCalculationMode mode = DistanceCalculationMode::MGA94_2020)
      : m_maxOrder(std::move(maxOrder)), m_averageHeight(std::move(averageHeight)), m_mode(mode) {}
  std::string MaxOrderText() const override { return m_maxOrder; }
  std::string AverageHeightText() const override { return m_averageHeight; }
  DistanceCalculationMode CalculationMode() const override { return m_mode; }

 private:
  std::string m_maxOrder;
  std::string m_averageHeight;
  DistanceCalculationMode m_mode;
};

}  // namespace modKestralMGA

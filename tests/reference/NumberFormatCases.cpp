#include "NumberFormatCases.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string_view>
#include <utility>
#include <vector>

#include "common/NumberFormat.h"

namespace modKestralMGA {

namespace {

using FormatCase = std::pair<double, std::string_view>;

// "0" and "0.0" to "0.000...0" with 25 places, by places.
const std::vector<std::string>& ZeroPatterns() {
  static const std::vector<std::string> patterns = [] {
    std::vector<std::string> made{"0"};
    for (int places = 1; places <= 25; ++places) made.push_back("0." + std::string(places, '0'));
    return made;
  }();
  return patterns;
}

// The places the hard cases are made for: the program's (0, 1, 3, 4, 8) and others up to beyond
// the largest power of ten a double holds exactly (10^22).
constexpr int kHardPlaces[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 15, 16, 17, 20, 22, 23};

// The magnitudes that are hard for `places` places: exact ties j / 2^(places + 1) (j odd) and the
// doubles nearest the decimal halves (k + 0.5) / 10^places, for small j and k, for k that carry
// into a new digit, for k at each count of digits and near the largest products the quick way
// takes; then values rounding to zero, whole numbers and values too large for the quick way.
std::vector<double> HardMagnitudes(int places, std::mt19937_64& random) {
  const double scale = std::pow(10.0, places);
  const double largest = std::ldexp(1.0, 52);
  std::vector<double> made;
  const auto half = [&](double k) { made.push_back((k + 0.5) / scale); };
  const auto tie = [&](double j) { made.push_back(std::ldexp(j, -(places + 1))); };
  for (double k = 0; k < 300; ++k) half(k);
  for (double j = 1; j < 400; j += 2) tie(j);
  for (double nines = 9; nines < largest; nines = nines * 10 + 9) half(nines), half(nines + 1);
  for (int digits = 0; digits < 16; ++digits) {
    for (int i = 0; i < 10; ++i) {
      half(std::floor(std::pow(10.0, digits + std::uniform_real_distribution<>(0, 1)(random))));
    }
  }
  const double lastTie = std::floor(std::ldexp(1.0, 53) / std::pow(5.0, places));
  for (double j = -3; j <= 3; ++j) half(std::floor(largest / scale) + j), tie(lastTie + j);
  for (const double tied : {2.675, 12.3125, 0.0005, 9.9995, 999.9995, 359.99995, 1e15 - 0.5}) {
    made.push_back(tied);
  }
  for (const double unit : {0.0, 0.4, 0.49999999999, 0.5, 0.50000000001, 1.0}) {
    made.push_back(unit / scale);
  }
  for (const double other : {5e-324, DBL_MIN, 66281001.0, largest - 1, largest, largest + 1,
                             std::ldexp(1.0, 53), 1e15, 1e16, 1e20, 1e300, DBL_MAX}) {
    made.push_back(other);
  }
  return made;
}

// Each hard magnitude and the four doubles either side of it, with either sign, with each
// pattern of `places` places ("#" too for none).
void AddHardCases(int places, std::mt19937_64& random, std::vector<FormatCase>& cases) {
  const std::string_view pattern = ZeroPatterns()[static_cast<std::size_t>(places)];
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  for (const double magnitude : HardMagnitudes(places, random)) {
    double value = magnitude;
    for (int step = 0; step < 4; ++step) value = std::nextafter(value, 0.0);
    for (int step = 0; step < 9; ++step, value = std::nextafter(value, kInfinity)) {
      for (const double either : {value, -value}) {
        cases.emplace_back(either, pattern);
        if (places == 0) cases.emplace_back(either, kFormatKey);
      }
    }
  }
}

const std::vector<FormatCase>& HardCases() {
  static const std::vector<FormatCase> cases = [] {
    std::vector<FormatCase> made;
    std::mt19937_64 random(20261207);
    for (const int places : kHardPlaces) AddHardCases(places, random, made);
    for (const double value :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity()}) {
      made.emplace_back(value, kFormatMetres);
      made.emplace_back(value, kFormatKey);
    }
    return made;
  }();
  return cases;
}

// A random value and pattern: mostly the program's patterns, and mostly values of random
// magnitude from 1e-9 to 1e15, else short decimals ending in 5 one place beyond the pattern, else
// doubles of random bits.
FormatCase RandomCase(std::mt19937_64& random) {
  static constexpr std::string_view kProgramPatterns[] = {
      kFormatMetres, kFormatBearing, kFormatScaleFactor, kFormatSeconds, kFormatKey, kFormatCount};
  const std::uint64_t kind = random() % 16;
  const std::uint64_t choice = random() % 8;
  const std::string_view pattern =
      choice < 6 ? kProgramPatterns[choice] : ZeroPatterns()[random() % ZeroPatterns().size()];
  const int places = PatternOf(pattern).Decimals;
  double magnitude = 0.0;
  if (kind < 10) {
    magnitude = std::pow(10.0, std::uniform_real_distribution<>(-9.0, 15.0)(random));
  } else if (kind < 15 && places < 22) {
    const double digits = std::uniform_real_distribution<>(0.0, 13.0)(random);
    magnitude = (std::floor(std::pow(10.0, digits)) * 10 + 5) / std::pow(10.0, places + 1);
  } else {
    const std::uint64_t bits = random();
    static_assert(sizeof bits == sizeof magnitude);
    std::memcpy(&magnitude, &bits, sizeof bits);
  }
  return {random() % 2 == 0 ? magnitude : -magnitude, pattern};
}

// "value pattern: text / buffered text / general text" where FormatNumber, NumberText and the
// long way do not all agree, else empty.
std::string Disagreement(const FormatCase& c) {
  const std::string quick = FormatNumber(c.first, c.second);
  const NumberText buffered(c.first, c.second);
  const std::string general = FormatNumberGeneral(c.first, c.second);
  if (quick == general && std::string_view(buffered) == general) return {};
  return FormatExact(c.first) + " " + std::string(c.second) + ": " + quick + " / " +
         std::string(std::string_view(buffered)) + " / " + general;
}

}  // namespace

std::string FirstFormatDisagreement(std::uint64_t randomCount, std::uint64_t seed) {
  for (const FormatCase& c : HardCases()) {
    std::string found = Disagreement(c);
    if (!found.empty()) return found;
  }
  std::mt19937_64 random(seed);
  for (std::uint64_t i = 0; i < randomCount; ++i) {
    std::string found = Disagreement(RandomCase(random));
    if (!found.empty()) return found;
  }
  return {};
}

std::uint64_t HardFormatCaseCount() {
  return HardCases().size();
}

}  // namespace modKestralMGA

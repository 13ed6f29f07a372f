// The number formats on the values of a joins report's full block: ddd.mmss bearings, distances
// in metres, combined scale factors and differences in seconds of arc, written as a text each and
// straight into a buffer.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>
#include <string_view>
#include <vector>

#include "DataGenerator.h"
#include "common/NumberFormat.h"
#include "geodesy/Angles.h"

namespace modKestralMGA {
namespace {

struct FormattedValue {
  double Value;
  std::string_view Pattern;
};

// The nine numbers of each of 1,000 full blocks: two bearings and two distances, the scale
// factor, and the differences and allowances of bearing and distance.
std::vector<FormattedValue> BlockValues() {
  SplitMix64 random(20261207);
  std::vector<FormattedValue> values;
  for (int block = 0; block < 1000; ++block) {
    const double angle = random.Uniform(0.0, 2.0 * Pi());
    const double distance = random.Uniform(10.0, 20000.0);
    values.push_back({RadiansToDMS(angle), kFormatBearing});
    values.push_back({RadiansToDMS(angle + random.Uniform(-1e-4, 1e-4)), kFormatBearing});
    values.push_back({distance, kFormatMetres});
    values.push_back({distance + random.Uniform(-0.05, 0.05), kFormatMetres});
    values.push_back({random.Uniform(0.9996, 1.0004), kFormatScaleFactor});
    values.push_back({random.Uniform(-30.0, 30.0), kFormatSeconds});
    values.push_back({random.Uniform(5.0, 20.0), kFormatSeconds});
    values.push_back({random.Uniform(-0.05, 0.05), kFormatMetres});
    values.push_back({random.Uniform(0.01, 0.1), kFormatMetres});
  }
  return values;
}

template <typename Format>
void FormatAll(benchmark::State& state, const Format& format) {
  const std::vector<FormattedValue> values = BlockValues();
  for (auto _ : state) {
    for (const FormattedValue& v : values) format(v);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}

void BM_FormatNumber(benchmark::State& state) {
  FormatAll(state, [](const FormattedValue& v) {
    benchmark::DoNotOptimize(FormatNumber(v.Value, v.Pattern));
  });
}
BENCHMARK(BM_FormatNumber);

void BM_FormatNumberTo(benchmark::State& state) {
  char text[NumberTextRoom(8)];
  FormatAll(state, [&](const FormattedValue& v) {
    benchmark::DoNotOptimize(FormatNumberTo(text, v.Value, PatternOf(v.Pattern)));
    benchmark::ClobberMemory();
  });
}
BENCHMARK(BM_FormatNumberTo);

// The long way alone, for every value.
void BM_FormatNumberGeneral(benchmark::State& state) {
  FormatAll(state, [](const FormattedValue& v) {
    benchmark::DoNotOptimize(FormatNumberGeneral(v.Value, v.Pattern));
  });
}
BENCHMARK(BM_FormatNumberGeneral);

}  // namespace
}  // namespace modKestralMGA

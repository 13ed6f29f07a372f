// Writes the benchmarks' data sets as files, for timing the batch program from outside (wall
// time and peak memory): the statewide Mark Details file and the plans compared against it.
//   kestral_bench_data FOLDER
// FOLDER/marks.csv (200,000 marks), FOLDER/one.lns and .cve (one line), FOLDER/p60, p300 and
// p1000 .lns and .cve (20,000 lines with 60, 300 and 1,000 PSMs), FOLDER/psm300.csv (the 300
// PSMs of p300 alone). For the peak memory of the
// readers: a line of 50,000,000 commas as FOLDER/commas.csv, commas.lns and curve.cve (curve.lns
// holds the one curved line that makes the curve file read), and FOLDER/few.csv (10 marks).
#include <fstream>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "BenchData.h"

namespace {

constexpr std::size_t kCommaLineLength = 50'000'000;

bool Write(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) std::cerr << "kestral_bench_data: cannot write " << path << '\n';
  return static_cast<bool>(out);
}

bool WritePlan(const std::string& identifier, const modKestralMGA::GeneratedPlan& plan) {
  return Write(identifier + ".lns", plan.Lines) && Write(identifier + ".cve", plan.Curves);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace modKestralMGA;
  if (argc != 2) {
    std::cerr << "usage: kestral_bench_data FOLDER\n";
    return 2;
  }
  const std::string folder = argv[1];
  const std::vector<GeneratedMark>& marks = Statewide().Marks;
  bool written = Write(folder + "/marks.csv", MarkDetailsText(kStatewideMarkCount)) &&
                 WritePlan(folder + "/one", OneLinePlan(marks));
  const std::pair<const char*, std::size_t> plans[] = {
      {"/p60", 60}, {"/p300", 300}, {"/p1000", 1000}};
  for (const auto& [name, psms] : plans) {
    written = written && WritePlan(folder + name, ComparisonPlan(marks, psms));
  }
  // The 300 PSMs of p300 alone, as a surveyor's own short list for that plan.
  written = written && Write(folder + "/psm300.csv", ToMarkDetailsCsv(ComparisonPsms(marks, 300),
                                                                      /*titleLine=*/true));
  const std::string commas(kCommaLineLength, ',');
  written = written && Write(folder + "/few.csv", MarkDetailsText(10)) &&
            Write(folder + "/commas.csv", commas) && Write(folder + "/commas.lns", commas) &&
            Write(folder + "/curve.lns", "4601,4602,1025.5,31.416\r\n") &&
            Write(folder + "/curve.cve", commas);
  return written ? 0 : 1;
}

// Holds the quick way of writing numbers against the long one on every hard case and on a
// number of random values (10,000,000 unless given): kestral_number_format_check [count] [seed].
// Prints the first value where the two disagree and fails, or the count checked.
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>

#include "NumberFormatCases.h"

int main(int argc, char** argv) {
  const std::uint64_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 10000000U;
  const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20261207U;
  const std::string found = modKestralMGA::FirstFormatDisagreement(count, seed);
  if (!found.empty()) {
    std::cerr << "the quick and long ways disagree: " << found << '\n';
    return 1;
  }
  std::cout << modKestralMGA::HardFormatCaseCount() << " hard cases and " << count
            << " random values (seed " << seed << ") written alike both ways\n";
  return 0;
}

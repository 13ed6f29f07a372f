// The test main runs every test under a comma-decimal locale (de_DE.UTF-8), so that any number
// read or written through the locale (printf, iostream, strtod, std::stod) shows as a failure.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <locale>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    std::fprintf(stderr, "The de_DE.UTF-8 locale is missing: run scripts/install-deps\n");
    return 1;
  }
  std::locale::global(std::locale("de_DE.UTF-8"));
  return RUN_ALL_TESTS();
}

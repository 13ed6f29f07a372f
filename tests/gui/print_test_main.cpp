// The printer back end's tests run with a Qt application on the offscreen platform (fonts and
// painting need one) and under a comma-decimal locale, like the core's tests.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <clocale>
#include <cstdio>
#include <locale>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    std::fprintf(stderr, "The de_DE.UTF-8 locale is missing: run scripts/install-deps\n");
    return 1;
  }
  std::locale::global(std::locale("de_DE.UTF-8"));
  return RUN_ALL_TESTS();
}

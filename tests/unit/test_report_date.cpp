// The English date of the report's "Printed on" line.
#include <gtest/gtest.h>

#include <chrono>

#include "reports/ReportDate.h"

namespace modKestralMGA {
namespace {

using std::chrono::day;
using std::chrono::month;
using std::chrono::year;
using std::chrono::year_month_day;

TEST(ReportDate, EnglishDateTextNamesDayAndMonthInFull) {
  // Expected texts from the Gregorian calendar (checked against Python's datetime).
  const struct {
    int y;
    unsigned m, d;
    const char* expected;
  } cases[] = {
      {2026, 12, 6, "Sunday, December 06, 2026"}, {2000, 2, 29, "Tuesday, February 29, 2000"},
      {1999, 1, 1, "Friday, January 01, 1999"},   {2024, 7, 15, "Monday, July 15, 2024"},
      {1900, 3, 1, "Thursday, March 01, 1900"},   {2038, 1, 19, "Tuesday, January 19, 2038"},
      {987, 9, 3, "Monday, September 03, 0987"},  {2023, 2, 29, ""},  // no such day
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EnglishDateText(year_month_day{year{c.y}, month{c.m}, day{c.d}}), c.expected)
        << c.y << "-" << c.m << "-" << c.d;
  }
}

TEST(ReportDate, LocalTodayIsAValidDate) {
  const year_month_day today = LocalToday();
  EXPECT_TRUE(today.ok());
  EXPECT_GE(static_cast<int>(today.year()), 2024);
}

}  // namespace
}  // namespace modKestralMGA

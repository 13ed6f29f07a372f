#include "reports/ReportDate.h"

#include <array>
#include <ctime>
#include <string_view>

#include "common/NumberFormat.h"

namespace modKestralMGA {

namespace {

constexpr std::array<std::string_view, 7> kDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                       "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// value written with at least width digits, zeros in front.
std::string ZeroPadded(int value, std::size_t width) {
  std::string digits = FormatNumber(static_cast<double>(value), kFormatCount);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

}  // namespace

std::string EnglishDateText(const std::chrono::year_month_day& date) {
  if (!date.ok()) return {};
  const std::chrono::weekday weekday{std::chrono::sys_days{date}};
  std::string text(kDayNames[weekday.c_encoding()]);
  text += ", ";
  text += kMonthNames[static_cast<unsigned>(date.month()) - 1];
  text += ' ';
  text += ZeroPadded(static_cast<int>(static_cast<unsigned>(date.day())), 2);
  text += ", ";
  text += ZeroPadded(static_cast<int>(date.year()), 4);
  return text;
}

std::chrono::year_month_day LocalToday() {
  const std::time_t now = std::time(nullptr);
  // std::localtime returns a shared buffer; the program reads the clock on one thread only.
  const std::tm local = *std::localtime(&now);
  return std::chrono::year_month_day{std::chrono::year{local.tm_year + 1900},
                                     std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                                     std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
}

}  // namespace modKestralMGA

#pragma once

#include <chrono>
#include <string>

namespace modKestralMGA {

// The date of the report's "Printed on" line in English, "dddd, mmmm dd, yyyy": full day name,
// full month name, two-digit day, four-digit year ("Sunday, December 06, 2026"). The day of the
// week is that of the proleptic Gregorian calendar. An invalid date gives the empty text.
std::string EnglishDateText(const std::chrono::year_month_day& date);

// Today's date on the computer's clock in its local time zone.
std::chrono::year_month_day LocalToday();

}  // namespace modKestralMGA

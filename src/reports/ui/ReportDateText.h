#pragma once

#include <QDate>
#include <QLocale>
#include <string>

// The date of the report's "Printed on" line in the language of locale, "dddd, MMMM dd, yyyy":
// full day name, full month name, two-digit day, four-digit year ("Sunday, December 06, 2026";
// in German "Sonntag, Dezember 06, 2026"), as the program's Windows-1252 bytes (a letter that
// Windows-1252 cannot hold becomes "?"). An invalid date gives the empty text.
std::string ReportDateText(const QDate& date, const QLocale& locale);

#include "reports/ui/ReportDateText.h"

#include "app/WindowText.h"

std::string ReportDateText(const QDate& date, const QLocale& locale) {
  return ToBytes(locale.toString(date, QStringLiteral("dddd, MMMM dd, yyyy")));
}

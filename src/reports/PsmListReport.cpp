#include "reports/PsmListReport.h"

#include <array>
#include <cstddef>

namespace modKestralMGA {

namespace {

// The column of each mark list column in both forms of the list, PSM No. to Status.
constexpr std::array<int, kMarkColumnCount> kListColumns = {1, 15, 30, 45, 56, 63, 69, 79};
constexpr std::array<const char*, kMarkColumnCount> kListHeadings = {
    "PSM", "East", "North", "Height", "Order", "Zone", "Datum", "Status"};
constexpr const char* kListTitle = "Permanent Survey Mark List";
constexpr const char* kListTitleFor = "Permanent Survey Mark List for ";

// The headings, an empty line, and the rows of the list, each with its first `columns` cells.
void WriteTable(const MarkList& marks, std::size_t columns, ColumnWriter& out) {
  for (std::size_t c = 0; c < columns; ++c) out.Field(kListColumns[c], kListHeadings[c]);
  out.EndLine();
  out.EndLine();
  for (std::size_t row = 0; row < marks.RowCount(); ++row) {
    for (std::size_t c = 0; c < columns; ++c) {
      out.Field(kListColumns[c], marks.Cell(row, static_cast<int>(c)));
    }
    out.EndLine();
  }
}

}  // namespace

void PrintPSMList(const MarkList& marks, const std::string& planIdentifier, ColumnWriter& out) {
  out.Field(10, planIdentifier.empty() ? std::string(kListTitle) : kListTitleFor + planIdentifier);
  out.EndLine();
  out.EndLine();
  WriteTable(marks, kListColumns.size(), out);
}

void WriteSavedPsmList(const MarkList& marks, const std::string& planIdentifier,
                       ColumnWriter& out) {
  out.Field(1, kListTitleFor + planIdentifier);
  out.EndLine();
  out.EndLine();
  WriteTable(marks, kListColumns.size() - 1, out);  // all but Status
  out.EndLine();
}

}  // namespace modKestralMGA

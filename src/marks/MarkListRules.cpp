#include "marks/MarkListRules.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/NumberFormat.h"
#include "common/NumericValue.h"

namespace modKestralMGA {

namespace {

// The upper case of one Windows-1252 byte: ASCII letters, the accented letters a-grave to thorn
// (but not the division sign), and s-caron, oe and y-diaeresis.
char UpperCp1252(char c) {
  const auto b = static_cast<unsigned char>(c);
  if (b >= 'a' && b <= 'z') return static_cast<char>(b - 0x20);
  if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 0x20);
  switch (b) {
    case 0x9A:
      return static_cast<char>(0x8A);  // s caron
    case 0x9C:
      return static_cast<char>(0x8C);  // oe
    case 0x9E:
      return static_cast<char>(0x8E);  // z caron
    case 0xFF:
      return static_cast<char>(0x9F);  // y diaeresis
    default:
      return c;
  }
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = UpperCp1252(c);
  return upper;
}

}  // namespace

bool IsGridEmpty(const MarkList& list) {
  return list.Empty() || list.Cell(0, kColPsmNo).empty();
}

bool DataToSave(const MarkList& list, std::size_t row) {
  if (row >= list.RowCount()) return false;
  const MarkRow& cells = list.Row(row);
  return !cells[kColPsmNo].empty() && !cells[kColEast].empty() && !cells[kColNorth].empty();
}

double AverageHeight(const MarkList& list) {
  double sum = 0.0;
  std::size_t count = 0;
  for (const MarkRow& row : list.Rows()) {
    const std::string& height = row[kColHeight];
    if (height.empty()) continue;
    sum += NumericValue(height);
    ++count;
  }
  if (sum > 0.0) return sum / static_cast<double>(count);
  return 0.0;
}

void RemoveDup(MarkList& list) {
  const std::size_t rows = list.RowCount();
  if (rows < 2) return;
  // The first row of each PSM No. text stays; every later row with the same text goes. The texts
  // seen are found through an open-addressing table of row numbers: a power of two places, at
  // most half of them used, each holding a row + 1 (0 when free).
  std::size_t capacity = 16;
  while (capacity < 2 * rows) capacity *= 2;
  const std::size_t mask = capacity - 1;
  std::vector<std::size_t> places(capacity, 0);
  std::vector<bool> keep(rows, true);
  bool anyRepeated = false;
  for (std::size_t row = 0; row < rows; ++row) {
    const std::string& psmNumber = list.Cell(row, kColPsmNo);
    std::size_t place = std::hash<std::string_view>{}(psmNumber)&mask;
    while (places[place] != 0 && list.Cell(places[place] - 1, kColPsmNo) != psmNumber) {
      place = (place + 1) & mask;
    }
    if (places[place] == 0) {
      places[place] = row + 1;
    } else {
      keep[row] = false;
      anyRepeated = true;
    }
  }
  if (anyRepeated) list.KeepRows(keep);
}

CellCommit CommitCellText(const MarkList& list, std::size_t row, int column,
                          std::string_view typed) {
  CellCommit commit;
  switch (column) {
    case kColPsmNo:
      if (typed.empty()) return commit;  // nothing stored; the current cell stays
      commit.Stores = true;
      if (typed.size() <= 4 || typed.find('/') != std::string_view::npos) {
        commit.Text = std::string(typed);
      } else {
        commit.Text = std::string(typed.substr(0, 4)) + "/" + std::string(typed.substr(4));
      }
      return commit;
    case kColEast:
    case kColNorth:
    case kColHeight:
      commit.Stores = true;
      if (!typed.empty()) commit.Text = FormatNumber(NumericValue(typed), kFormatMetres);
      return commit;
    default:
      commit.Stores = true;
      if (!typed.empty()) {
        commit.Text = UpperCase(typed);
      } else if (row >= 1 && row < list.RowCount() && list.Cell(row, column).empty()) {
        // Enter on an empty Order, Zone, Datum or Status cell repeats the value above.
        commit.Text = list.Cell(row - 1, column);
      }
      return commit;
  }
}

}  // namespace modKestralMGA

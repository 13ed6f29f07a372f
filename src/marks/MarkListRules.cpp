#include "marks/MarkListRules.h"

#include <iterator>
#include <string>
#include <string_view>
#include <utility>
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

// The mean of count heights summing to sum, or 0 when the sum is 0 or negative.
double MeanHeight(double sum, std::size_t count) {
  if (sum > 0.0) return sum / static_cast<double>(count);
  return 0.0;
}

// AverageHeight, telling sink (when given) about the heights left out.
double AverageHeightTelling(const MarkList& list, MessageSink* sink, const std::string& title) {
  double sum = 0.0;
  std::size_t count = 0;
  for (std::size_t row = 0; row < list.RowCount(); ++row) {
    const std::string& height = list.Cell(row, kColHeight);
    if (height.empty()) continue;
    const std::optional<double> value = HeightWithinLimit(height);
    if (value) {
      sum += *value;
      ++count;
    } else if (sink != nullptr) {
      const std::string& psmNumber = list.Cell(row, kColPsmNo);
      const std::string name =
          psmNumber.empty() ? "Row " + FormatNumber(static_cast<double>(row + 1), kFormatCount)
                            : psmNumber;
      sink->Message(name + " has a Height beyond 100000 m: left out of the average height", title,
                    MessageIcon::Exclamation);
    }
  }
  return MeanHeight(sum, count);
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

std::optional<double> HeightWithinLimit(std::string_view text) {
  const NumberReading reading = ReadNumericValue(text);
  if (reading.Status != NumberStatus::Ok) return std::nullopt;
  if (reading.Value > kHeightLimit || reading.Value < -kHeightLimit) return std::nullopt;
  return reading.Value;
}

std::string HeightBeyondLimitText(const std::string& text) {
  return "Average Height beyond 100000 m: " + text;
}

bool CheckAverageHeightText(const std::string& text, MessageSink& sink, const std::string& title) {
  if (HeightWithinLimit(text)) return true;
  sink.Message(HeightBeyondLimitText(text), title, MessageIcon::Exclamation);
  return false;
}

double AverageHeight(const MarkList& list) {
  return AverageHeightTelling(list, nullptr, "");
}

double AverageHeight(const MarkList& list, MessageSink& sink, const std::string& title) {
  return AverageHeightTelling(list, &sink, title);
}

MarkRowsWithoutRepeats::MarkRowsWithoutRepeats(MarkList& list)
    : m_list(list), m_listedBefore(list.RowCount()), m_keepListed(list.RowCount(), true) {
  Reserve(0);
  for (std::size_t row = 0; row < m_listedBefore; ++row) {
    AddHeight(list.Cell(row, kColHeight));
    if (SeenBefore(list.Cell(row, kColPsmNo))) {
      m_keepListed[row] = false;
      m_anyListedRepeat = true;
    }
  }
}

void MarkRowsWithoutRepeats::Reserve(std::size_t count) {
  m_list.Reserve(m_list.RowCount() + count);
  m_seen.reserve(m_list.RowCount() + count);
}

void MarkRowsWithoutRepeats::Append(MarkRow row) {
  AddHeight(row[kColHeight]);
  const std::size_t position = m_listedBefore + m_appended++;
  if (SeenBefore(row[kColPsmNo])) {
    m_removed.push_back({position, std::move(row)});
    return;
  }
  m_list.AppendRow(std::move(row));
}

double MarkRowsWithoutRepeats::AverageHeight() const {
  return MeanHeight(m_heightSum, m_heightCount);
}

void MarkRowsWithoutRepeats::Finish() {
  if (!m_anyListedRepeat) return;
  std::vector<bool> keep(m_list.RowCount(), true);
  std::vector<RemovedRow> removed;
  for (std::size_t row = 0; row < m_listedBefore; ++row) {
    keep[row] = m_keepListed[row];
    if (!keep[row]) removed.push_back({row, m_list.Row(row)});
  }
  m_list.KeepRows(keep);
  // The listed rows stand before every appended one.
  removed.insert(removed.end(), std::make_move_iterator(m_removed.begin()),
                 std::make_move_iterator(m_removed.end()));
  m_removed = std::move(removed);
  m_anyListedRepeat = false;
}

bool MarkRowsWithoutRepeats::SeenBefore(const std::string& psmNumber) {
  return !m_seen.insert(psmNumber).second;
}

void MarkRowsWithoutRepeats::AddHeight(const std::string& height) {
  // As AverageHeight reads them: every non-empty Height cell within the limit, in row order.
  if (height.empty()) return;
  const std::optional<double> value = HeightWithinLimit(height);
  if (!value) return;
  m_heightSum += *value;
  ++m_heightCount;
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

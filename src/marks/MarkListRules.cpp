#include "marks/MarkListRules.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/NumberFormat.h"
#include "common/NumericValue.h"
#include "geodesy/Keys.h"

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
  // The sum made while the list was read is the same sum, in the same order.
  const MarkList::HeightSum* known = list.KnownHeightSum();
  if (known != nullptr && (sink == nullptr || !known->AnyBeyondLimit)) {
    return MeanHeight(known->Sum, known->Count);
  }
  double sum = 0.0;
  std::size_t count = 0;
  for (std::size_t row = 0; row < list.RowCount(); ++row) {
    const std::string_view height = list.Cell(row, kColHeight);
    if (height.empty()) continue;
    const std::optional<double> value = HeightWithinLimit(height);
    if (value) {
      sum += *value;
      ++count;
    } else if (sink != nullptr) {
      const std::string_view psmNumber = list.Cell(row, kColPsmNo);
      const std::string name =
          psmNumber.empty() ? "Row " + FormatNumber(static_cast<double>(row + 1), kFormatCount)
                            : std::string(psmNumber);
      sink->Message(name + " has a Height beyond 100000 m: left out of the average height", title,
                    MessageIcon::Exclamation);
    }
  }
  return MeanHeight(sum, count);
}

// The place of a text's hash in a table of the given size (a power of two).
std::size_t FirstPlace(std::uint32_t hash, std::size_t places) {
  return static_cast<std::size_t>((std::uint64_t{hash} * 0x9E3779B97F4A7C15ULL) >> 32) &
         (places - 1);
}

// The hash of a PSM No. text: its key when it has one (equal texts have equal keys).
std::uint32_t PsmHash(std::string_view psmNumber, std::optional<std::int32_t> key) {
  if (key) return static_cast<std::uint32_t>(*key);
  return static_cast<std::uint32_t>(std::hash<std::string_view>()(psmNumber));
}

void AddTo(MarkList::HeightSum& sum, std::optional<double> height) {
  if (height) {
    sum.Sum += *height;
    ++sum.Count;
  } else {
    sum.AnyBeyondLimit = true;
  }
}

}  // namespace

bool IsGridEmpty(const MarkList& list) {
  return list.Empty() || list.Cell(0, kColPsmNo).empty();
}

bool DataToSave(const MarkList& list, std::size_t row) {
  if (row >= list.RowCount()) return false;
  const MarkRowView cells = list.Row(row);
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
    const std::string_view height = list.Cell(row, kColHeight);
    if (!height.empty()) AddHeight(HeightWithinLimit(height), true);
    if (SeenBefore(list.Cell(row, kColPsmNo), list.PsmKey(row), row)) {
      m_keepListed[row] = false;
      m_anyListedRepeat = true;
    }
  }
}

void MarkRowsWithoutRepeats::Reserve(std::size_t count) {
  m_list.Reserve(m_list.RowCount() + count);
  GrowSeen(m_list.RowCount() + count);
}

void MarkRowsWithoutRepeats::GrowSeen(std::size_t count) {
  std::size_t places = 16;
  while (places < 2 * count) places *= 2;
  if (places <= m_seen.size()) return;
  std::vector<std::uint64_t, BigBlockAllocator<std::uint64_t>> old(places, 0);
  old.swap(m_seen);
  for (const std::uint64_t slot : old) {
    if (slot == 0) continue;
    std::size_t place = FirstPlace(static_cast<std::uint32_t>(slot >> 32), places);
    while (m_seen[place] != 0) place = (place + 1) & (places - 1);
    m_seen[place] = slot;
  }
}

void MarkRowsWithoutRepeats::Append(const MarkRow& row) {
  ReadMarkRow read;
  std::copy(row.begin(), row.end(), read.Cells.begin());
  read.Key = TryPsmKey(row[kColPsmNo]);
  if (!row[kColHeight].empty()) read.Height = HeightWithinLimit(row[kColHeight]);
  Append(read);
}

void MarkRowsWithoutRepeats::Append(const ReadMarkRow& row) {
  const std::size_t position = m_listedBefore + m_appended++;
  const bool repeat = SeenBefore(row.Cells[kColPsmNo], row.Key, m_list.RowCount());
  if (!row.Cells[kColHeight].empty()) AddHeight(row.Height, !repeat);
  if (repeat) {
    MarkRow owned;
    std::copy(row.Cells.begin(), row.Cells.end(), owned.begin());
    m_removed.push_back({position, std::move(owned)});
    return;
  }
  m_list.AppendRow(row.Cells, row.Key);
}

std::span<char> MarkRowsWithoutRepeats::AdoptBytes(ByteBuffer bytes, std::size_t extra) {
  return m_list.AdoptBytes(std::move(bytes), extra);
}

double MarkRowsWithoutRepeats::AverageHeight() const {
  return MeanHeight(m_all.Sum, m_all.Count);
}

void MarkRowsWithoutRepeats::Finish() {
  if (!m_anyListedRepeat) {
    m_list.NoteHeightSum(m_kept);
    return;
  }
  std::vector<bool> keep(m_list.RowCount(), true);
  std::vector<RemovedRow> removed;
  for (std::size_t row = 0; row < m_listedBefore; ++row) {
    keep[row] = m_keepListed[row];
    if (!keep[row]) removed.push_back({row, m_list.Row(row).Owned()});
  }
  m_list.KeepRows(keep);
  // The listed rows stand before every appended one.
  removed.insert(removed.end(), std::make_move_iterator(m_removed.begin()),
                 std::make_move_iterator(m_removed.end()));
  m_removed = std::move(removed);
  m_anyListedRepeat = false;
}

bool MarkRowsWithoutRepeats::SeenBefore(std::string_view psmNumber, std::optional<std::int32_t> key,
                                        std::size_t row) {
  if (2 * (m_seenCount + 1) > m_seen.size()) GrowSeen(m_seenCount + 1);
  const std::uint32_t hash = PsmHash(psmNumber, key);
  const std::size_t mask = m_seen.size() - 1;
  for (std::size_t place = FirstPlace(hash, m_seen.size());; place = (place + 1) & mask) {
    const std::uint64_t slot = m_seen[place];
    if (slot == 0) {
      m_seen[place] = (std::uint64_t{hash} << 32) | (row + 1);
      ++m_seenCount;
      return false;
    }
    if (static_cast<std::uint32_t>(slot >> 32) == hash &&
        m_list.Cell(static_cast<std::uint32_t>(slot) - 1, kColPsmNo) == psmNumber) {
      return true;
    }
  }
}

void MarkRowsWithoutRepeats::AddHeight(std::optional<double> height, bool kept) {
  // As AverageHeight reads them: every non-empty Height cell within the limit, in row order.
  AddTo(m_all, height);
  if (kept) AddTo(m_kept, height);
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
        commit.Text = std::string(list.Cell(row - 1, column));
      }
      return commit;
  }
}

}  // namespace modKestralMGA

#include "compare/MixedMarks.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_set>

#include "common/NumberFormat.h"
#include "compare/ComparePSMJoins.h"

namespace modKestralMGA {

namespace {

// The texts of one column met among the plan's PSMs, each with how many PSMs carry it.
class CellTally {
 public:
  void Add(std::string_view cell) {
    const std::size_t first = cell.find_first_not_of(" \t");
    if (first == std::string_view::npos) return;
    const std::string_view text = cell.substr(first, cell.find_last_not_of(" \t") + 1 - first);
    std::string folded(text);
    std::ranges::transform(folded, folded.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const auto found = std::ranges::find(m_entries, folded, &Entry::Folded);
    if (found != m_entries.end()) {
      ++found->Count;
    } else {
      m_entries.push_back({std::string(text), std::move(folded), 1});
    }
  }
  // "<lead>: GDA94 (3), GDA2020 (5)" when more than one text was met.
  void Warn(const std::string& lead, std::vector<std::string>& warnings) const {
    if (m_entries.size() < 2) return;
    std::string text = lead + ": ";
    for (const Entry& entry : m_entries) {
      if (&entry != &m_entries.front()) text += ", ";
      text +=
          entry.Shown + " (" + FormatNumber(static_cast<double>(entry.Count), kFormatCount) + ")";
    }
    warnings.push_back(std::move(text));
  }

 private:
  struct Entry {
    std::string Shown;
    std::string Folded;
    std::int64_t Count = 0;
  };
  std::vector<Entry> m_entries;
};

}  // namespace

std::vector<std::string> MixedDatumAndZoneWarnings(const Plan& plan, MarkIndex& marks) {
  const MarkList& list = marks.List();
  CellTally datums, zones;
  std::unordered_set<std::int32_t> seen;
  for (const PlanLine& line : plan.PlanLines) {
    for (const std::int32_t point : {line.FromPoint, line.ToPoint}) {
      if (point <= kHighestOrdinaryPoint || !seen.insert(point).second) continue;
      const std::optional<std::size_t> row = marks.FindRow(point);
      if (!row) continue;
      datums.Add(list.Cell(*row, kColDatum));
      zones.Add(list.Cell(*row, kColZone));
    }
  }
  std::vector<std::string> warnings;
  datums.Warn("The plan's marks are on more than one datum", warnings);
  zones.Warn("The plan's marks are in more than one zone", warnings);
  return warnings;
}

bool RefuseMixedMarks(const Plan& plan, MarkIndex& marks, MessageSink& sink) {
  const std::vector<std::string> warnings = MixedDatumAndZoneWarnings(plan, marks);
  for (const std::string& warning : warnings) {
    sink.Message(warning, kJoinComparisonTitle, MessageIcon::Exclamation);
  }
  return !warnings.empty();
}

}  // namespace modKestralMGA

#pragma once

// Doubles and golden files of the core tests: a results list that keeps its lines, the marks and
// plans of the comparison, and transcripts of what a routine wrote and said, compared with
// golden files under tests/data/model.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "CaseFile.h"
#include "GeodesyFixtures.h"
#include "RecordingSink.h"
#include "ReportFixtures.h"
#include "TempFolder.h"
#include "common/ColumnWriter.h"
#include "common/NumberFormat.h"
#include "compare/AccuracyCriteria.h"
#include "compare/ComparePSMJoins.h"
#include "geodesy/Angles.h"
#include "markjoins/MarkJoins.h"

namespace modKestralMGA::testsupport {

// Keeps the lines and, in `events`, the order of "busy" and "normal" (and, when the test shares
// the log with its sink and pending-events double, of "message" and "events").
class RecordingResultList final : public ResultList {
 public:
  explicit RecordingResultList(std::vector<std::string>* events = nullptr) : m_events(events) {}
  void Clear() override { m_lines.clear(); }
  void AddLine(std::string line) override { m_lines.push_back(std::move(line)); }
  void SetBusy(bool busy) override {
    if (m_events != nullptr) m_events->push_back(busy ? "busy" : "normal");
  }
  const std::vector<std::string>& Lines() const { return m_lines; }

 private:
  std::vector<std::string> m_lines;
  std::vector<std::string>* m_events;
};

// Compares actual with the golden file tests/data/model/name byte for byte (Golden).
inline void ExpectGolden(const std::string& actual, const std::string& name) {
  const std::string path = std::string(KESTRAL_TEST_DATA_DIR) + "/model/" + name;
  EXPECT_EQ(actual, Golden(path, actual)) << "differs from " << path;
}

// text with every `from` replaced by `to` (a temporary folder's path by a fixed name).
inline std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// text cut at every `separator`.
inline std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  for (std::size_t at = 0, end = 0; end != std::string::npos; at = end + separator.size()) {
    end = text.find(separator, at);
    parts.push_back(text.substr(at, end - at));
  }
  return parts;
}

// The rows of the table tests/data/model/name, fields split at " | "; "\r" and "\n" in a field
// stand for CR and LF.
inline std::vector<Fields> TableRows(const std::string& name) {
  std::vector<Fields> rows;
  for (const std::string& line : CaseLines("model", name))
    rows.push_back(Split(Replaced(Replaced(line, "\\r", "\r"), "\\n", "\n"), " | "));
  return rows;
}

// The messages, one a line: "! title | text | icon".
inline std::string Said(const RecordingSink& sink) {
  std::string text;
  for (const auto& e : sink.Entries()) {
    text +=
        "! " + e.Title + " | " + e.Text + " | " + std::to_string(static_cast<int>(e.Icon)) + "\n";
  }
  return text;
}

// Lines, one a line; with `columns`, each field as "column:text" between bars.
inline std::string Written(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "|" + line + "|\n";
  return text;
}
inline std::string Columns(const RecordingColumnWriter& out) {
  std::string text;
  for (const auto& line : out.Items()) {
    for (const auto& item : line) text += std::to_string(item.Column) + ":" + item.Text + "|";
    text += "\n";
  }
  return text;
}

// The marks of the comparison tests, all of order 1 unless said: 6628/1001 and 6628/1002 are the
// worked join, (280000, 6130000) to (281000, 6131000), which at an average height of 100 m has
// bearing 45.0000, 1413.962 m at ground and csf 1.00017809. Order 6: 6628/1003, 1000 m due north
// of 6628/1001. A zero easting: 6628/1004. One second of arc east of north, 1000 m from 6628/1001
// (MGA bearing 0.0001): 6628/1005. Due north, 1000 m: 6628/1007.
// Like: at an average height of 100 m, a plan point placed from 6628/1001 at (1000, 1000) as the
// MGA join lies (its bearing at whole seconds, its ground distance), turned by `seconds` of arc
// clockwise and lengthened by `metres`.
struct CompareData {
  MarkList marks = [] {
    MarkList list;
    list.AppendRow(JoinMark("6628/1001", "280000", "6130000", "1"));
    list.AppendRow(JoinMark("6628/1002", "281000", "6131000", "2"));
    list.AppendRow(JoinMark("6628/1003", "280000", "6131000", "6"));
    list.AppendRow(JoinMark("6628/1004", "0", "6131000", "1"));
    list.AppendRow(JoinMark("6628/1005", "280000.00485", "6131000", "1"));
    list.AppendRow(JoinMark("6628/1007", "280000", "6131000", "1"));
    return list;
  }();
  MarkIndex index{marks};
  FixedReportSettings settings;
  const PlanPoint origin{66281001, 1000.0, 1000.0, 1};

  PlanPoint Like(std::int32_t toKey, double seconds = 0.0, double metres = 0.0,
                 const PlanPoint* from = nullptr) {
    if (from == nullptr) from = &origin;
    JoinContext context{index, settings};
    const JoinResult join = CombinedScaleFactor(context, from->PointNo, toKey);
    const double angle =
        DMSToRadians(FormatNumber(join.Bearing, kFormatBearing)) + seconds / kSecondsPerRadian;
    const double length = join.Distance + metres;
    return {toKey, from->East + std::sin(angle) * length, from->North + std::cos(angle) * length,
            1};
  }
};

// A built plan holding exactly these points, in this order.
inline Plan PlanOf(std::vector<PlanPoint> points) {
  Plan plan;
  plan.PlanPointCount = static_cast<std::int64_t>(points.size()) - 1;
  plan.PlanPoints = std::move(points);
  return plan;
}

}  // namespace modKestralMGA::testsupport

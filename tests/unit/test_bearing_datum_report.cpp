// The bearing datum section of the joins report: the datum line from the plan and from the MGA
// coordinates, and the cases in which it is left out or shows what it cannot compute.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingSink.h"
#include "ReportFixtures.h"
#include "common/ColumnWriter.h"
#include "common/Errors.h"
#include "reports/BearingDatumReport.h"

namespace modKestralMGA {
namespace {

using Lines = std::vector<std::string>;
using testsupport::RecordingSink;

constexpr const char* kHeading = "BEARING DATUM                Bearing        Distance";

// The section for datum PSMs from and to over the report fixtures, as lines; messages to sink.
Lines DatumSection(const std::string& from, const std::string& to, RecordingSink& sink) {
  testsupport::ReportData report;
  report.settings.SetDatum(from, to);
  RecordingColumnWriter out;
  BearingDatumReport(report.plan, report.context, report.settings, out, sink);
  return out.Lines();
}

TEST(BearingDatumReport, WritesTheDatumLineFromThePlanAndFromTheMarks) {
  // Plan lines from the fixture's coordinates; MGA lines from the worked example of the combined
  // scale factor (45.0000, 1413.9617536 m, csf 1.000178087) and, above the order limit, the
  // plane join (500 m each way: 707.1068 m, csf exactly 1). A PSM missing from the list leaves
  // the MGA join's zeros.
  const struct {
    const char* what;
    const char* from;
    const char* to;
    Lines expected;
  } cases[] = {
      {"both found, within the order limit",
       "6628/1001",
       "6628/1002",
       {"", kHeading, "6628/1001     6628/1002      45.0000        1413.962       (KESTRAL)",
        "6628/1001     6628/1002      45.0000        1413.962       (MGA)",
        "Combined Scale Factor = 1.00017809", ""}},
      {"one above the order limit: the plane join",
       "6628/1001",
       "6628/1004",
       {"", kHeading, "6628/1001     6628/1004      45.0000        706.981        (KESTRAL)",
        "6628/1001     6628/1004      45.0000        707.107        (MGA)",
        "Combined Scale Factor = 1.00000000", ""}},
      {"one in the plan but not in the list: zeros, not the plan's bearing",
       "6628/1001",
       "6628/1005",
       {"", kHeading, "6628/1001     6628/1005      315.0000       707.107        (KESTRAL)",
        "6628/1001     6628/1005      0.0000         0.000          (MGA)",
        "Combined Scale Factor = 0.00000000", ""}},
      {"one left unsolved in the plan",
       "6628/1001",
       "6628/1006",
       {"", kHeading, "6628/1001     6628/1006      Plan coordinates not available",
        "6628/1001     6628/1006      0.0000         0.000          (MGA)",
        "Combined Scale Factor = 0.00000000", ""}},
      {"a first number past column 15 pushes the second to the next line",
       "6628/1001 (north)",
       "6628/1002",
       {"", kHeading, "6628/1001 (north)",
        "              6628/1002      45.0000        1413.962       (KESTRAL)", "6628/1001 (north)",
        "              6628/1002      45.0000        1413.962       (MGA)",
        "Combined Scale Factor = 1.00017809", ""}},
  };
  for (const auto& c : cases) {
    RecordingSink sink;
    EXPECT_EQ(DatumSection(c.from, c.to, sink), c.expected) << c.what;
    EXPECT_EQ(sink.Count(), 0u) << c.what;
  }
}

TEST(BearingDatumReport, LeftOutWhenADatumBoxIsEmptyOrThePlanLacksAPsm) {
  const struct {
    const char* what;
    const char* from;
    const char* to;
    bool message;
  } cases[] = {
      {"second box empty", "6628/1001", "", false},
      {"first box empty", "", "6628/1002", false},
      {"one PSM not in the plan", "6628/1001", "6628/1009", true},
      {"neither in the plan", "6628/2001", "6628/2002", true},
      {"an ordinary point number is looked for too, but 99 is not in the plan", "99", "6628/1001",
       true},
  };
  for (const auto& c : cases) {
    RecordingSink sink;
    EXPECT_TRUE(DatumSection(c.from, c.to, sink).empty()) << c.what;
    if (c.message) {
      EXPECT_EQ(sink.Entries(),
                (std::vector<RecordingSink::Entry>{{"Cannot find Datum line PSM's in KESTRAL",
                                                    "MGA Joins", MessageIcon::Exclamation}}))
          << c.what;
    } else {
      EXPECT_EQ(sink.Count(), 0u) << c.what;
    }
  }
}

// A datum PSM given twice matches its plan point twice: two matches, a line of length 0.
TEST(BearingDatumReport, SamePsmTwiceCountsAsTwoMatches) {
  RecordingSink sink;
  const Lines lines = DatumSection("6628/1001", "6628/1001", sink);
  EXPECT_EQ(sink.Count(), 0u);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[2], "6628/1001     6628/1001      0.0000         0.000          (KESTRAL)");
}

TEST(BearingDatumReport, DatumKeyBeyond32BitsThrows) {
  RecordingSink sink;
  EXPECT_THROW(DatumSection("6628/1001", "6628/99999999", sink), KeyTooLargeError);
}

}  // namespace
}  // namespace modKestralMGA

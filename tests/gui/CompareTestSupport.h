#pragma once

// The comparison seen from the windows: a main window started with marks whose MGA joins are
// known, small plans written to the test's folder, and the results list as the user reads it.
#include <QAction>
#include <QListView>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "reports/ui/frmMGADisplay.h"

// first followed by second.
inline std::vector<std::string> Joined(std::vector<std::string> first,
                                       const std::vector<std::string>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

class CompareTest : public MainWindowTest {
 protected:
  // The marks, all at a height of 100 m (so the average height is 100.000): 6628/1001 at
  // (280000, 6130000) and 6628/1002 at (281000, 6131000), whose join at that height has bearing
  // 45.0000 and 1413.9617536 m at ground (the worked example of the scale factors: GRS80,
  // combined scale factor 1.00017809); 6628/1003 of order 6 and 6628/1007 of order 1, both
  // 1000 m grid north of 6628/1001.
  frmKestralMGA& StartWithMarks() {
    return Start(WriteFile(
        "marks.dmp", {MarkDetailsLine("6628", "1001", "280000.000", "6130000.000", "100", "1"),
                      MarkDetailsLine("6628", "1002", "281000.000", "6131000.000", "100", "2"),
                      MarkDetailsLine("6628", "1003", "280000.000", "6131000.000", "100", "6"),
                      MarkDetailsLine("6628", "1007", "280000.000", "6131000.000", "100", "1")}));
  }

  // Writes the lines file name.lns; returns the plan identifier (the path without ".lns").
  std::string WritePlan(const std::string& name, const std::vector<std::string>& lines) {
    WriteFile(name + ".lns", lines);
    return PathIn(name);
  }

  void Compare() { Find<QAction>("mnuOptionsComparePSM")->trigger(); }

  frmMGADisplay& Results() { return m_window->ResultsWindow(); }

  template <typename Widget>
  Widget* FindInResults(const char* name) {
    return FindIn<Widget>(Results(), name);
  }

  // The lines the results list shows.
  std::vector<std::string> ShownLines() {
    const QAbstractItemModel* model = FindInResults<QListView>("lstPSMJoins")->model();
    std::vector<std::string> lines;
    for (int row = 0; row < model->rowCount(); ++row) {
      lines.push_back(model->index(row, 0).data().toString().toStdString());
    }
    return lines;
  }

  // The heading lines of a comparison of planIdentifier without a bearing datum.
  static std::vector<std::string> Heading(const std::string& planIdentifier) {
    return {"Comparison of PSM joins for " + planIdentifier, "", " ", "From            To", " "};
  }
};

#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Dialogs.h"
#include "compare/ComparePSMJoins.h"
#include "compare/CompareSettings.h"
#include "diagnosis/Diagnosis.h"
#include "markjoins/MarkIndex.h"
#include "marks/MarkList.h"
#include "plan/Plan.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QListView;
class QListWidget;
class QPrinter;
class QPushButton;
class QTabWidget;
class QTableWidget;
class JoinDiagramView;
class ResultLinesModel;

// The results window: the lines of the last comparison in lstPSMJoins, the diagnosis of its joins
// in the panel under the list, the four print options of the joins report, Close, Print and
// Preview. The main window creates it hidden at start-up and
// keeps it until the program ends: Close only hides it, so the options and the list stay as they
// were for the next Print and the next comparison.
//
// It is the comparison's result list: lines added while a comparison runs reach the view in
// batches (FlushLines, before each turn of the event loop and at the end), and the busy pointer
// shows over the window meanwhile.
class frmMGADisplay final : public QWidget, public modKestralMGA::ResultList {
  Q_OBJECT

 public:
  // dialogs, plan, settings and marks belong to the main window and outlive this window: the
  // plan of the last comparison, the main window's live settings and the mark list, which the
  // joins report reads at the moment Print runs.
  frmMGADisplay(Dialogs& dialogs, const modKestralMGA::Plan& plan,
                const modKestralMGA::CompareSettings& settings,
                const modKestralMGA::MarkList& marks, QWidget* parent = nullptr);
  ~frmMGADisplay() override;

  // The result list of the comparison. Clear empties the diagnosis panel too.
  void Clear() override;
  void AddLine(std::string line) override;
  void SetBusy(bool busy) override;
  // Shows what the comparison did in lblSummary, above the list.
  void Summary(const modKestralMGA::CompareSummary& summary) override;

  // Fills the diagnosis panel: the counts and the finding, the fit, the marks (suspects
  // highlighted), then the suspects, the renumbering candidates and the plan checks not
  // acceptable.
  void ShowDiagnosis(const modKestralMGA::Diagnosis& diagnosis);
  // Fills the Diagram tab from the comparison's judgements and their diagnosis: the plan
  // planIdentifier (its curve file draws the arcs), titled with the settings then in force and
  // the report's date.
  void ShowDiagram(const std::string& planIdentifier,
                   const std::vector<modKestralMGA::JudgedJoin>& joins,
                   const modKestralMGA::Diagnosis& diagnosis);
  // Hears the comparison's joins as it judges them, to know the row of each join's verdict line.
  modKestralMGA::JoinObserver& VerdictRows();

  // Shows the lines added since the last call.
  void FlushLines();
  // The lines the list shows, as the comparison wrote them.
  const std::vector<std::string>& Lines() const;

  // The print options, each set only when its box is checked (not greyed).
  bool PrintList() const;
  bool FullJoins() const;
  bool ToFile() const;
  bool PrintDiagnosis() const;
  bool PrintDiagram() const;
  // "Only joins not acceptable" is ticked in the Diagram tab.
  bool OnlyNotAcceptable() const;
  // Ticks or clears "Print full join details" (the main window's bearing datum options).
  void SetFullJoins(bool on);
  // Print and Preview wait while a comparison runs.
  void SetPrintEnabled(bool enabled);
  // The text of the report's date line, asked for each time the report is composed. By default
  // today in the system's language (ReportDateText).
  void SetReportDate(std::function<std::string()> dateText);

  void cmdClose_Click();
  // The joins report: saved to the file chosen in the save dialog when "Print to file" is
  // checked, otherwise printed on the printer chosen in the print dialog. A cancelled dialog ends
  // the command quietly; "Printing completed" follows only a report written whole.
  void cmdPrint_Click();
  // Shows the pages Print sends to the printer, in the print preview.
  void cmdPreview_Click();
  // Saves the diagram as an SVG or PNG picture, as the window shows its joins, under the name
  // chosen in the save dialog (a cancel ends the command quietly).
  void cmdSaveDiagram_Click();

 private:
  class LiveReportSettings;
  class VerdictRowObserver;

  // Runs fill on the report's date text with the hourglass shown and Print disabled; shows
  // "Printing completed" when fill reports the report written whole.
  void RunReport(const std::function<bool(const std::string&)>& fill);
  // The printed joins report as one print job on printer. Returns whether it was written whole.
  bool PrintReportOn(QPrinter& printer, const std::string& dateText);
  // The diagnosis panel, empty, under the list.
  QGroupBox* CreateDiagnosisPanel();
  // The list of result lines and the Diagram tab, as the tabs of tabResults.
  void CreateResultTabs();
  // The Diagram tab: its options over the diagram.
  QWidget* CreateDiagramPage();
  // The list's current line chosen: the join it belongs to is highlighted in the diagram.
  void ListLineChosen(int row);
  // A join chosen in the diagram: its verdict line becomes the list's current line.
  void DiagramJoinChosen(std::size_t join);

  Dialogs& m_dialogs;
  const modKestralMGA::Plan& m_plan;
  // The main window's settings read live, with the print options of this window.
  std::unique_ptr<LiveReportSettings> m_reportSettings;
  // The report's lookups of marks by key, rebuilt only when the list has changed.
  modKestralMGA::MarkIndex m_markIndex;
  std::function<std::string()> m_dateText;
  ResultLinesModel* m_model = nullptr;
  std::unique_ptr<VerdictRowObserver> m_verdictRowObserver;
  // The row of each judged join's verdict line, in the comparison's order.
  std::vector<std::size_t> m_verdictRows;
  // The diagram's join of each judged join; none for a join with an end not placed.
  std::vector<std::optional<std::size_t>> m_diagramJoins;

  QGroupBox* Frame1 = nullptr;
  QCheckBox* chkPrintList = nullptr;
  QCheckBox* chkFullJoins = nullptr;
  QCheckBox* chkToFile = nullptr;
  QCheckBox* chkPrintDiagnosis = nullptr;
  QCheckBox* chkPrintDiagram = nullptr;
  QTabWidget* tabResults = nullptr;
  QCheckBox* chkNotAcceptableOnly = nullptr;
  QPushButton* cmdFitDiagram = nullptr;
  QPushButton* cmdSaveDiagram = nullptr;
  JoinDiagramView* picDiagram = nullptr;
  QLabel* lblSummary = nullptr;
  QListView* lstPSMJoins = nullptr;
  QPushButton* cmdClose = nullptr;
  QPushButton* cmdPrint = nullptr;
  QPushButton* cmdPreview = nullptr;
  QGroupBox* grpDiagnosis = nullptr;
  QLabel* lblFinding = nullptr;
  QLabel* lblFit = nullptr;
  QTableWidget* tblDiagnosisMarks = nullptr;
  QListWidget* lstDiagnosisNotes = nullptr;
};

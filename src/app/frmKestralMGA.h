#pragma once

#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

#include "app/Dialogs.h"
#include "app/EventLoopTurns.h"
#include "compare/CompareSettings.h"
#include "markjoins/MarkIndex.h"
#include "marks/MarkList.h"
#include "plan/Plan.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QMenu;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class QTableView;
class QToolBar;
class MarkCellEditor;
class MarkTableModel;
class frmMGADisplay;
class frmImportText;
class frmMGAJoins;

// The main window: the mark list with its in-place editor (MarkCellEditor) and row commands, the
// settings of the plan comparison, and the menus and toolbar from which every command starts. Its
// controls are the program's settings store: the join routines and the comparison read them at the
// moment of each call (CompareSettings, which holds "Compare up to Order" and "Average Height" as
// JoinSettings), with the program-wide ellipsoid choice that the join calculation window changes.
//
// Grid rows are counted as the user sees them: row 0 is the title row, row r (from 1) is mark r,
// which is row r - 1 of the core MarkList and of the model.
class frmKestralMGA final : public QMainWindow, public modKestralMGA::CompareSettings {
  Q_OBJECT

 public:
  // dialogs shows every message box and file dialog of the window; it outlives the window.
  explicit frmKestralMGA(Dialogs& dialogs, QWidget* parent = nullptr);
  ~frmKestralMGA() override;

  // Start-up: lays out the grid, fills the accuracy criteria and, when commandLine is not empty,
  // reads the screen dump file it names.
  void Form_Load(const std::string& commandLine);

  // The settings, over the live controls: texts as Windows-1252 bytes, the plan identifier as
  // the file system's bytes.
  std::string MaxOrderText() const override;
  std::string AverageHeightText() const override;
  modKestralMGA::DistanceCalculationMode CalculationMode() const override;
  // Changes the program-wide ellipsoid choice and shows it in the join calculation window.
  void SetCalculationMode(modKestralMGA::DistanceCalculationMode mode);
  std::string PlanIdentifier() const override;
  std::string AccuracyCriterionText() const override;
  // The shipped criteria and those of the user's criteria file, read at start-up.
  const modKestralMGA::CriteriaTable& Criteria() const override { return m_criteria; }
  bool TwoPsms() const override;
  std::string Datum1Text() const override;
  std::string Datum2Text() const override;
  bool FullDetails() const override;

  const modKestralMGA::MarkList& Marks() const { return m_marks; }
  MarkTableModel& MarkModel() { return *m_model; }
  // The plan of the last comparison: its lines as read and its points as built. Each Compare
  // replaces it once the plan's lines were read; the joins report reads it until the next one.
  const modKestralMGA::Plan& ComparedPlan() const { return m_plan; }
  // The results window, created hidden with this window and kept as long as it.
  frmMGADisplay& ResultsWindow() { return *m_display; }
  // The turns of the event loop that a running comparison gives.
  EventLoopTurns& PendingTurns() { return m_turns; }
  // True while a comparison runs.
  bool Comparing() const { return m_comparing; }
  // The delimited text import window, created hidden by Form_Load.
  frmImportText& ImportWindow() { return *m_frmImportText; }
  // The join calculation window, created hidden with the main window.
  frmMGAJoins& JoinsWindow() { return *m_joins; }

  // The current cell of the grid: row 0 while the list has no mark row or no cell is current.
  int CurrentGridRow() const;
  int CurrentColumn() const;
  // The number of grid rows, the title row included.
  int GridRows() const;

  // The mark list: the grid (its cell editor is MarkCellEditor) and the row commands.
  void SetupGrid();
  void Grid1_Click();
  void cmdAdd_Click();
  void cmdInsert_Click();
  void cmdDelete_Click();
  void cmdClear_Click();

  // The plan and the bearing datum.
  void cmdBrowse_Click();
  void optTwoPSMs_Click();
  void optTertiary_Click();
  void optNone_Click();

  // Menus and toolbar.
  void mnuFileOpen_Click();
  // Opens a Mark Details or screen dump file into the list, as Open does after its question and
  // dialog (also a recent file, and a file dropped on the window).
  void OpenMarkDetails(const std::string& path);
  void mnuFileSave_Click();
  // Save: false when nothing was saved (refused, cancelled or failed).
  bool SaveList();
  // Before Exit, Open, Clear and a drop: when the list changed since it was opened or saved,
  // asks "The mark list has changed. Save it first?" (Save runs Save). True when the command may
  // go on.
  bool MaySetListAside();
  // Ctrl+C: the selected rows (the current row without a selection) as tab-separated text with
  // the column titles first.
  void mnuEditCopy_Click();
  // Ctrl+V: tab-separated rows, in the list's column order, from the current cell on, each value
  // stored by the cell rules; rows past the end are added. One step of the undo history.
  void mnuEditPaste_Click();
  // Delete: the selected cells emptied, one step of the undo history.
  void DeleteSelectedCells();
  void mnuFileImport_Click();
  // Adds the monuments of a LandXML file that carry MGA coordinates to the list, as one step that
  // Undo takes back; a file that cannot be read gives its message under "Import LandXML error".
  void mnuFileImportLandXml_Click();
  // The sample line of a delimited text file (its first line of at least four characters, else
  // its last line); "" after a failure, which shows its message under "Import file error".
  std::string ShowFirstLine(const std::string& corfile);
  // Prints the PSM list on the printer chosen in the print dialog (a cancel ends quietly).
  void mnuFilePrint_Click();
  // Shows the pages Print sends, in the print preview.
  void mnuFilePrintPreview_Click();
  void mnuExit_Click();
  void mnuOptionsComparePSM_Click();
  void mnuOptionsCalculateAMG_Click();
  void mnuHelpContents_Click();
  void mnuHelpAbout_Click();
  void Toolbar1_ButtonClick(QAction* button);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolbar();
  QGroupBox* BuildMarkListFrame();
  QGroupBox* BuildKestralFileFrame();
  void Form_Unload();
  // The settings kept between runs (QSettings): window places, the comparison's settings, the
  // import's column numbers and the ellipsoid. The mark list itself is never kept there.
  void RestoreSettings();
  void SaveSettings() const;
  // The recent files of the File menu: Mark Details files and plans, up to 8 of each.
  void AddRecentFile(const char* kind, const QString& path);
  void FillRecentMenu();
  // The title bar: the open file's name (when there is one) and the change marker.
  void ShowTitle();
  // The list as last opened or saved came from, or was saved to, path.
  void SetCurrentFile(const std::string& path);

  void SetCurrentCell(int gridRow, int column);
  // Drops an edit in progress in the grid: the cell keeps its text.
  void HideEditor();
  // Print's refusal of an empty list: "Nothing in list to print" and false.
  bool CheckListToPrint();
  // The PSM list as one print job on printer. Throws KestralError when the job cannot be run.
  void PrintPsmListOn(QPrinter& printer) const;
  // Ticks or clears the full-details boxes: chkFullDetails here and the results window's
  // "Print full join details".
  void SetFullDetails(bool on);
  // The Compare command from the criterion check to the closing message.
  void ComparePlan();
  // Writes the list's average height into txtAvHeight ("0.000"), each Height beyond the limit
  // left out with a message under title.
  void ShowAverageHeight(const char* title);
  // While a comparison runs, the commands that would change the mark list or the plan under it
  // (a second Compare, Calculate Joins, Open, Import and the import window's OK, the row
  // commands, grid edits, Print in the results window) wait, disabled; Exit stays.
  void SetComparing(bool running);
  // Before a plan whose marks lie on more than one datum or zone is compared, warns so with
  // Continue and Cancel ("Join Comparison"). True when there is nothing to warn of or the user
  // continues.
  bool MayCompareMixedMarks(const modKestralMGA::Plan& plan);

  Dialogs& m_dialogs;
  modKestralMGA::MarkList m_marks;
  MarkTableModel* m_model = nullptr;
  frmImportText* m_frmImportText = nullptr;
  modKestralMGA::DistanceCalculationMode m_calculationMode =
      modKestralMGA::DistanceCalculationMode::MGA94_2020;
  // The comparison's lookups of marks by key, rebuilt only when the list has changed.
  modKestralMGA::MarkIndex m_markIndex{m_marks};
  modKestralMGA::Plan m_plan;
  modKestralMGA::CriteriaTable m_criteria = modKestralMGA::BuiltInCriteria();
  EventLoopTurns m_turns;
  bool m_comparing = false;
  std::vector<QAction*> m_waitWhileComparing;
  QString m_currentFile;  // the Mark Details file last opened or saved, as chosen
  QMenu* mnuFileRecent = nullptr;
  // Declared after what it reads, so that it goes first.
  std::unique_ptr<frmMGADisplay> m_display;
  std::unique_ptr<frmMGAJoins> m_joins;

  QToolBar* Toolbar1 = nullptr;
  QTableView* Grid1 = nullptr;
  MarkCellEditor* m_cellEditor = nullptr;
  QPushButton* cmdAdd = nullptr;
  QPushButton* cmdInsert = nullptr;
  QPushButton* cmdDelete = nullptr;
  QPushButton* cmdClear = nullptr;
  QLineEdit* txtAvHeight = nullptr;
  QLineEdit* txtPlan = nullptr;
  QPushButton* cmdBrowse = nullptr;
  QComboBox* cboAccuracyType = nullptr;
  QRadioButton* optTwoPSMs = nullptr;
  QLineEdit* txtDatum1 = nullptr;
  QLineEdit* txtDatum2 = nullptr;
  QRadioButton* optTertiary = nullptr;
  QRadioButton* optNone = nullptr;
  QLineEdit* txtMaxOrder = nullptr;
  QCheckBox* chkFullDetails = nullptr;
};

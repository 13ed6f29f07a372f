#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "app/Dialogs.h"
#include "geodesy/JoinSettings.h"
#include "markjoins/JoinCalculation.h"
#include "markjoins/MarkIndex.h"
#include "marks/MarkList.h"

class JoinListModel;
class PsmNumberListModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPrinter;
class QPushButton;
class QRadioButton;
class QTableView;

// The join calculation window: the surveyor picks PSM numbers from the list one after another,
// and every pick after the first adds the join from the previous pick to the new one (from, to,
// bearing, distance, combined scale factor). Its three options show the program-wide ellipsoid
// choice and are the only place that changes it. The main window creates it hidden at start-up
// and keeps it until the program ends: Close only hides it, so rows, list and choice survive.
class frmMGAJoins final : public QWidget {
  Q_OBJECT

 public:
  // marks and settings are the main window's mark list and live settings (order limit, average
  // height, ellipsoid choice), read at every pick; setMode changes the program-wide choice when
  // the user picks an option. font is the main window's: the join columns are measured in it.
  frmMGAJoins(Dialogs& dialogs, const modKestralMGA::MarkList& marks,
              const modKestralMGA::JoinSettings& settings,
              std::function<void(modKestralMGA::DistanceCalculationMode)> setMode,
              const QFont& font, QWidget* parent = nullptr);
  ~frmMGAJoins() override;

  // The Calculate Joins command's part in this window: empties the list, the join rows and the
  // from-mark, enables Print, lists the PSM number of every complete row of the mark list and
  // shows the window, modeless. The options stay as they are.
  void FillAndShow();
  // Shows the program-wide ellipsoid choice in the options.
  void ShowCalculationMode(modKestralMGA::DistanceCalculationMode mode);

  // The handlers.
  void lstMarks_Click();
  void cmdClear_Click();
  void cmdClose_Click();
  void cmdPrint_Click();
  // Shows the pages Print would send, in the print preview.
  void cmdPreview_Click();

  // The date text of the printed list's heading, asked for at each print. By default today in
  // the system's language (ReportDateText).
  void SetReportDate(std::function<std::string()> dateText);

  // The join rows below the header row.
  const std::vector<modKestralMGA::JoinListRow>& JoinRows() const;
  // The number of rows of the join grid, the header row included.
  int GridRows() const;

 private:
  // Lays the join grid out: five columns as wide as 13, 13, 15, 15 and 18 letters x; the window
  // takes the size its controls ask for.
  void Form_Load();
  void BuildControls();
  // Puts the controls in the window's layout, sized by the font.
  void LayOutControls();
  // Prints the join list on printer: an empty line, then the header row and every join row at
  // columns 1, 15, 30, 45 and 60 of the 10-point printer font. Throws KestralError when the
  // printer cannot be started or the job cannot be finished.
  void PrintJoinList(QPrinter& printer) const;

  Dialogs& m_dialogs;
  const modKestralMGA::MarkList& m_marks;
  const modKestralMGA::JoinSettings& m_settings;
  modKestralMGA::MarkIndex m_index;
  std::function<void(modKestralMGA::DistanceCalculationMode)> m_setMode;
  std::function<std::string()> m_dateText;
  PsmNumberListModel* m_numbers = nullptr;
  JoinListModel* m_rows = nullptr;

  QLabel* Label1 = nullptr;
  QListView* lstMarks = nullptr;
  QGroupBox* Frame1 = nullptr;
  // The ellipsoid choice (objectNames Option3, Option1 and Option2).
  QRadioButton* optMGA = nullptr;    // "MGA94/2020", GRS80
  QRadioButton* optAMG84 = nullptr;  // "AMG84", Australian National Spheroid
  QRadioButton* optPlane = nullptr;  // "Plane", plane joins
  QPushButton* cmdClose = nullptr;
  QPushButton* cmdPrint = nullptr;
  QPushButton* cmdClear = nullptr;
  QPushButton* cmdPreview = nullptr;
  QTableView* Grid1 = nullptr;
  QLineEdit* txtPSM = nullptr;
};

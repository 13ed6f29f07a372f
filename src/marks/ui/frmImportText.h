#pragma once

#include <QWidget>
#include <string>

#include "common/Seams.h"
#include "marks/ImportText.h"

class QCheckBox;
class QGroupBox;
class QTableWidget;
class QLabel;
class QLineEdit;
class QPushButton;
class MarkTableModel;

// The delimited text import window: shows a sample line of the chosen file with its numbered
// fields, takes the field number of the point, easting, northing, height and zone, and on OK
// appends a mark for every line of the file that holds a point. Created hidden when the program
// starts and kept until it ends, so the column numbers stay as the user left them from one
// import to the next. Shown modeless: the main window stays usable.
class frmImportText final : public QWidget {
  Q_OBJECT

 public:
  // marks is the main window's mark grid; sink shows the window's messages. Both outlive the
  // window.
  frmImportText(MarkTableModel& marks, modKestralMGA::MessageSink& sink, QWidget* parent = nullptr);

  // Puts the sample line of the chosen file into txtSampleLine and "Sample line from " +
  // displayPath into lblSampleLine. path is the file as chosen, which OK opens; displayPath is
  // the upper-case form the program shows (file-system bytes). sampleLine is Windows-1252 bytes.
  void SetSample(const std::string& path, const std::string& displayPath,
                 const std::string& sampleLine);

  // The column numbers of the five boxes, read by the numeric value rule, and the decimal comma.
  modKestralMGA::ImportColumnNumbers Columns() const;
  // The five boxes' texts (kept between runs), and the decimal comma box.
  QStringList ColumnTexts() const;
  void SetColumnTexts(const QStringList& texts);
  bool DecimalComma() const;
  void SetDecimalComma(bool on);

  // Imports every line of the file named by lblSampleLine and says how many marks it added and
  // how many lines gave none. Hides the window when the list then holds at least two marks; an
  // import that added nothing leaves it open. Into an empty list, the import is the list as
  // opened (unchanged until edited); it is one step of the undo history.
  void cmdOK_Click();
  // Hides the window; nothing is undone.
  void cmdCancel_Click();

 private:
  QGroupBox* BuildColumnsFrame();
  // Shows the numbered fields of the text in txtSampleLine under it.
  void ShowSampleFields();
  // Fills the preview table: the first lines of the file cut as OK would cut them.
  void ShowPreview();

  MarkTableModel& m_marks;
  modKestralMGA::MessageSink& m_sink;
  // The chosen file as the file system names it; lblSampleLine shows it in upper case.
  std::string m_path;
  // The first lines of the chosen file, for the preview.
  modKestralMGA::TextFile m_previewText;

  QLabel* lblSampleLine = nullptr;
  QLineEdit* txtSampleLine = nullptr;
  QLabel* lblSampleFields = nullptr;
  QLineEdit* txtPoint = nullptr;
  QLineEdit* txtEast = nullptr;
  QLineEdit* txtNorth = nullptr;
  QLineEdit* txtHeight = nullptr;
  QLineEdit* txtZone = nullptr;
  QCheckBox* chkDecimalComma = nullptr;
  QTableWidget* grdPreview = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdCancel = nullptr;
};

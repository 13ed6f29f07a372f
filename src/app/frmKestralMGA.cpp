#include "app/frmKestralMGA.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <exception>
#include <utility>
#include <vector>

#include "app/CriteriaBox.h"
#include "app/GridColumns.h"
#include "app/WindowPlaces.h"
#include "app/WindowText.h"
#include "app/modHtmlHelp.h"
#include "common/NumberFormat.h"
#include "common/Version.h"
#include "compare/AccuracyCriteria.h"
#include "compare/ComparePSMJoins.h"
#include "compare/MixedMarks.h"
#include "diagnosis/Diagnosis.h"
#include "joins/frmMGAJoins.h"
#include "markjoins/JoinCalculation.h"
#include "marks/ImportText.h"
#include "marks/MarkCommands.h"
#include "marks/MarkDetailsFile.h"
#include "marks/MarkListRules.h"
#include "marks/ui/MarkCellEditor.h"
#include "marks/ui/MarkTableModel.h"
#include "marks/ui/frmImportText.h"
#include "plan/LinesFile.h"
#include "plan/landxml/LandXmlMarks.h"
#include "plan/landxml/LandXmlPlan.h"
#include "reports/JoinsReport.h"
#include "reports/PsmListReport.h"
#include "reports/ui/PrintJob.h"
#include "reports/ui/ReportPreview.h"
#include "reports/ui/frmMGADisplay.h"

using modKestralMGA::MarkList;
using modKestralMGA::MessageIcon;

namespace {

// The column widths of the grid: each is the width of its sample text in the window's font.
constexpr std::array<const char*, modKestralMGA::kMarkColumnCount> kColumnSamples = {
    "xxxxxxxxxxxxxxxx", "xxxxxxxxxxxxxxxxx", "xxxxxxxxxxxxxxxxxx", "xxxxxxxxxxxxxxxx",
    "  order  ",        "   zone   ",        "  datum    ",        "   status      "};

constexpr const char* kSaveFirstText = "The mark list has changed. Save it first?";
constexpr const char* kSaveFirstTitle = "KestralMGA";

constexpr const char* kOpenMarkDetailsTitle = "Open Mark Details file";
constexpr const char* kOpenMarkDetailsFilter =
    "CSV Files (*.CSV)|*.csv|Screen dump files (*.DMP)|*.dmp";
constexpr const char* kSaveMarkDetailsTitle = "Save to CSV file";
constexpr const char* kSaveMarkDetailsFilter = "CSV files (*.CSV)|*.csv";
constexpr const char* kBrowsePlanTitle = "Open KESTRAL file";
constexpr const char* kBrowsePlanFilter =
    "KESTRAL Lines files (*.LNS)|*.lns|LandXML plans (*.xml)|*.xml";
constexpr const char* kImportLandXmlTitle = "Import marks from LandXML";
constexpr const char* kImportLandXmlFilter = "LandXML files (*.xml)|*.xml";
constexpr const char* kImportTitle = "Open file of coordinates";
constexpr const char* kImportFilter = "All files (*.*)|*.*";
constexpr const char* kPrintPsmListDialogTitle = "Print the PSM list";
constexpr const char* kPsmListPreviewTitle = "PSM list preview";

// The About box: five lines separated by line feeds, the second with the program's version.
constexpr const char* kAboutTitle = "About KestralMGA";
std::string AboutText() {
  return std::string("KestralMGA developed by Saltbush Survey Software\nVersion ") +
         modKestralMGA::kProgramVersion +
         "  June 2019\n\nKestralMGA is the property of Kestral Survey Systems Pty Ltd.\n"
         "It is licensed to surveyors for checking survey plans against MGA.";
}

// Messages of a core command, held while the grid's model is being reset and shown once the
// grid can be painted again.
class QueuedMessages final : public modKestralMGA::MessageSink {
 public:
  void Message(const std::string& text, const std::string& title, MessageIcon icon) override {
    m_messages.push_back({text, title, icon});
  }
  void ShowAll(modKestralMGA::MessageSink& sink) {
    for (const auto& m : std::exchange(m_messages, {})) sink.Message(m.Text, m.Title, m.Icon);
  }

 private:
  struct Held {
    std::string Text;
    std::string Title;
    MessageIcon Icon;
  };
  std::vector<Held> m_messages;
};

QLabel* NamedLabel(const char* name, const char* caption, QWidget* parent) {
  auto* label = new QLabel(QString::fromLatin1(caption), parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

}  // namespace

frmKestralMGA::frmKestralMGA(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs) {
  setObjectName(QStringLiteral("frmKestralMGA"));
  m_model = new MarkTableModel(m_marks, this);
  ShowTitle();
  setAcceptDrops(true);
  connect(&m_model->UndoStack(), &QUndoStack::cleanChanged, this,
          [this](bool clean) { setWindowModified(!clean); });
  // An undo or redo makes the cell it changed current.
  connect(m_model, &MarkTableModel::StepApplied, this,
          [this](int row, int column) { SetCurrentCell(row + 1, column); });

  BuildMenus();
  BuildToolbar();
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->addWidget(BuildMarkListFrame(), 1);
  layout->addWidget(BuildKestralFileFrame());
  setCentralWidget(central);

  connect(cmdAdd, &QPushButton::clicked, this, &frmKestralMGA::cmdAdd_Click);
  connect(cmdInsert, &QPushButton::clicked, this, &frmKestralMGA::cmdInsert_Click);
  connect(cmdDelete, &QPushButton::clicked, this, &frmKestralMGA::cmdDelete_Click);
  connect(cmdClear, &QPushButton::clicked, this, &frmKestralMGA::cmdClear_Click);
  connect(cmdBrowse, &QPushButton::clicked, this, &frmKestralMGA::cmdBrowse_Click);
  connect(Grid1, &QTableView::clicked, this, &frmKestralMGA::Grid1_Click);
  connect(optTwoPSMs, &QRadioButton::toggled, this, [this](bool on) {
    if (on) optTwoPSMs_Click();
  });
  connect(optTertiary, &QRadioButton::toggled, this, [this](bool on) {
    if (on) optTertiary_Click();
  });
  connect(optNone, &QRadioButton::toggled, this, [this](bool on) {
    if (on) optNone_Click();
  });
  connect(Toolbar1, &QToolBar::actionTriggered, this, &frmKestralMGA::Toolbar1_ButtonClick);

  for (const char* name :
       {"mnuFileOpen", "mnuFileImport", "mnuOptionsComparePSM", "mnuOptionsCalculateAMG",
        "Toolbar1_Open", "Toolbar1_Compare", "Toolbar1_CalcJoins", "mnuEditPaste"}) {
    m_waitWhileComparing.push_back(findChild<QAction*>(QString::fromLatin1(name)));
  }
  // The results window: a window of its own, hidden until a comparison shows it.
  m_display = std::make_unique<frmMGADisplay>(m_dialogs, m_plan, *this, m_marks);
  // The list shows the lines that have come before each turn of the event loop.
  m_turns.SetBeforeTurn([this] { m_display->FlushLines(); });
  // The join calculation window lives, hidden or shown, as long as the main window. It is a
  // window of its own, not a child: its controls' names are the main window's too.
  m_joins = std::make_unique<frmMGAJoins>(
      m_dialogs, m_marks, *this,
      [this](modKestralMGA::DistanceCalculationMode mode) { m_calculationMode = mode; }, font());
}

frmKestralMGA::~frmKestralMGA() {
  // The cell editor sees no events of a window being taken apart: an edit in progress is dropped.
  m_cellEditor->Detach();
}

void frmKestralMGA::BuildMenus() {
  struct Item {
    const char* name;
    const char* caption;
    QKeySequence shortcut;
    void (frmKestralMGA::*command)();
  };
  auto addItems = [this](QMenu* menu, std::initializer_list<Item> items) {
    for (const Item& item : items) {
      if (item.command == nullptr) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(item.name));
        continue;
      }
      QAction* action = menu->addAction(QString::fromLatin1(item.caption));
      action->setObjectName(QString::fromLatin1(item.name));
      action->setShortcut(item.shortcut);
      connect(action, &QAction::triggered, this, item.command);
    }
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("mnuFile"));
  addItems(
      file,
      {{"mnuFileOpen", "Open...", QKeySequence(Qt::CTRL | Qt::Key_O),
        &frmKestralMGA::mnuFileOpen_Click},
       {"mnuFileSave", "Save...", QKeySequence(Qt::CTRL | Qt::Key_S),
        &frmKestralMGA::mnuFileSave_Click},
       {"mnuFileImport", "Import...", QKeySequence(Qt::CTRL | Qt::Key_I),
        &frmKestralMGA::mnuFileImport_Click},
       {"mnuFileImportLandXml",
        "Import marks from LandXML...",
        {},
        &frmKestralMGA::mnuFileImportLandXml_Click},
       {"mnuSep1", nullptr, {}, nullptr},
       {"mnuFilePrint", "Print", QKeySequence(Qt::CTRL | Qt::Key_P),
        &frmKestralMGA::mnuFilePrint_Click},
       {"mnuFilePrintPreview", "Print Preview...", {}, &frmKestralMGA::mnuFilePrintPreview_Click},
       {"mnuSepBar2", nullptr, {}, nullptr},
       {"mnuExit", "E&xit", QKeySequence(Qt::CTRL | Qt::Key_X), &frmKestralMGA::mnuExit_Click}});
  // The recent files stand above Exit; Exit also answers the platform's Quit key.
  mnuFileRecent = new QMenu(QStringLiteral("&Recent Files"), file);
  mnuFileRecent->setObjectName(QStringLiteral("mnuFileRecent"));
  file->insertMenu(findChild<QAction*>(QStringLiteral("mnuSepBar2")), mnuFileRecent);
  QAction* exit = findChild<QAction*>(QStringLiteral("mnuExit"));
  exit->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(QKeySequence::Quit)});

  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
  edit->setObjectName(QStringLiteral("mnuEdit"));
  QUndoStack& history = m_model->UndoStack();
  const auto addHistoryItem = [&](const char* name, const QString& caption,
                                  QList<QKeySequence> keys, void (QUndoStack::*command)()) {
    QAction* action = edit->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    action->setEnabled(false);
    connect(action, &QAction::triggered, this, [this, &history, command] {
      HideEditor();
      (history.*command)();
    });
    return action;
  };
  QAction* undo = addHistoryItem("mnuEditUndo", QStringLiteral("&Undo"),
                                 {QKeySequence(Qt::CTRL | Qt::Key_Z)}, &QUndoStack::undo);
  QAction* redo = addHistoryItem(
      "mnuEditRedo", QStringLiteral("&Redo"),
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
      &QUndoStack::redo);
  connect(&history, &QUndoStack::canUndoChanged, this,
          [this, undo](bool can) { undo->setEnabled(can && !m_comparing); });
  connect(&history, &QUndoStack::canRedoChanged, this,
          [this, redo](bool can) { redo->setEnabled(can && !m_comparing); });
  addItems(edit, {{"mnuEditSep1", nullptr, {}, nullptr},
                  {"mnuEditCopy", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C),
                   &frmKestralMGA::mnuEditCopy_Click},
                  {"mnuEditPaste", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V),
                   &frmKestralMGA::mnuEditPaste_Click}});
  QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
  options->setObjectName(QStringLiteral("mnuOptions"));
  addItems(options,
           {{"mnuOptionsComparePSM", "Compare PSM Joins...", QKeySequence(Qt::Key_F5),
             &frmKestralMGA::mnuOptionsComparePSM_Click},
            {"mnuOptionsCalculateAMG", "Calculate Joins...", QKeySequence(Qt::CTRL | Qt::Key_J),
             &frmKestralMGA::mnuOptionsCalculateAMG_Click}});
  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("mnuHelp"));
  addItems(help, {{"mnuHelpContents", "Contents...", QKeySequence(Qt::Key_F1),
                   &frmKestralMGA::mnuHelpContents_Click},
                  {"mnuHelpAbout", "About...", {}, &frmKestralMGA::mnuHelpAbout_Click}});
}

void frmKestralMGA::BuildToolbar() {
  struct Button {
    const char* key;
    const char* caption;
    const char* toolTip;
    QStyle::StandardPixmap picture;
  };
  static constexpr std::array<Button, 6> kButtons = {{
      {"Open", "Open", "Open CSV format file", QStyle::SP_DialogOpenButton},
      {"Save", "Save", "Save the Permanent Survey Mark List", QStyle::SP_DialogSaveButton},
      {"Print", "Print", "Print the Permanent Survey Mark List", QStyle::SP_FileDialogDetailedView},
      {"Compare", "Compare", "Compare joins between MGA coordinates and KESTRAL",
       QStyle::SP_BrowserReload},
      {"CalcJoins", "Calc. Joins", "Calculate bearing and distance between PSMs",
       QStyle::SP_FileDialogContentsView},
      {"Exit", "Exit", "Quit the program", QStyle::SP_DialogCloseButton},
  }};
  Toolbar1 = Named(new QToolBar(this), "Toolbar1");
  Toolbar1->setMovable(false);
  Toolbar1->setFloatable(false);
  Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  Toolbar1->toggleViewAction()->setEnabled(false);
  for (const Button& button : kButtons) {
    QAction* action = Toolbar1->addAction(style()->standardIcon(button.picture),
                                          QString::fromLatin1(button.caption));
    action->setObjectName(QStringLiteral("Toolbar1_") + QString::fromLatin1(button.key));
    action->setData(QString::fromLatin1(button.key));
    action->setToolTip(QString::fromLatin1(button.toolTip));
  }
  addToolBar(Qt::TopToolBarArea, Toolbar1);
}

QGroupBox* frmKestralMGA::BuildMarkListFrame() {
  auto* frame = Named(new QGroupBox(QStringLiteral("Permanent Survey Mark List")), "Frame1");
  Grid1 = Named(new QTableView(frame), "Grid1");
  Grid1->setModel(m_model);
  Grid1->setSelectionMode(QAbstractItemView::SingleSelection);
  Grid1->setSelectionBehavior(QAbstractItemView::SelectItems);
  Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Grid1->setTabKeyNavigation(false);
  Grid1->setWordWrap(false);
  Grid1->setTextElideMode(Qt::ElideNone);  // a long text runs to the cell's edge, like the editor
  Grid1->setCornerButtonEnabled(false);
  Grid1->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  Grid1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  Grid1->verticalHeader()->hide();
  Grid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  Grid1->horizontalHeader()->setSectionsClickable(false);
  Grid1->horizontalHeader()->setHighlightSections(false);
  Grid1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Grid1->horizontalHeader()->setStretchLastSection(true);

  m_cellEditor = new MarkCellEditor(*Grid1, *m_model);
  m_cellEditor->OnDeleteKey([this] { DeleteSelectedCells(); });

  cmdAdd = Named(new QPushButton(QStringLiteral("&Add Line"), frame), "cmdAdd");
  cmdInsert = Named(new QPushButton(QStringLiteral("&Insert Line"), frame), "cmdInsert");
  cmdDelete = Named(new QPushButton(QStringLiteral("&Delete Line"), frame), "cmdDelete");
  cmdClear = Named(new QPushButton(QStringLiteral("&Clear"), frame), "cmdClear");
  txtAvHeight = Named(new QLineEdit(QStringLiteral("0.00"), frame), "txtAvHeight");
  txtAvHeight->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000.000")) + 12);
  QLabel* label1 = NamedLabel("Label1", "Average Height", frame);
  label1->setBuddy(txtAvHeight);

  auto* buttons = new QHBoxLayout;
  for (QWidget* w : {static_cast<QWidget*>(cmdAdd), static_cast<QWidget*>(cmdInsert),
                     static_cast<QWidget*>(cmdDelete), static_cast<QWidget*>(cmdClear)}) {
    buttons->addWidget(w);
  }
  buttons->addStretch(1);
  buttons->addWidget(label1);
  buttons->addWidget(txtAvHeight);

  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(Grid1, 1);
  layout->addLayout(buttons);
  // The row commands drop an edit in progress: a click on one leaves the typed text unstored.
  m_cellEditor->DropWhenFocusGoesTo({cmdAdd, cmdInsert, cmdDelete, cmdClear});
  return frame;
}

QGroupBox* frmKestralMGA::BuildKestralFileFrame() {
  auto* frame = Named(new QGroupBox(QStringLiteral("KESTRAL File")), "Frame2");
  txtPlan = Named(new QLineEdit(frame), "txtPlan");
  cmdBrowse = Named(new QPushButton(QStringLiteral("&Browse..."), frame), "cmdBrowse");
  cboAccuracyType = Named(new QComboBox(frame), "cboAccuracyType");
  cboAccuracyType->setEditable(true);
  cboAccuracyType->setInsertPolicy(QComboBox::NoInsert);
  cboAccuracyType->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  QLabel* label2 = NamedLabel("Label2", "Plan Identifier", frame);
  QLabel* label3 = NamedLabel("Label3", "Accuracy Criterion", frame);
  label2->setBuddy(txtPlan);
  label3->setBuddy(cboAccuracyType);

  auto* frame3 =
      Named(new QGroupBox(QStringLiteral("Bearing Datum derived from"), frame), "Frame3");
  optTwoPSMs = Named(new QRadioButton(QStringLiteral("2 PSM's"), frame3), "optTwoPSMs");
  txtDatum1 = Named(new QLineEdit(frame3), "txtDatum1");
  txtDatum2 = Named(new QLineEdit(frame3), "txtDatum2");
  optTertiary = Named(new QRadioButton(QStringLiteral("Tertiary Network"), frame3), "optTertiary");
  optNone = Named(new QRadioButton(QStringLiteral("None of the above"), frame3), "optNone");
  optNone->setChecked(true);
  txtMaxOrder = Named(new QLineEdit(QStringLiteral("5"), frame3), "txtMaxOrder");
  chkFullDetails =
      Named(new QCheckBox(QStringLiteral("Show full join details"), frame3), "chkFullDetails");
  QLabel* label4 = NamedLabel("Label4", "From", frame3);
  QLabel* label5 = NamedLabel("Label5", "To", frame3);
  QLabel* label6 = NamedLabel("Label6", "Compare up to Order", frame3);
  label4->setBuddy(txtDatum1);
  label5->setBuddy(txtDatum2);
  label6->setBuddy(txtMaxOrder);
  const int psmWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000/00000")) + 16;
  txtDatum1->setMaximumWidth(psmWidth);
  txtDatum2->setMaximumWidth(psmWidth);
  txtMaxOrder->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);

  auto* datum = new QGridLayout(frame3);
  datum->addWidget(optTwoPSMs, 0, 0);
  datum->addWidget(label4, 0, 1, Qt::AlignRight);
  datum->addWidget(txtDatum1, 0, 2);
  datum->addWidget(label5, 0, 3, Qt::AlignRight);
  datum->addWidget(txtDatum2, 0, 4);
  datum->addWidget(optTertiary, 1, 0);
  datum->addWidget(label6, 1, 1, 1, 3, Qt::AlignRight);
  datum->addWidget(txtMaxOrder, 1, 4);
  datum->addWidget(optNone, 2, 0);
  datum->addWidget(chkFullDetails, 2, 1, 1, 4, Qt::AlignRight);
  datum->setColumnStretch(5, 1);

  auto* layout = new QGridLayout(frame);
  layout->addWidget(label2, 0, 0);
  layout->addWidget(txtPlan, 0, 1, 1, 2);
  layout->addWidget(cmdBrowse, 0, 3);
  layout->addWidget(label3, 1, 0);
  layout->addWidget(cboAccuracyType, 1, 1);
  layout->addWidget(frame3, 2, 0, 1, 4);
  layout->setColumnStretch(2, 1);
  return frame;
}

// ---- Start-up and settings ----

void frmKestralMGA::Form_Load(const std::string& commandLine) {
  SetupGrid();
  QueuedMessages messages;
  m_criteria = CriteriaWithUserFile(messages);
  for (const modKestralMGA::AccuracyCriterion& criterion : m_criteria.All()) {
    cboAccuracyType->addItem(FromBytes(criterion.Name));
  }
  cboAccuracyType->setCurrentText(FromBytes(m_criteria.First().Name));
  // The chosen criterion's formulas show under the box as its tool tip.
  connect(cboAccuracyType, &QComboBox::currentTextChanged, this,
          [this] { cboAccuracyType->setToolTip(CriterionToolTip(Criterion())); });
  cboAccuracyType->setToolTip(CriterionToolTip(Criterion()));
  // The secondary windows, created hidden and kept until the program ends (the results window
  // since this window was built).
  m_frmImportText = new frmImportText(*m_model, m_dialogs, this);
  RestoreSettings();
  if (commandLine.empty()) {
    messages.ShowAll(m_dialogs);
    return;
  }
  modKestralMGA::OpenResult result;
  try {
    m_model->Load([&](MarkList& list) {
      result = modKestralMGA::ReadDumpFileAtStartUp(commandLine, list, messages);
    });
  } catch (const std::exception& e) {
    messages.Message(e.what(), "Open Dump file error", MessageIcon::Exclamation);
  }
  if (result.Outcome != modKestralMGA::OpenOutcome::Refused) {
    txtAvHeight->setText(FromBytes(result.AverageHeightText));
    m_model->AddTidyUpStep(std::move(result.RemovedRepeats));
    if (result.Outcome == modKestralMGA::OpenOutcome::Read) m_model->SetUnchanged();
  }
  if (GridRows() > 1) SetCurrentCell(1, 0);
  messages.ShowAll(m_dialogs);
}

std::string frmKestralMGA::MaxOrderText() const {
  return ToBytes(txtMaxOrder->text());
}

std::string frmKestralMGA::AverageHeightText() const {
  return ToBytes(txtAvHeight->text());
}

modKestralMGA::DistanceCalculationMode frmKestralMGA::CalculationMode() const {
  return m_calculationMode;
}

void frmKestralMGA::SetCalculationMode(modKestralMGA::DistanceCalculationMode mode) {
  m_calculationMode = mode;
  m_joins->ShowCalculationMode(mode);
}

std::string frmKestralMGA::PlanIdentifier() const {
  return QFile::encodeName(txtPlan->text()).toStdString();
}

std::string frmKestralMGA::AccuracyCriterionText() const {
  return ToBytes(cboAccuracyType->currentText());
}

bool frmKestralMGA::TwoPsms() const {
  return optTwoPSMs->isChecked();
}

std::string frmKestralMGA::Datum1Text() const {
  return ToBytes(txtDatum1->text());
}

std::string frmKestralMGA::Datum2Text() const {
  return ToBytes(txtDatum2->text());
}

bool frmKestralMGA::FullDetails() const {
  return chkFullDetails->isChecked();
}

// ---- The grid ----

int frmKestralMGA::CurrentGridRow() const {
  return m_cellEditor->CurrentGridRow();
}

int frmKestralMGA::CurrentColumn() const {
  return m_cellEditor->CurrentColumn();
}

int frmKestralMGA::GridRows() const {
  return m_cellEditor->GridRows();
}

void frmKestralMGA::SetCurrentCell(int gridRow, int column) {
  m_cellEditor->SetCurrentCell(gridRow, column);
}

void frmKestralMGA::HideEditor() {
  m_cellEditor->Abandon();
}

void frmKestralMGA::SetupGrid() {
  m_model->Load([](MarkList& list) { list.Clear(); });
  QStringList samples;
  for (const char* sample : kColumnSamples) samples << QString::fromLatin1(sample);
  // Room for every column beside the vertical scroll bar.
  Grid1->setMinimumWidth(SizeGridColumns(*Grid1, font(), samples));
  // A dozen marks in view at the least; the grid takes any height the window gains.
  Grid1->setMinimumHeight(Grid1->horizontalHeader()->sizeHint().height() +
                          12 * Grid1->verticalHeader()->defaultSectionSize() +
                          2 * Grid1->frameWidth());
}

void frmKestralMGA::Grid1_Click() {
  if (!optTwoPSMs->isChecked() || CurrentGridRow() < 1 || CurrentColumn() != 0) return;
  const QString psmNumber = m_model->CellText(CurrentGridRow() - 1, 0);
  if (txtDatum1->text().isEmpty()) {
    txtDatum1->setText(psmNumber);
  } else if (txtDatum2->text().isEmpty()) {
    txtDatum2->setText(psmNumber);
  }
}

// ---- Row commands ----

void frmKestralMGA::cmdAdd_Click() {
  HideEditor();
  m_model->AppendRow();
  const int added = GridRows() - 1;
  SetCurrentCell(added, 0);
  // The new row at the top of the grid where the grid can scroll that far, else as near as it can.
  Grid1->scrollTo(m_model->index(added - 1, 0), QAbstractItemView::PositionAtTop);
  Grid1->setFocus();
}

void frmKestralMGA::cmdInsert_Click() {
  HideEditor();
  const int row = CurrentGridRow();
  if (row < 1 || GridRows() <= 1) return;
  const int column = CurrentColumn();
  m_model->InsertRow(row - 1);
  SetCurrentCell(row, column);  // the new empty row, where the current row was
  Grid1->setFocus();
}

void frmKestralMGA::cmdDelete_Click() {
  HideEditor();
  const int row = CurrentGridRow();
  if (row < 1 || GridRows() <= 2) return;
  const int column = CurrentColumn();
  m_model->RemoveRow(row - 1);
  SetCurrentCell(std::min(row, GridRows() - 1), column);
  Grid1->setFocus();
}

void frmKestralMGA::cmdClear_Click() {
  HideEditor();
  if (!MaySetListAside()) return;
  m_model->Reset(
      [](MarkList& list) {
        list.Clear();
        list.AppendRow();
      },
      QStringLiteral("Clear"));
  txtAvHeight->setText(QStringLiteral("0.000"));
  optNone->setChecked(true);
  txtDatum1->clear();
  txtDatum2->clear();
  SetCurrentCell(1, 0);
  Grid1->setFocus();
}

// ---- Plan and bearing datum ----

void frmKestralMGA::cmdBrowse_Click() {
  const std::string chosen = m_dialogs.OpenFileName(kBrowsePlanTitle, "", kBrowsePlanFilter);
  if (chosen.empty()) return;
  // The plan identifier: the path as chosen without its extension (the last four characters);
  // the plan's files are found whatever case the file system holds them in.
  QString plan = QFile::decodeName(QByteArray::fromStdString(chosen));
  // A LandXML plan is named by its whole path.
  if (!modKestralMGA::IsLandXmlPlan(chosen)) plan.chop(4);
  txtPlan->setText(plan);
  AddRecentFile("plans", plan);
}

void frmKestralMGA::SetFullDetails(bool on) {
  chkFullDetails->setChecked(on);
  m_display->SetFullJoins(on);
}

void frmKestralMGA::optTwoPSMs_Click() {
  SetFullDetails(false);
}

void frmKestralMGA::optTertiary_Click() {
  SetFullDetails(true);
}

void frmKestralMGA::optNone_Click() {
  // "None of the above" leaves the full-details boxes as they are.
}

// ---- File commands ----

void frmKestralMGA::mnuFileOpen_Click() {
  HideEditor();
  if (!MaySetListAside()) return;
  const std::string chosen =
      m_dialogs.OpenFileName(kOpenMarkDetailsTitle, "", kOpenMarkDetailsFilter);
  if (chosen.empty()) return;
  OpenMarkDetails(chosen);
}

void frmKestralMGA::OpenMarkDetails(const std::string& path) {
  HideEditor();
  const int row = CurrentGridRow();
  const int column = CurrentColumn();
  // Opened into an empty list, the list is the file's: unchanged until edited. Added to marks
  // already listed, it is a list no file holds.
  const bool intoEmptyList = modKestralMGA::IsGridEmpty(m_marks);
  QueuedMessages messages;
  modKestralMGA::OpenResult result;
  try {
    m_model->Load([&](MarkList& list) {
      result = modKestralMGA::OpenMarkDetailsFile(path, path, list, messages);
    });
  } catch (const std::exception& e) {
    messages.Message(e.what(), modKestralMGA::kOpenCsvFileErrorTitle, MessageIcon::Critical);
  }
  if (result.Outcome == modKestralMGA::OpenOutcome::Refused) {
    SetCurrentCell(row, column);
  } else {
    txtAvHeight->setText(FromBytes(result.AverageHeightText));
    m_model->AddTidyUpStep(std::move(result.RemovedRepeats));
    if (intoEmptyList && result.Outcome == modKestralMGA::OpenOutcome::Read) {
      m_model->SetUnchanged();
      SetCurrentFile(path);
    } else {
      m_model->UndoStack().resetClean();
    }
    AddRecentFile("marks", QFile::decodeName(QByteArray::fromStdString(path)));
    SetCurrentCell(1, 0);
  }
  messages.ShowAll(m_dialogs);
}

void frmKestralMGA::mnuFileSave_Click() {
  SaveList();
}

bool frmKestralMGA::SaveList() {
  HideEditor();
  if (!modKestralMGA::CheckListToSave(m_marks, m_dialogs)) return false;
  // The dialog offers the Mark Details file the list came from or went to (not a dump file).
  const QString offered = m_currentFile.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)
                              ? m_currentFile
                              : QString();
  const std::string chosen =
      m_dialogs.SaveFileName(kSaveMarkDetailsTitle, QFile::encodeName(offered).toStdString(),
                             kSaveMarkDetailsFilter, /*confirmReplace=*/true);
  if (chosen.empty()) return false;
  try {
    if (!modKestralMGA::SaveMarkDetailsFile(chosen, m_marks, m_dialogs)) return false;
  } catch (const std::exception& e) {
    m_dialogs.Message(e.what(), modKestralMGA::kSaveCsvFileErrorTitle, MessageIcon::Exclamation);
    return false;
  }
  m_model->SetUnchanged();
  SetCurrentFile(chosen);
  AddRecentFile("marks", m_currentFile);
  return true;
}

bool frmKestralMGA::MaySetListAside() {
  if (!m_model->Changed() || modKestralMGA::IsGridEmpty(m_marks)) return true;
  switch (m_dialogs.AskToSave(kSaveFirstText, kSaveFirstTitle)) {
    case Dialogs::SaveAnswer::Save:
      return SaveList();
    case Dialogs::SaveAnswer::Discard:
      return true;
    case Dialogs::SaveAnswer::Cancel:
      break;
  }
  return false;
}

void frmKestralMGA::mnuFileImport_Click() {
  try {
    HideEditor();
    const std::string chosen = m_dialogs.OpenFileName(kImportTitle, "", kImportFilter);
    if (chosen.empty()) return;
    // An incomplete last row (a row added but not filled) would sit between the list and the
    // imported marks: it goes first. Only the last row is looked at.
    const int last = GridRows() - 1;
    if (last >= 1) {
      SetCurrentCell(last, CurrentColumn());
      if (!modKestralMGA::DataToSave(m_marks, std::size_t(last - 1))) m_model->RemoveRow(last - 1);
      SetCurrentCell(std::min(last, GridRows() - 1), CurrentColumn());
    }
    const std::string line = ShowFirstLine(chosen);
    if (line.size() < modKestralMGA::kShortestSampleLine) {
      m_dialogs.Message(modKestralMGA::kNothingFoundInFile, modKestralMGA::kImportErrorTitle,
                        MessageIcon::Exclamation);
      return;
    }
    m_frmImportText->SetSample(chosen, chosen, line);
    PlaceBeside(*m_frmImportText, *this);
    m_frmImportText->show();
    m_frmImportText->raise();
    m_frmImportText->activateWindow();
  } catch (const std::exception& e) {
    m_dialogs.Message(e.what(), modKestralMGA::kImportFileErrorTitle, MessageIcon::Critical);
  }
}

void frmKestralMGA::mnuFileImportLandXml_Click() {
  HideEditor();
  const std::string chosen = m_dialogs.OpenFileName(kImportLandXmlTitle, "", kImportLandXmlFilter);
  if (chosen.empty()) return;
  modKestralMGA::MarkList marks;
  if (!modKestralMGA::ImportLandXmlMarks(chosen, chosen, marks, m_dialogs)) return;
  m_model->AppendRows(marks, QString::fromLatin1(kImportLandXmlTitle));
}

std::string frmKestralMGA::ShowFirstLine(const std::string& corfile) {
  return modKestralMGA::ShowFirstLine(corfile, corfile, m_dialogs);
}

bool frmKestralMGA::CheckListToPrint() {
  if (!modKestralMGA::IsGridEmpty(m_marks)) return true;
  m_dialogs.Message(modKestralMGA::kNothingInListToPrint, modKestralMGA::kPrintPsmListErrorTitle,
                    MessageIcon::Exclamation);
  return false;
}

void frmKestralMGA::PrintPsmListOn(QPrinter& printer) const {
  // The title shows the plan identifier as the window does.
  const std::string planIdentifier = ToBytes(txtPlan->text());
  modKestralMGA::RunPrintJob(printer, [&](modKestralMGA::ColumnWriter& out) {
    modKestralMGA::PrintPSMList(m_marks, planIdentifier, out);
    return true;
  });
}

void frmKestralMGA::mnuFilePrint_Click() {
  if (!CheckListToPrint()) return;
  try {
    QPrinter printer(QPrinter::HighResolution);
    modKestralMGA::SetReportMargins(printer);
    if (!m_dialogs.ChoosePrinter(kPrintPsmListDialogTitle, printer)) return;
    PrintPsmListOn(printer);
    m_dialogs.Message(modKestralMGA::kPrintingCompletedText, modKestralMGA::kPrintPsmListTitle,
                      MessageIcon::Information);
  } catch (const std::exception& e) {
    // No printer, or one that would not start: the window stays usable.
    m_dialogs.Message(e.what(), modKestralMGA::kPrintPsmListErrorTitle, MessageIcon::Exclamation);
  }
}

void frmKestralMGA::mnuFilePrintPreview_Click() {
  if (!CheckListToPrint()) return;
  ShowReportPreview(m_dialogs, kPsmListPreviewTitle, modKestralMGA::kPrintPsmListErrorTitle,
                    [this](QPrinter& printer) { PrintPsmListOn(printer); });
}

void frmKestralMGA::mnuOptionsComparePSM_Click() {
  // One comparison at a time: the plan and the list must stay as the running one reads them.
  if (m_comparing) return;
  try {
    ComparePlan();
  } catch (const CommandAbandoned&) {
    // The program ended during a turn of the event loop: the comparison stops where it was.
  } catch (const std::exception& e) {
    m_dialogs.Message(e.what(), modKestralMGA::kJoinComparisonTitle, MessageIcon::Exclamation);
  }
  SetComparing(false);
}

void frmKestralMGA::ComparePlan() {
  // A criterion the allowances do not know, or an order limit that is not a number, refuses the
  // comparison before anything is computed.
  if (!modKestralMGA::CheckAccuracyCriterion(*this, m_dialogs) ||
      !modKestralMGA::CheckMaxOrder(*this, m_dialogs)) {
    return;
  }
  HideEditor();
  ShowAverageHeight(modKestralMGA::kJoinComparisonTitle);
  if (GridRows() < 3) return;  // fewer than two marks: nothing to join

  std::string name = PlanIdentifier();
  if (name.empty()) name = m_dialogs.OpenFileName(kBrowsePlanTitle, "", kBrowsePlanFilter);
  if (name.empty()) return;
  const std::string planIdentifier = modKestralMGA::PlanIdentifierFromName(name);
  if (planIdentifier != name) {
    txtPlan->setText(QFile::decodeName(QByteArray::fromStdString(planIdentifier)));
  }
  // The lines are read aside: a plan that cannot be read leaves the last comparison's plan, which
  // the results list still shows, in place.
  modKestralMGA::Plan read;
  if (!modKestralMGA::ReadPlanForCompare(planIdentifier, read, m_dialogs)) return;
  if (!MayCompareMixedMarks(read)) return;
  m_plan = std::move(read);
  AddRecentFile("plans", QFile::decodeName(QByteArray::fromStdString(planIdentifier)));

  SetComparing(true);
  PlaceBeside(*m_display, *this);
  m_display->show();
  m_display->raise();
  m_turns.Start();
  m_markIndex.UseNames(m_plan.Names);
  const modKestralMGA::OffGridNotices notices(m_markIndex, m_dialogs,
                                              modKestralMGA::kJoinComparisonTitle);
  modKestralMGA::JoinContext context{m_markIndex, *this};
  // The diagnosis studies the comparison's own judgements once it has ended.
  modKestralMGA::JudgementCollector judgements(&m_display->VerdictRows());
  if (modKestralMGA::BuildAndComparePlan(planIdentifier, m_plan, context, *this, *m_display,
                                         m_dialogs, m_turns, &judgements)) {
    const modKestralMGA::Diagnosis diagnosis =
        modKestralMGA::Diagnose(m_plan, m_markIndex, judgements.Joins(), Criterion());
    m_display->ShowDiagnosis(diagnosis);
    m_display->ShowDiagram(planIdentifier, judgements.Joins(), diagnosis);
  }
}

bool frmKestralMGA::MayCompareMixedMarks(const modKestralMGA::Plan& plan) {
  const std::vector<std::string> warnings =
      modKestralMGA::MixedDatumAndZoneWarnings(plan, m_markIndex);
  if (warnings.empty()) return true;
  std::string text;
  for (const std::string& warning : warnings) text += (text.empty() ? "" : "\n") + warning;
  return m_dialogs.AskToContinue(text, modKestralMGA::kJoinComparisonTitle);
}

void frmKestralMGA::SetComparing(bool running) {
  m_comparing = running;
  m_cellEditor->SetLocked(running);
  for (QAction* command : m_waitWhileComparing) command->setEnabled(!running);
  for (QPushButton* button : {cmdAdd, cmdInsert, cmdDelete, cmdClear}) {
    button->setEnabled(!running);
  }
  const QUndoStack& history = m_model->UndoStack();
  findChild<QAction*>(QStringLiteral("mnuEditUndo"))->setEnabled(!running && history.canUndo());
  findChild<QAction*>(QStringLiteral("mnuEditRedo"))->setEnabled(!running && history.canRedo());
  // The import window may be open: its OK appends to the list.
  if (m_frmImportText != nullptr) {
    if (auto* importOk = m_frmImportText->findChild<QPushButton*>(QStringLiteral("cmdOK"))) {
      importOk->setEnabled(!running);
    }
  }
  m_display->SetPrintEnabled(!running);
}

void frmKestralMGA::mnuOptionsCalculateAMG_Click() {
  HideEditor();
  // The average height is refreshed from the list every time, also when the command refuses.
  ShowAverageHeight(modKestralMGA::kMgaJoinsErrorTitle);
  if (!modKestralMGA::CheckEnoughMarksForJoins(m_marks, m_dialogs)) return;
  PlaceBeside(*m_joins, *this);
  m_joins->FillAndShow();
}

void frmKestralMGA::ShowAverageHeight(const char* title) {
  txtAvHeight->setText(FromBytes(modKestralMGA::FormatNumber(
      modKestralMGA::AverageHeight(m_marks, m_dialogs, title), modKestralMGA::kFormatMetres)));
}

void frmKestralMGA::mnuHelpContents_Click() {
  // The help window stands beside this one without blocking it; it is painted before the
  // command ends.
  modHtmlHelp::ShowHelp(*this, modHtmlHelp::HelpFilePath());
  QCoreApplication::processEvents();
}

void frmKestralMGA::mnuHelpAbout_Click() {
  m_dialogs.Message(AboutText(), kAboutTitle, MessageIcon::Information);
}

// ---- Toolbar and exit ----

void frmKestralMGA::Toolbar1_ButtonClick(QAction* button) {
  struct KeyCommand {
    const char* key;
    void (frmKestralMGA::*command)();
  };
  static constexpr std::array<KeyCommand, 6> kKeys = {{
      {"Open", &frmKestralMGA::mnuFileOpen_Click},
      {"Save", &frmKestralMGA::mnuFileSave_Click},
      {"Print", &frmKestralMGA::mnuFilePrint_Click},
      {"Compare", &frmKestralMGA::mnuOptionsComparePSM_Click},
      {"CalcJoins", &frmKestralMGA::mnuOptionsCalculateAMG_Click},
      {"Exit", &frmKestralMGA::mnuExit_Click},
  }};
  const QString key = button->data().toString();
  for (const KeyCommand& entry : kKeys) {
    if (key == QLatin1String(entry.key)) {  // exactly, letter case included
      (this->*entry.command)();
      return;
    }
  }
}

void frmKestralMGA::mnuExit_Click() {
  close();
}

void frmKestralMGA::closeEvent(QCloseEvent* event) {
  HideEditor();
  if (!MaySetListAside()) {
    event->ignore();
    return;
  }
  Form_Unload();
  event->accept();
}

void frmKestralMGA::Form_Unload() {
  // The help window closes first, and the settings are kept. Then the program ends, whatever
  // other windows are shown (the question about a changed list came before). A comparison
  // running in a turn of the event loop stops when the turn ends.
  modHtmlHelp::CloseHelp(*this, modHtmlHelp::HelpFilePath());
  SaveSettings();
  m_turns.Abandon();
  m_display->hide();
  QCoreApplication::quit();
}

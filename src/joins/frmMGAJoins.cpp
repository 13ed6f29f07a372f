#include "joins/frmMGAJoins.h"

#include <QDate>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <array>
#include <exception>
#include <string>
#include <utility>

#include "app/GridColumns.h"
#include "app/WindowText.h"
#include "joins/JoinListModel.h"
#include "joins/PsmNumberListModel.h"
#include "marks/MarkListRules.h"
#include "reports/ui/PrintJob.h"
#include "reports/ui/PrintingInProgress.h"
#include "reports/ui/ReportDateText.h"
#include "reports/ui/ReportPreview.h"

using modKestralMGA::DistanceCalculationMode;
using modKestralMGA::MessageIcon;

namespace {

// The widths of the join columns, in letters x of the main window's font.
constexpr std::array<int, modKestralMGA::kJoinListColumns> kColumnLetters = {13, 13, 15, 15, 18};

// The list of PSM numbers shows this many numbers of this many letters x.
constexpr int kListedNumbers = 8;
constexpr int kNumberLetters = 14;
// The join list shows at least this many rows.
constexpr int kLeastJoinRows = 6;

// The title of the print's messages.
constexpr const char* kJoinCalculationTitle = "Join Calculation";

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

}  // namespace

frmMGAJoins::frmMGAJoins(Dialogs& dialogs, const modKestralMGA::MarkList& marks,
                         const modKestralMGA::JoinSettings& settings,
                         std::function<void(DistanceCalculationMode)> setMode, const QFont& font,
                         QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_dialogs(dialogs),
      m_marks(marks),
      m_settings(settings),
      m_index(marks),
      m_setMode(std::move(setMode)),
      m_dateText([] { return ReportDateText(QDate::currentDate(), QLocale::system()); }) {
  setObjectName(QStringLiteral("frmMGAJoins"));
  setWindowTitle(QStringLiteral("Join Calculation form"));
  setFont(font);
  m_numbers = new PsmNumberListModel(this);
  m_rows = new JoinListModel(this);
  BuildControls();
  LayOutControls();
  Form_Load();
  ShowCalculationMode(settings.CalculationMode());

  connect(lstMarks->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected) {
            if (!selected.isEmpty()) lstMarks_Click();
          });
  connect(cmdClose, &QPushButton::clicked, this, &frmMGAJoins::cmdClose_Click);
  connect(cmdPrint, &QPushButton::clicked, this, &frmMGAJoins::cmdPrint_Click);
  connect(cmdClear, &QPushButton::clicked, this, &frmMGAJoins::cmdClear_Click);
  connect(cmdPreview, &QPushButton::clicked, this, &frmMGAJoins::cmdPreview_Click);
  const std::array<std::pair<QRadioButton*, DistanceCalculationMode>, 3> options = {{
      {optMGA, DistanceCalculationMode::MGA94_2020},
      {optAMG84, DistanceCalculationMode::AMG84},
      {optPlane, DistanceCalculationMode::Plane},
  }};
  for (const auto& [option, mode] : options) {
    connect(option, &QRadioButton::toggled, this, [this, mode](bool on) {
      if (on) m_setMode(mode);
    });
  }
}

frmMGAJoins::~frmMGAJoins() = default;

void frmMGAJoins::BuildControls() {
  Label1 = Named(new QLabel(QStringLiteral("Select PSM numbers from the List"), this), "Label1");
  lstMarks = Named(new QListView(this), "lstMarks");
  lstMarks->setModel(m_numbers);
  lstMarks->setSelectionMode(QAbstractItemView::SingleSelection);
  lstMarks->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lstMarks->setUniformItemSizes(true);  // 200,000 numbers lay out without asking each row
  Label1->setBuddy(lstMarks);

  Frame1 = Named(new QGroupBox(QStringLiteral("Distance Calculation"), this), "Frame1");
  optMGA = Named(new QRadioButton(QStringLiteral("MGA94/2020"), Frame1), "Option3");
  optAMG84 = Named(new QRadioButton(QStringLiteral("AMG84"), Frame1), "Option1");
  optPlane = Named(new QRadioButton(QStringLiteral("Plane"), Frame1), "Option2");

  cmdClose = Named(new QPushButton(QStringLiteral("&Close"), this), "cmdClose");
  cmdPrint = Named(new QPushButton(QStringLiteral("&Print"), this), "cmdPrint");
  cmdClear = Named(new QPushButton(QStringLiteral("C&lear"), this), "cmdClear");
  cmdPreview = Named(new QPushButton(QStringLiteral("Pre&view"), this), "cmdPreview");
  cmdPreview->setToolTip(QStringLiteral("Show the pages Print would send"));

  Grid1 = Named(new QTableView(this), "Grid1");
  Grid1->setModel(m_rows);
  Grid1->setSelectionMode(QAbstractItemView::SingleSelection);
  Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Grid1->setWordWrap(false);
  Grid1->setTextElideMode(Qt::ElideNone);
  Grid1->setCornerButtonEnabled(false);
  Grid1->verticalHeader()->hide();
  Grid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  Grid1->horizontalHeader()->setSectionsClickable(false);
  Grid1->horizontalHeader()->setHighlightSections(false);
  Grid1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Grid1->horizontalHeader()->setStretchLastSection(true);

  txtPSM = Named(new QLineEdit(this), "txtPSM");
  txtPSM->setToolTip(QStringLiteral("The PSM number the next join starts from"));

  // Tab goes through the controls in the order the user meets them.
  setTabOrder(lstMarks, optMGA);
  setTabOrder(optMGA, optAMG84);
  setTabOrder(optAMG84, optPlane);
  setTabOrder(optPlane, cmdClose);
  setTabOrder(cmdClose, cmdPrint);
  setTabOrder(cmdPrint, cmdClear);
  setTabOrder(cmdClear, cmdPreview);
  setTabOrder(cmdPreview, Grid1);
  setTabOrder(Grid1, txtPSM);
}

void frmMGAJoins::Form_Load() {
  QStringList samples;
  for (const int letters : kColumnLetters) samples << QString(letters, QLatin1Char('x'));
  // Every join column in view beside the scroll bar, and a few rows under the header.
  Grid1->setMinimumSize(SizeGridColumns(*Grid1, font(), samples),
                        Grid1->horizontalHeader()->sizeHint().height() +
                            kLeastJoinRows * Grid1->verticalHeader()->defaultSectionSize() +
                            2 * Grid1->frameWidth());
  resize(sizeHint());
}

void frmMGAJoins::LayOutControls() {
  const QFontMetrics metrics(font());
  const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, lstMarks);
  lstMarks->setFixedSize(metrics.horizontalAdvance(QString(kNumberLetters, QLatin1Char('x'))) +
                             scrollBar + 2 * lstMarks->frameWidth(),
                         kListedNumbers * metrics.lineSpacing() + 2 * lstMarks->frameWidth());
  txtPSM->setFixedWidth(metrics.horizontalAdvance(QStringLiteral("0000/00000")) + 16);

  auto* options = new QVBoxLayout(Frame1);
  for (QRadioButton* option : {optMGA, optAMG84, optPlane}) {
    options->addWidget(option, 0, Qt::AlignLeft);
  }
  options->addStretch(1);

  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {cmdClose, cmdPrint, cmdClear, cmdPreview}) buttons->addWidget(button);
  buttons->addStretch(1);

  // The list under its caption, the options beside it, the buttons at the right; the join list
  // below them takes every size the window gains, the from-mark box under it.
  auto* layout = new QGridLayout(this);
  layout->addWidget(Label1, 0, 0, 1, 2);
  layout->addWidget(lstMarks, 1, 0, Qt::AlignTop);
  layout->addWidget(Frame1, 1, 1, Qt::AlignTop);
  layout->addLayout(buttons, 0, 3, 2, 1);
  layout->addWidget(Grid1, 2, 0, 1, 4);
  layout->addWidget(txtPSM, 3, 0, Qt::AlignLeft);
  layout->setHorizontalSpacing(2 * metrics.averageCharWidth());  // list, options, buttons apart
  buttons->setSpacing(layout->verticalSpacing());
  layout->setColumnStretch(2, 1);
  layout->setRowStretch(2, 1);
}

void frmMGAJoins::ShowCalculationMode(DistanceCalculationMode mode) {
  switch (mode) {
    case DistanceCalculationMode::MGA94_2020:
      optMGA->setChecked(true);
      break;
    case DistanceCalculationMode::AMG84:
      optAMG84->setChecked(true);
      break;
    case DistanceCalculationMode::Plane:
      optPlane->setChecked(true);
      break;
  }
}

void frmMGAJoins::FillAndShow() {
  std::vector<std::string> numbers;
  for (std::size_t row = 0; row < m_marks.RowCount(); ++row) {
    if (modKestralMGA::DataToSave(m_marks, row)) numbers.emplace_back(m_marks.Cell(row, 0));
  }
  m_numbers->SetNumbers(std::move(numbers));
  m_rows->Clear();
  txtPSM->clear();
  cmdPrint->setEnabled(true);
  show();
  raise();
  activateWindow();
}

void frmMGAJoins::lstMarks_Click() {
  const QModelIndexList selected = lstMarks->selectionModel()->selectedIndexes();
  if (selected.isEmpty()) return;
  const std::string& picked = m_numbers->Number(selected.front().row());
  try {
    std::string from = ToBytes(txtPSM->text());
    // Each pick is a command of its own: a mark on no grid is told about at every pick of it.
    const modKestralMGA::OffGridNotices notices(m_index, m_dialogs,
                                                modKestralMGA::kMgaJoinsErrorTitle);
    modKestralMGA::JoinContext context{m_index, m_settings};
    if (auto row = modKestralMGA::PickMark(context, from, picked)) {
      m_rows->AppendRow(std::move(*row));
      Grid1->scrollToBottom();
    }
    txtPSM->setText(FromBytes(from));
  } catch (const std::exception& e) {
    // The pick is dropped; the from-mark and the rows stay as they were.
    m_dialogs.Message(e.what(), modKestralMGA::kMgaJoinsErrorTitle, MessageIcon::Exclamation);
  }
}

void frmMGAJoins::cmdClear_Click() {
  m_rows->Clear();
  txtPSM->clear();
  // With no selection left, any number (the one last picked too) can start the next walk.
  lstMarks->selectionModel()->clearSelection();
}

void frmMGAJoins::SetReportDate(std::function<std::string()> dateText) {
  m_dateText = std::move(dateText);
}

void frmMGAJoins::cmdClose_Click() {
  hide();
}

void frmMGAJoins::PrintJoinList(QPrinter& printer) const {
  modKestralMGA::RunPrintJob(printer, [this](modKestralMGA::ColumnWriter& out) {
    modKestralMGA::WriteJoinListHeading(m_dateText(), m_settings.CalculationMode(),
                                        m_settings.AverageHeightText(), out);
    modKestralMGA::WriteJoinList(m_rows->Rows(), out);
    return true;
  });
}

void frmMGAJoins::cmdPrint_Click() {
  QPrinter printer(QPrinter::HighResolution);
  modKestralMGA::SetReportMargins(printer);
  if (!m_dialogs.ChoosePrinter("Print the join list", printer)) return;
  std::string failure;
  {
    const PrintingInProgress busy(*this, *cmdPrint);
    try {
      PrintJoinList(printer);
    } catch (const std::exception& e) {
      failure = e.what();
    }
  }
  // The window stays usable after a failed job: Print is enabled again and the rows stay.
  m_dialogs.Message(failure.empty() ? "Print completed" : failure, kJoinCalculationTitle,
                    MessageIcon::Exclamation);
}

void frmMGAJoins::cmdPreview_Click() {
  ShowReportPreview(m_dialogs, "Join list preview", kJoinCalculationTitle,
                    [this](QPrinter& printer) { PrintJoinList(printer); });
}

const std::vector<modKestralMGA::JoinListRow>& frmMGAJoins::JoinRows() const {
  return m_rows->Rows();
}

int frmMGAJoins::GridRows() const {
  return m_rows->rowCount() + 1;
}

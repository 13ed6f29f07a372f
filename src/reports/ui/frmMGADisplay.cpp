#include "reports/ui/frmMGADisplay.h"

#include <QCheckBox>
#include <QDate>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QLocale>
#include <QPrinter>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <exception>
#include <optional>
#include <utility>

#include "app/WindowText.h"
#include "common/NumberFormat.h"
#include "diagnosis/DiagnosisText.h"
#include "marks/MarkListRules.h"
#include "plan/CurveFile.h"
#include "plan/PlanPoints.h"
#include "reports/JoinDiagram.h"
#include "reports/JoinsReport.h"
#include "reports/ui/DiagramFile.h"
#include "reports/ui/JoinDiagramView.h"
#include "reports/ui/PrintJob.h"
#include "reports/ui/PrintingInProgress.h"
#include "reports/ui/ReportDateText.h"
#include "reports/ui/ReportPreview.h"
#include "reports/ui/ResultLinesModel.h"

using modKestralMGA::MessageIcon;

namespace {

// The save dialog of "Print to file".
constexpr const char* kSaveReportTitle = "Save MGA comparison to file";
constexpr const char* kSaveReportFilter = "Text files (*.TXT)|*.txt";
// The titles of the print dialog and of the preview.
constexpr const char* kPrintDialogTitle = "Print the joins report";
constexpr const char* kPreviewTitle = "Joins report preview";
// The save dialog of "Save diagram...".
constexpr const char* kSaveDiagramTitle = "Save diagram";
constexpr const char* kSaveDiagramFilter = "SVG pictures (*.svg)|*.svg|PNG pictures (*.png)|*.png";

// Messages of a curve file read again for the diagram: the comparison has shown them.
class DroppedMessages final : public modKestralMGA::MessageSink {
 public:
  void Message(const std::string&, const std::string&, modKestralMGA::MessageIcon) override {}
};

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// The list shows this many characters of its fixed-pitch font across and this many lines down
// when the window first opens: verdict and detail lines fit whole, and the heading with a short
// path. The user can make the window smaller or larger.
constexpr int kListColumns = 64;
constexpr int kListRows = 28;

// True when a blank, a digit, a narrow and a wide letter take the same width in font.
bool EvenWidths(const QFont& font) {
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(u'M');
  return metrics.horizontalAdvance(u' ') == width && metrics.horizontalAdvance(u'0') == width &&
         metrics.horizontalAdvance(u'i') == width;
}

// The system's fixed-pitch font; where the platform names none (a font of varying widths comes
// back), the font that answers to the generic name "monospace".
QFont FixedPitchFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  if (EvenWidths(font)) return font;
  font.setFamilies({QStringLiteral("monospace")});
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  return font;
}

// Draws the result lines as any list does, but gives every line the width of the longest one: the
// view takes one line's size for all (the last line's), and the longest line, mostly the heading
// with the plan's path, must still be reachable by scrolling across.
class ResultLineDelegate final : public QStyledItemDelegate {
 public:
  ResultLineDelegate(const ResultLinesModel& model, QObject* parent)
      : QStyledItemDelegate(parent), m_model(model) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const auto shown = static_cast<int>(index.data().toString().size());
    if (m_model.LongestLine() > shown) {
      size.rwidth() +=
          option.fontMetrics.horizontalAdvance(QString(m_model.LongestLine() - shown, u'0'));
    }
    return size;
  }

 private:
  const ResultLinesModel& m_model;
};

// The columns of the diagnosis panel's table of marks.
constexpr std::array<const char*, 6> kDiagnosisColumns = {"PSM",       "Joins",      "Failed",
                                                          "Res. East", "Res. North", "Note"};
// The rows the table of marks and the list of notes show when the window first opens.
constexpr int kDiagnosisMarkRows = 6;
constexpr int kDiagnosisNoteRows = 3;

QString Residual(const std::optional<double>& metres) {
  return metres ? FromBytes(modKestralMGA::FormatNumber(*metres, modKestralMGA::kFormatMetres))
                : QStringLiteral("-");
}

QString Count(int count) {
  return FromBytes(modKestralMGA::FormatNumber(count, modKestralMGA::kFormatCount));
}

// Why a mark stands out, as the diagnosis text says it.
QString MarkNote(const modKestralMGA::MarkDiagnosis& mark) {
  if (mark.Suspect) return QStringLiteral("suspect");
  if (!mark.Listed) return QStringLiteral("not in list");
  if (mark.Joins == 0) return QStringLiteral("not compared");
  return {};
}

// "15 joins judged: 12 acceptable as-is, 2 acceptable after fit, 1 not acceptable; 0 not
// compared", counted as the summary above the list counts, then the finding on its own line.
QString SummaryText(const modKestralMGA::DiagnosisSummary& summary) {
  return Count(summary.Judged) + QStringLiteral(" joins judged: ") + Count(summary.AcceptableAsIs) +
         QStringLiteral(" acceptable as-is, ") + Count(summary.AcceptableAfterFit) +
         QStringLiteral(" acceptable after fit, ") + Count(summary.NotAcceptable) +
         QStringLiteral(" not acceptable; ") + Count(summary.NotCompared) +
         QStringLiteral(" not compared\n") + FromBytes(summary.Finding);
}

// One row of the table of marks; a suspect's row stands out in bold on a warm background.
void FillMarkRow(QTableWidget& table, int row, const modKestralMGA::MarkDiagnosis& mark,
                 const modKestralMGA::Diagnosis& diagnosis) {
  const std::array<QString, kDiagnosisColumns.size()> cells = {
      FromBytes(diagnosis.PsmName(mark.Key)),
      Count(mark.Joins),
      Count(mark.Failed),
      Residual(mark.ResidualEast),
      Residual(mark.ResidualNorth),
      MarkNote(mark)};
  for (std::size_t column = 0; column < cells.size(); ++column) {
    auto* item = new QTableWidgetItem(cells[column]);
    if (column > 0 && column + 1 < cells.size()) {
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (mark.Suspect) {
      QFont bold = table.font();
      bold.setBold(true);
      item->setFont(bold);
      item->setBackground(QColor(255, 224, 178));
      item->setForeground(QColor(Qt::black));
    }
    table.setItem(row, static_cast<int>(column), item);
  }
}

}  // namespace

// The settings the joins report reads as it runs: the main window's, through its live settings,
// and this window's print options, each set only when its box is checked.
class frmMGADisplay::LiveReportSettings final : public modKestralMGA::ReportSettings {
 public:
  LiveReportSettings(const modKestralMGA::CompareSettings& settings, const frmMGADisplay& window)
      : m_settings(settings), m_window(window) {}

  std::string MaxOrderText() const override { return m_settings.MaxOrderText(); }
  std::string AverageHeightText() const override { return m_settings.AverageHeightText(); }
  modKestralMGA::DistanceCalculationMode CalculationMode() const override {
    return m_settings.CalculationMode();
  }
  // The report shows the plan identifier as the main window does; the comparison holds it as the
  // file system's bytes.
  std::string PlanIdentifier() const override {
    return ToBytes(QFile::decodeName(QByteArray::fromStdString(m_settings.PlanIdentifier())));
  }
  std::string AccuracyCriterionText() const override { return m_settings.AccuracyCriterionText(); }
  const modKestralMGA::CriteriaTable& Criteria() const override { return m_settings.Criteria(); }
  bool TwoPsms() const override { return m_settings.TwoPsms(); }
  std::string Datum1Text() const override { return m_settings.Datum1Text(); }
  std::string Datum2Text() const override { return m_settings.Datum2Text(); }
  bool FullDetails() const override { return m_settings.FullDetails(); }
  bool PrintPsmList() const override { return m_window.PrintList(); }
  bool PrintFullJoins() const override { return m_window.FullJoins(); }
  bool PrintDiagnosis() const override { return m_window.PrintDiagnosis(); }
  bool PrintDiagram() const override { return m_window.PrintDiagram(); }

 private:
  const modKestralMGA::CompareSettings& m_settings;
  const frmMGADisplay& m_window;
};

// Notes the row each judged join's verdict line takes: the comparison tells of a join just before
// it adds the line.
class frmMGADisplay::VerdictRowObserver final : public modKestralMGA::JoinObserver {
 public:
  explicit VerdictRowObserver(frmMGADisplay& window) : m_window(window) {}
  void Judged(std::size_t, std::size_t, const modKestralMGA::JoinJudgement&) override {
    m_window.m_verdictRows.push_back(m_window.m_model->Count());
  }

 private:
  frmMGADisplay& m_window;
};

frmMGADisplay::frmMGADisplay(Dialogs& dialogs, const modKestralMGA::Plan& plan,
                             const modKestralMGA::CompareSettings& settings,
                             const modKestralMGA::MarkList& marks, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_dialogs(dialogs),
      m_plan(plan),
      m_reportSettings(std::make_unique<LiveReportSettings>(settings, *this)),
      m_markIndex(marks),
      m_dateText([] { return ReportDateText(QDate::currentDate(), QLocale::system()); }),
      m_model(new ResultLinesModel(this)),
      m_verdictRowObserver(std::make_unique<VerdictRowObserver>(*this)) {
  setObjectName(QStringLiteral("frmMGADisplay"));
  setWindowTitle(QStringLiteral("Results of comparison with MGA coordinates"));

  Frame1 = Named(new QGroupBox(QStringLiteral("Print Options"), this), "Frame1");
  chkPrintList = Named(new QCheckBox(QStringLiteral("Print PSM List"), Frame1), "chkPrintList");
  chkFullJoins =
      Named(new QCheckBox(QStringLiteral("Print full join details"), Frame1), "chkFullJoins");
  chkToFile = Named(new QCheckBox(QStringLiteral("Print to file"), Frame1), "chkToFile");
  chkPrintDiagnosis =
      Named(new QCheckBox(QStringLiteral("Print diagnosis"), Frame1), "chkPrintDiagnosis");
  chkPrintDiagnosis->setToolTip(QStringLiteral("End the report with the diagnosis of its joins"));
  chkPrintDiagram =
      Named(new QCheckBox(QStringLiteral("Print diagram"), Frame1), "chkPrintDiagram");
  chkPrintDiagram->setToolTip(
      QStringLiteral("End the printed report with the join diagram on a page of its own"));
  chkPrintList->setChecked(true);
  auto* options = new QGridLayout(Frame1);
  options->addWidget(chkPrintList, 0, 0);
  options->addWidget(chkFullJoins, 0, 1);
  options->addWidget(chkToFile, 1, 0);
  options->addWidget(chkPrintDiagnosis, 1, 1);
  options->addWidget(chkPrintDiagram, 1, 2);

  cmdClose = Named(new QPushButton(QStringLiteral("&Close"), this), "cmdClose");
  cmdPrint = Named(new QPushButton(QStringLiteral("&Print"), this), "cmdPrint");
  cmdPreview = Named(new QPushButton(QStringLiteral("Pre&view"), this), "cmdPreview");
  cmdPreview->setToolTip(QStringLiteral("Show the pages Print sends to the printer"));
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdClose);
  buttons->addWidget(cmdPrint);
  buttons->addWidget(cmdPreview);
  buttons->addStretch(1);

  auto* top = new QHBoxLayout;
  top->addWidget(Frame1);
  top->addStretch(1);
  top->addLayout(buttons);

  CreateResultTabs();

  // What the last comparison did, above the list (the list and the reports stay as they are).
  lblSummary = Named(new QLabel(this), "lblSummary");
  lblSummary->setWordWrap(true);
  lblSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(lblSummary);
  layout->addWidget(tabResults, 1);
  layout->addWidget(CreateDiagnosisPanel());

  // The first size: the window's own, with the list grown to its columns and lines.
  const QFontMetrics metrics(lstPSMJoins->font());
  const int frame = 2 * lstPSMJoins->frameWidth();
  const QSize list(metrics.horizontalAdvance(QString(kListColumns, u'0')) +
                       style()->pixelMetric(QStyle::PM_ScrollBarExtent) + frame,
                   metrics.lineSpacing() * kListRows + frame);
  const QSize window = sizeHint();
  const QMargins margins = layout->contentsMargins();
  resize(std::max(window.width(), list.width() + margins.left() + margins.right()),
         window.height() - lstPSMJoins->sizeHint().height() + list.height());

  connect(cmdClose, &QPushButton::clicked, this, &frmMGADisplay::cmdClose_Click);
  connect(cmdPrint, &QPushButton::clicked, this, &frmMGADisplay::cmdPrint_Click);
  connect(cmdPreview, &QPushButton::clicked, this, &frmMGADisplay::cmdPreview_Click);
}

frmMGADisplay::~frmMGADisplay() = default;

QGroupBox* frmMGADisplay::CreateDiagnosisPanel() {
  grpDiagnosis = Named(new QGroupBox(QStringLiteral("Diagnosis"), this), "grpDiagnosis");
  lblFinding = Named(new QLabel(grpDiagnosis), "lblFinding");
  lblFit = Named(new QLabel(grpDiagnosis), "lblFit");
  for (QLabel* label : {lblFinding, lblFit}) {
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  }
  tblDiagnosisMarks =
      Named(new QTableWidget(0, int(kDiagnosisColumns.size()), grpDiagnosis), "tblDiagnosisMarks");
  QStringList headers;
  for (const char* header : kDiagnosisColumns) headers << QString::fromLatin1(header);
  tblDiagnosisMarks->setHorizontalHeaderLabels(headers);
  tblDiagnosisMarks->verticalHeader()->hide();
  // Rows of one line each, as close as the list's.
  tblDiagnosisMarks->verticalHeader()->setDefaultSectionSize(
      QFontMetrics(tblDiagnosisMarks->font()).lineSpacing() + 6);
  tblDiagnosisMarks->horizontalHeader()->setStretchLastSection(true);
  tblDiagnosisMarks->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tblDiagnosisMarks->setSelectionBehavior(QAbstractItemView::SelectRows);
  lstDiagnosisNotes = Named(new QListWidget(grpDiagnosis), "lstDiagnosisNotes");
  lstDiagnosisNotes->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // Tall enough for a few rows each when the window first opens; the list takes what it gains.
  const int row = tblDiagnosisMarks->verticalHeader()->defaultSectionSize();
  tblDiagnosisMarks->setMinimumHeight(tblDiagnosisMarks->horizontalHeader()->sizeHint().height() +
                                      row * kDiagnosisMarkRows);
  lstDiagnosisNotes->setMinimumHeight(QFontMetrics(lstDiagnosisNotes->font()).lineSpacing() *
                                      (kDiagnosisNoteRows + 1));
  lstDiagnosisNotes->setMaximumHeight(lstDiagnosisNotes->minimumHeight());
  // Height the window gains goes to the list and the diagram.
  grpDiagnosis->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
  auto* panel = new QVBoxLayout(grpDiagnosis);
  panel->addWidget(lblFinding);
  panel->addWidget(lblFit);
  panel->addWidget(tblDiagnosisMarks);
  panel->addWidget(lstDiagnosisNotes);
  return grpDiagnosis;
}

void frmMGADisplay::CreateResultTabs() {
  lstPSMJoins = Named(new QListView(this), "lstPSMJoins");
  lstPSMJoins->setModel(m_model);
  lstPSMJoins->setItemDelegate(new ResultLineDelegate(*m_model, lstPSMJoins));
  // The result lines are padded with blanks into columns: a fixed-pitch font keeps them in line.
  lstPSMJoins->setFont(FixedPitchFont());
  // Every row is one line of the same height: the view lays out only the rows it shows.
  lstPSMJoins->setUniformItemSizes(true);
  lstPSMJoins->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lstPSMJoins->setSelectionMode(QAbstractItemView::SingleSelection);
  lstPSMJoins->setTextElideMode(Qt::ElideNone);
  lstPSMJoins->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

  // The list and the diagram side by side as tabs; the list first, as it always was.
  tabResults = Named(new QTabWidget(this), "tabResults");
  tabResults->setUsesScrollButtons(false);
  tabResults->addTab(lstPSMJoins, QStringLiteral("List"));
  tabResults->addTab(CreateDiagramPage(), QStringLiteral("Diagram"));
  connect(lstPSMJoins->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { ListLineChosen(current.row()); });
}

QWidget* frmMGADisplay::CreateDiagramPage() {
  auto* page = Named(new QWidget(this), "pagDiagram");
  chkNotAcceptableOnly = Named(new QCheckBox(QStringLiteral("Only joins not acceptable"), page),
                               "chkNotAcceptableOnly");
  cmdFitDiagram = Named(new QPushButton(QStringLiteral("&Fit"), page), "cmdFitDiagram");
  cmdFitDiagram->setToolTip(QStringLiteral("Show the whole plan (0)"));
  cmdSaveDiagram =
      Named(new QPushButton(QStringLiteral("&Save diagram..."), page), "cmdSaveDiagram");
  cmdSaveDiagram->setEnabled(false);
  picDiagram = Named(new JoinDiagramView(page), "picDiagram");
  picDiagram->setToolTip({});
  auto* bar = new QHBoxLayout;
  bar->addWidget(chkNotAcceptableOnly);
  bar->addStretch(1);
  bar->addWidget(cmdFitDiagram);
  bar->addWidget(cmdSaveDiagram);
  auto* column = new QVBoxLayout(page);
  column->addLayout(bar);
  column->addWidget(picDiagram, 1);
  connect(chkNotAcceptableOnly, &QCheckBox::toggled, picDiagram,
          &JoinDiagramView::SetOnlyNotAcceptable);
  connect(cmdFitDiagram, &QPushButton::clicked, picDiagram, &JoinDiagramView::FitToWindow);
  connect(cmdSaveDiagram, &QPushButton::clicked, this, &frmMGADisplay::cmdSaveDiagram_Click);
  connect(picDiagram, &JoinDiagramView::JoinChosen, this, &frmMGADisplay::DiagramJoinChosen);
  return page;
}

void frmMGADisplay::Clear() {
  m_model->Clear();
  m_verdictRows.clear();
  m_diagramJoins.clear();
  picDiagram->SetDiagram({});
  cmdSaveDiagram->setEnabled(false);
  lblSummary->clear();
  lblFinding->clear();
  lblFit->clear();
  tblDiagnosisMarks->setRowCount(0);
  lstDiagnosisNotes->clear();
}

void frmMGADisplay::ShowDiagnosis(const modKestralMGA::Diagnosis& diagnosis) {
  lblFinding->setText(SummaryText(diagnosis.Summary));
  lblFit->setText(FromBytes(modKestralMGA::DiagnosisFitLine(diagnosis.Fit)));
  tblDiagnosisMarks->setRowCount(static_cast<int>(diagnosis.Marks.size()));
  for (std::size_t row = 0; row < diagnosis.Marks.size(); ++row) {
    FillMarkRow(*tblDiagnosisMarks, static_cast<int>(row), diagnosis.Marks[row], diagnosis);
  }
  tblDiagnosisMarks->resizeColumnsToContents();
  lstDiagnosisNotes->clear();
  for (const std::string& line : modKestralMGA::DiagnosisFindingLines(diagnosis)) {
    lstDiagnosisNotes->addItem(FromBytes(line));
  }
  if (lstDiagnosisNotes->count() == 0) {
    lstDiagnosisNotes->addItem(
        QStringLiteral("No suspect mark, renumbered mark or plan check that does not close"));
  }
}

void frmMGADisplay::ShowDiagram(const std::string& planIdentifier,
                                const std::vector<modKestralMGA::JudgedJoin>& joins,
                                const modKestralMGA::Diagnosis& diagnosis) {
  DroppedMessages dropped;
  modKestralMGA::CurveIndex curves = modKestralMGA::CurvesOf(m_plan, planIdentifier, dropped);
  const modKestralMGA::DiagramTitle title{
      ToBytes(QFile::decodeName(QByteArray::fromStdString(planIdentifier))),
      m_reportSettings->AccuracyCriterionText(), m_reportSettings->AverageHeightText(),
      m_dateText()};
  picDiagram->SetDiagram(
      modKestralMGA::BuildJoinDiagram(m_plan, joins, &diagnosis, &curves, title));
  m_diagramJoins.assign(joins.size(), std::nullopt);
  const auto& drawn = picDiagram->Diagram().Joins;
  for (std::size_t i = 0; i < drawn.size(); ++i) m_diagramJoins[drawn[i].Judgement] = i;
  cmdSaveDiagram->setEnabled(picDiagram->HasDiagram());
  ListLineChosen(lstPSMJoins->currentIndex().row());
}

modKestralMGA::JoinObserver& frmMGADisplay::VerdictRows() {
  return *m_verdictRowObserver;
}

void frmMGADisplay::ListLineChosen(int row) {
  // The verdict line at or above the row: detail lines belong to the join above them.
  const auto after = std::upper_bound(m_verdictRows.begin(), m_verdictRows.end(),
                                      static_cast<std::size_t>(std::max(row, 0)));
  std::optional<std::size_t> join;
  if (row >= 0 && after != m_verdictRows.begin()) {
    const auto judged = static_cast<std::size_t>(after - m_verdictRows.begin() - 1);
    if (judged < m_diagramJoins.size()) join = m_diagramJoins[judged];
  }
  picDiagram->SetHighlighted(join);
}

void frmMGADisplay::DiagramJoinChosen(std::size_t join) {
  const std::size_t judged = picDiagram->Diagram().Joins[join].Judgement;
  if (judged >= m_verdictRows.size()) return;
  const QModelIndex line = m_model->index(static_cast<int>(m_verdictRows[judged]), 0);
  lstPSMJoins->setCurrentIndex(line);
  lstPSMJoins->scrollTo(line);
}

void frmMGADisplay::Summary(const modKestralMGA::CompareSummary& summary) {
  FlushLines();
  lblSummary->setText(QString::fromLatin1(summary.Text()));
}

void frmMGADisplay::AddLine(std::string line) {
  m_model->Append(std::move(line));
}

void frmMGADisplay::SetBusy(bool busy) {
  if (busy) {
    setCursor(Qt::WaitCursor);
  } else {
    FlushLines();
    unsetCursor();
  }
}

void frmMGADisplay::FlushLines() {
  m_model->Flush();
}

const std::vector<std::string>& frmMGADisplay::Lines() const {
  return m_model->Lines();
}

bool frmMGADisplay::PrintList() const {
  return chkPrintList->checkState() == Qt::Checked;
}

bool frmMGADisplay::FullJoins() const {
  return chkFullJoins->checkState() == Qt::Checked;
}

bool frmMGADisplay::ToFile() const {
  return chkToFile->checkState() == Qt::Checked;
}

bool frmMGADisplay::PrintDiagnosis() const {
  return chkPrintDiagnosis->checkState() == Qt::Checked;
}

bool frmMGADisplay::PrintDiagram() const {
  return chkPrintDiagram->checkState() == Qt::Checked;
}

bool frmMGADisplay::OnlyNotAcceptable() const {
  return chkNotAcceptableOnly->checkState() == Qt::Checked;
}

void frmMGADisplay::SetFullJoins(bool on) {
  chkFullJoins->setChecked(on);
}

void frmMGADisplay::SetPrintEnabled(bool enabled) {
  cmdPrint->setEnabled(enabled);
  cmdPreview->setEnabled(enabled);
}

void frmMGADisplay::SetReportDate(std::function<std::string()> dateText) {
  m_dateText = std::move(dateText);
}

void frmMGADisplay::cmdClose_Click() {
  hide();
}

void frmMGADisplay::cmdPrint_Click() {
  const char* const title =
      ToFile() ? modKestralMGA::kSaveJoinsErrorTitle : modKestralMGA::kPrintJoinsErrorTitle;
  // An average height typed beyond the limit is refused before any dialog.
  if (!modKestralMGA::CheckAverageHeightText(m_reportSettings->AverageHeightText(), m_dialogs,
                                             title)) {
    return;
  }
  m_markIndex.UseNames(m_plan.Names);
  const modKestralMGA::OffGridNotices notices(m_markIndex, m_dialogs, title);
  try {
    if (ToFile()) {
      // Asks before replacing an existing file: losing a file to a mistyped name is data loss.
      const std::string fileName =
          m_dialogs.SaveFileName(kSaveReportTitle, "", kSaveReportFilter, /*confirmReplace=*/true);
      if (fileName.empty()) return;  // a cancel ends the command: nothing is printed
      RunReport([&](const std::string& dateText) {
        modKestralMGA::JoinContext context{m_markIndex, *m_reportSettings};
        return modKestralMGA::SaveJoinsReport(fileName, m_plan, context, *m_reportSettings,
                                              dateText, m_dialogs);
      });
    } else {
      QPrinter printer(QPrinter::HighResolution);
      modKestralMGA::SetReportMargins(printer);
      if (!m_dialogs.ChoosePrinter(kPrintDialogTitle, printer)) return;
      RunReport([&](const std::string& dateText) { return PrintReportOn(printer, dateText); });
    }
  } catch (const std::exception& e) {
    // The printer or a dialog failed outside the report: the window stays usable.
    m_dialogs.Message(e.what(), modKestralMGA::kPrintJoinsErrorTitle, MessageIcon::Exclamation);
  }
}

void frmMGADisplay::cmdPreview_Click() {
  if (!modKestralMGA::CheckAverageHeightText(m_reportSettings->AverageHeightText(), m_dialogs,
                                             modKestralMGA::kPrintJoinsErrorTitle)) {
    return;
  }
  m_markIndex.UseNames(m_plan.Names);
  // Once for the preview, however often it draws its pages.
  const modKestralMGA::OffGridNotices notices(m_markIndex, m_dialogs,
                                              modKestralMGA::kPrintJoinsErrorTitle);
  ShowReportPreview(m_dialogs, kPreviewTitle, modKestralMGA::kPrintJoinsErrorTitle,
                    [this](QPrinter& printer) { PrintReportOn(printer, m_dateText()); });
}

void frmMGADisplay::cmdSaveDiagram_Click() {
  if (!picDiagram->HasDiagram()) return;
  const std::string fileName =
      m_dialogs.SaveFileName(kSaveDiagramTitle, "", kSaveDiagramFilter, /*confirmReplace=*/true);
  if (fileName.empty()) return;
  modKestralMGA::DiagramPicture picture;
  picture.OnlyNotAcceptable = OnlyNotAcceptable();
  const PrintingInProgress busy(*this, *cmdSaveDiagram);
  modKestralMGA::SaveDiagramPicture(fileName, picDiagram->Diagram(), picture, m_dialogs);
}

void frmMGADisplay::RunReport(const std::function<bool(const std::string&)>& fill) {
  bool written = false;
  {
    const PrintingInProgress busy(*this, *cmdPrint);
    written = fill(m_dateText());
  }
  if (written) {
    m_dialogs.Message(modKestralMGA::kPrintingCompletedText, modKestralMGA::kPrintJoinsTitle,
                      MessageIcon::Exclamation);
  }
}

bool frmMGADisplay::PrintReportOn(QPrinter& printer, const std::string& dateText) {
  modKestralMGA::JoinContext context{m_markIndex, *m_reportSettings};
  return modKestralMGA::RunPrintJob(
      printer,
      [&](modKestralMGA::ColumnWriter& out) {
        return modKestralMGA::PrintJoinsReport(m_plan, context, *m_reportSettings, dateText, out,
                                               m_dialogs);
      },
      [&](QPainter& painter) {
        return modKestralMGA::PrintDiagramPage(printer, painter, m_plan, context, *m_reportSettings,
                                               dateText, m_dialogs, OnlyNotAcceptable());
      });
}

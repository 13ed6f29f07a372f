#include "joins/frmMGAJoins.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QStyle>
#include <QTableView>
#include <algorithm>
#include <array>
#include <cmath>
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
#include "reports/ui/ReportPreview.h"

using modKestralMGA::DistanceCalculationMode;
using modKestralMGA::MessageIcon;

namespace {

// The window is designed in twips, 15 to a pixel on a screen of 96 dots an inch, for a font
// whose lines are 13 pixels (195 twips) high; it is scaled by the height of the lines of its
// own font.
constexpr double kDesignLineTwips = 195.0;
constexpr int kClientWidth = 6465;
constexpr int kClientHeight = 5640;

struct TwipRect {
  int Left, Top, Width, Height;
};
constexpr TwipRect kLabel1 = {240, 120, 2535, 255};
constexpr TwipRect kLstMarks = {240, 360, 2415, 1620};
constexpr TwipRect kFrame1 = {2880, 360, 1815, 1695};
constexpr TwipRect kOption3 = {360, 480, 1335, 255};  // inside Frame1
constexpr TwipRect kOption1 = {360, 840, 855, 255};
constexpr TwipRect kOption2 = {360, 1200, 975, 255};
constexpr TwipRect kCmdClose = {4920, 240, 1215, 375};
constexpr TwipRect kCmdPrint = {4920, 720, 1215, 375};
constexpr TwipRect kCmdClear = {4920, 1200, 1215, 375};
constexpr TwipRect kCmdPreview = {4920, 1680, 1215, 375};
constexpr TwipRect kGrid1 = {240, 2280, 6015, 2895};
constexpr TwipRect kTxtPSM = {1080, 5280, 1455, 285};
// The margins of the design: right of the grid and of the buttons, below the from-mark box.
constexpr int kGridRightMargin = kClientWidth - kGrid1.Left - kGrid1.Width;
constexpr int kButtonsRightMargin = kClientWidth - kCmdClose.Left - kCmdClose.Width;
constexpr int kPsmBottomMargin = kClientHeight - kTxtPSM.Top - kTxtPSM.Height;
constexpr int kLabelGap = kFrame1.Left - kLabel1.Left - kLabel1.Width;

// The widths of the join columns, in letters x of the main window's font.
constexpr std::array<int, modKestralMGA::kJoinListColumns> kColumnLetters = {13, 13, 15, 15, 18};

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
      m_setMode(std::move(setMode)) {
  setObjectName(QStringLiteral("frmMGAJoins"));
  setWindowTitle(QStringLiteral("Join Calculation form"));
  setFont(font);
  m_numbers = new PsmNumberListModel(this);
  m_rows = new JoinListModel(this);
  BuildControls();
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
      {Option3, DistanceCalculationMode::MGA94_2020},
      {Option1, DistanceCalculationMode::AMG84},
      {Option2, DistanceCalculationMode::Plane},
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
  Option3 = Named(new QRadioButton(QStringLiteral("MGA94/2020"), Frame1), "Option3");
  Option1 = Named(new QRadioButton(QStringLiteral("AMG84"), Frame1), "Option1");
  Option2 = Named(new QRadioButton(QStringLiteral("Plane"), Frame1), "Option2");

  cmdClose = Named(new QPushButton(QStringLiteral("Close"), this), "cmdClose");
  cmdPrint = Named(new QPushButton(QStringLiteral("Print"), this), "cmdPrint");
  cmdClear = Named(new QPushButton(QStringLiteral("Clear"), this), "cmdClear");
  cmdPreview = Named(new QPushButton(QStringLiteral("Preview"), this), "cmdPreview");
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
  Grid1->horizontalHeader()->setStretchLastSection(false);

  txtPSM = Named(new QLineEdit(this), "txtPSM");
  txtPSM->setToolTip(QStringLiteral("The PSM number the next join starts from"));

  // Tab goes through the controls in the order the user meets them.
  setTabOrder(lstMarks, Option3);
  setTabOrder(Option3, Option1);
  setTabOrder(Option1, Option2);
  setTabOrder(Option2, cmdClose);
  setTabOrder(cmdClose, cmdPrint);
  setTabOrder(cmdPrint, cmdClear);
  setTabOrder(cmdClear, cmdPreview);
  setTabOrder(cmdPreview, Grid1);
  setTabOrder(Grid1, txtPSM);
}

void frmMGAJoins::Form_Load() {
  QStringList samples;
  for (const int letters : kColumnLetters) samples << QString(letters, QLatin1Char('x'));
  m_gridMinimumWidth = SizeGridColumns(*Grid1, font(), samples);

  const QFontMetrics metrics(font());
  m_pixelsPerTwip = metrics.height() / kDesignLineTwips;
  // Placed in a window of no size, every control takes its designed or its least size; the
  // window's least size then holds them all.
  PlaceControls(QSize(0, 0));
  const QRect grid = Grid1->geometry();
  const QRect psm = txtPSM->geometry();
  const int width = std::max({Pixels(kClientWidth), grid.right() + 1 + Pixels(kGridRightMargin),
                              cmdClose->geometry().right() + 1 + Pixels(kButtonsRightMargin)});
  const int height = std::max(Pixels(kClientHeight), psm.bottom() + 1 + Pixels(kPsmBottomMargin));
  setMinimumSize(width, height);
  resize(width, height);
}

int frmMGAJoins::Pixels(int twips) const {
  return static_cast<int>(std::lround(twips * m_pixelsPerTwip));
}

void frmMGAJoins::PlaceControls(const QSize& client) {
  // A control takes its designed place, moved down or right where the one before it grew, and
  // widened or heightened where its caption needs more room.
  auto place = [this](QWidget* widget, const TwipRect& r, int left, int top, bool fitCaption) {
    int width = Pixels(r.Width);
    int height = Pixels(r.Height);
    if (fitCaption) {
      width = std::max(width, widget->sizeHint().width());
      height = std::max(height, widget->sizeHint().height());
    }
    widget->setGeometry(std::max(left, Pixels(r.Left)), std::max(top, Pixels(r.Top)), width,
                        height);
    return widget->geometry();
  };
  const QRect label = place(Label1, kLabel1, 0, 0, true);
  const QRect list = place(lstMarks, kLstMarks, 0, label.bottom() + 1, false);
  const int gap = Pixels(kFrame1.Left - kLstMarks.Left - kLstMarks.Width);

  int optionsRight = 0;
  int optionsBottom = 0;
  for (const auto& [option, r] :
       {std::pair{Option3, kOption3}, std::pair{Option1, kOption1}, std::pair{Option2, kOption2}}) {
    const QRect placed = place(option, r, 0, optionsBottom + 1, true);
    optionsRight = std::max(optionsRight, placed.right() + 1);
    optionsBottom = placed.bottom();
  }
  const int belowOptions = kFrame1.Height - kOption2.Top - kOption2.Height;
  // The frame stands right of the list and of the list's caption, which reaches down beside it.
  const int frameLeft = std::max(
      {Pixels(kFrame1.Left), list.right() + 1 + gap, label.right() + 1 + Pixels(kLabelGap)});
  Frame1->setGeometry(frameLeft, Pixels(kFrame1.Top),
                      std::max(Pixels(kFrame1.Width), optionsRight + Pixels(kOption3.Left)),
                      std::max(Pixels(kFrame1.Height), optionsBottom + 1 + Pixels(belowOptions)));
  const QRect frame = Frame1->geometry();

  const int buttonGap = Pixels(kCmdPrint.Top - kCmdClose.Top - kCmdClose.Height);
  int buttonsBottom = 0;
  for (const auto& [button, r] :
       {std::pair{cmdClose, kCmdClose}, std::pair{cmdPrint, kCmdPrint},
        std::pair{cmdClear, kCmdClear}, std::pair{cmdPreview, kCmdPreview}}) {
    const int top = buttonsBottom > 0 ? buttonsBottom + 1 + buttonGap : 0;
    buttonsBottom = place(button, r, frame.right() + 1 + gap, top, true).bottom();
  }

  // The grid takes the room the window has beyond its least size; the from-mark box stays below
  // it.
  const int aboveGrid = std::max({list.bottom(), frame.bottom(), buttonsBottom}) + 1 +
                        Pixels(kGrid1.Top - kFrame1.Top - kFrame1.Height);
  const int gridTop = std::max(Pixels(kGrid1.Top), aboveGrid);
  const int psmHeight = std::max(Pixels(kTxtPSM.Height), txtPSM->sizeHint().height());
  const int psmGap = Pixels(kTxtPSM.Top - kGrid1.Top - kGrid1.Height);
  const int gridWidth = std::max({Pixels(kGrid1.Width), m_gridMinimumWidth,
                                  client.width() - Pixels(kGrid1.Left) - Pixels(kGridRightMargin)});
  const int gridHeight = std::max(Pixels(kGrid1.Height), client.height() - gridTop - psmGap -
                                                             psmHeight - Pixels(kPsmBottomMargin));
  Grid1->setGeometry(Pixels(kGrid1.Left), gridTop, gridWidth, gridHeight);
  txtPSM->setGeometry(Pixels(kTxtPSM.Left), Grid1->geometry().bottom() + 1 + psmGap,
                      Pixels(kTxtPSM.Width), psmHeight);
}

void frmMGAJoins::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceControls(event->size());
}

void frmMGAJoins::ShowCalculationMode(DistanceCalculationMode mode) {
  switch (mode) {
    case DistanceCalculationMode::MGA94_2020:
      Option3->setChecked(true);
      break;
    case DistanceCalculationMode::AMG84:
      Option1->setChecked(true);
      break;
    case DistanceCalculationMode::Plane:
      Option2->setChecked(true);
      break;
  }
}

void frmMGAJoins::FillAndShow() {
  std::vector<std::string> numbers;
  for (std::size_t row = 0; row < m_marks.RowCount(); ++row) {
    if (modKestralMGA::DataToSave(m_marks, row)) numbers.push_back(m_marks.Cell(row, 0));
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

void frmMGAJoins::cmdClose_Click() {
  hide();
}

void frmMGAJoins::PrintJoinList(QPrinter& printer) const {
  modKestralMGA::RunPrintJob(printer, [this](modKestralMGA::ColumnWriter& out) {
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

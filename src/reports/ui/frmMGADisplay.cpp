#include "reports/ui/frmMGADisplay.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListView>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "reports/ui/ResultLinesModel.h"

namespace {

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

}  // namespace

frmMGADisplay::frmMGADisplay(Dialogs& dialogs, const modKestralMGA::Plan& plan,
                             const modKestralMGA::CompareSettings& settings,
                             const modKestralMGA::MarkList& marks, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_dialogs(dialogs),
      m_plan(plan),
      m_settings(settings),
      m_marks(marks),
      m_model(new ResultLinesModel(this)) {
  setObjectName(QStringLiteral("frmMGADisplay"));
  setWindowTitle(QStringLiteral("Results of comparison with MGA coordinates"));

  Frame1 = Named(new QGroupBox(QStringLiteral("Print Options"), this), "Frame1");
  chkPrintList = Named(new QCheckBox(QStringLiteral("Print PSM List"), Frame1), "chkPrintList");
  chkFullJoins =
      Named(new QCheckBox(QStringLiteral("Print full join details"), Frame1), "chkFullJoins");
  chkToFile = Named(new QCheckBox(QStringLiteral("Print to file"), Frame1), "chkToFile");
  chkPrintList->setChecked(true);
  auto* options = new QGridLayout(Frame1);
  options->addWidget(chkPrintList, 0, 0);
  options->addWidget(chkFullJoins, 0, 1);
  options->addWidget(chkToFile, 1, 0);

  cmdClose = Named(new QPushButton(QStringLiteral("Close"), this), "cmdClose");
  cmdPrint = Named(new QPushButton(QStringLiteral("Print"), this), "cmdPrint");
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdClose);
  buttons->addWidget(cmdPrint);
  buttons->addStretch(1);

  auto* top = new QHBoxLayout;
  top->addWidget(Frame1);
  top->addStretch(1);
  top->addLayout(buttons);

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

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(lstPSMJoins, 1);

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
}

frmMGADisplay::~frmMGADisplay() = default;

void frmMGADisplay::Clear() {
  m_model->Clear();
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

void frmMGADisplay::SetFullJoins(bool on) {
  chkFullJoins->setChecked(on);
}

void frmMGADisplay::SetPrintEnabled(bool enabled) {
  cmdPrint->setEnabled(enabled);
}

void frmMGADisplay::cmdClose_Click() {
  hide();
}

void frmMGADisplay::cmdPrint_Click() {
  // Printing and saving the joins report are not built yet: the button does nothing so far. The
  // report will read the plan, the settings and the mark list held here, and the print options.
}

#include "marks/ui/frmImportText.h"

#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>
#include <exception>

#include "common/Cp1252.h"
#include "common/Errors.h"
#include "marks/MarkList.h"
#include "marks/MarkListRules.h"
#include "marks/ui/MarkTableModel.h"

using modKestralMGA::MessageIcon;

namespace {

// The caption of lblSampleLine is this text followed by the file's path.
constexpr QLatin1String kSampleCaption("Sample line from ");
// The preview shows this many lines of the file.
constexpr std::size_t kPreviewLines = 20;
// The message after OK.
constexpr const char* kImportTitle = "Import";

QString FromCp1252(const std::string& bytes) {
  const std::string utf8 = modKestralMGA::Cp1252ToUtf8(bytes);
  return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

}  // namespace

frmImportText::frmImportText(MarkTableModel& marks, modKestralMGA::MessageSink& sink,
                             QWidget* parent)
    : QWidget(parent, Qt::Dialog), m_marks(marks), m_sink(sink) {
  setObjectName(QStringLiteral("frmImportText"));
  setWindowTitle(QStringLiteral("Import delimited text file form"));

  cmdOK = Named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
  cmdOK->setToolTip(QStringLiteral("Click here to load coordinates"));
  cmdCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
  cmdCancel->setToolTip(QStringLiteral("Click here to cancel the form"));
  lblSampleLine = Named(new QLabel(QStringLiteral("Sample Line"), this), "lblSampleLine");
  txtSampleLine = Named(new QLineEdit(this), "txtSampleLine");
  lblSampleLine->setBuddy(txtSampleLine);
  // The numbered fields of the sample line: which number to type in each box. Each number stays
  // on one line with its field when the list wraps.
  lblSampleFields = Named(new QLabel(this), "lblSampleFields");
  lblSampleFields->setWordWrap(true);
  lblSampleFields->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // What OK would take from the first lines: a header line or a date column shows before it
  // turns into a mark.
  grdPreview = Named(new QTableWidget(0, 6, this), "grdPreview");
  grdPreview->setHorizontalHeaderLabels({QStringLiteral("Line"), QStringLiteral("PSM No."),
                                         QStringLiteral("East"), QStringLiteral("North"),
                                         QStringLiteral("Height"), QStringLiteral("Zone")});
  grdPreview->verticalHeader()->hide();
  grdPreview->horizontalHeader()->setStretchLastSection(true);
  grdPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdPreview->setSelectionMode(QAbstractItemView::NoSelection);
  grdPreview->verticalHeader()->setDefaultSectionSize(fontMetrics().lineSpacing() + 6);
  grdPreview->setMinimumHeight(fontMetrics().lineSpacing() * 12);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);
  buttons->addStretch(1);

  auto* layout = new QGridLayout(this);
  layout->addWidget(BuildColumnsFrame(), 0, 0);
  layout->addLayout(buttons, 0, 1);
  layout->addWidget(lblSampleLine, 1, 0, 1, 2);
  layout->addWidget(txtSampleLine, 2, 0, 1, 2);
  layout->addWidget(lblSampleFields, 3, 0, 1, 2);
  layout->addWidget(grdPreview, 4, 0, 1, 2);
  layout->setColumnStretch(0, 1);
  layout->setRowStretch(4, 1);
  // Wide enough for a typical line of coordinates without scrolling the sample.
  setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 72);

  connect(cmdOK, &QPushButton::clicked, this, &frmImportText::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmImportText::cmdCancel_Click);
  connect(txtSampleLine, &QLineEdit::textChanged, this, &frmImportText::ShowSampleFields);
  for (QLineEdit* box : {txtPoint, txtEast, txtNorth, txtHeight, txtZone}) {
    connect(box, &QLineEdit::textChanged, this, &frmImportText::ShowPreview);
  }
  connect(chkDecimalComma, &QCheckBox::toggled, this, [this] {
    ShowSampleFields();
    ShowPreview();
  });
}

QGroupBox* frmImportText::BuildColumnsFrame() {
  auto* frame =
      Named(new QGroupBox(QStringLiteral("Enter column number from left for each field"), this),
            "Frame1");
  struct Box {
    QLineEdit*& box;
    const char* name;
    const char* labelName;
    const char* caption;
    const char* initial;
  };
  const std::array<Box, 5> boxes = {{
      {txtPoint, "txtPoint", "lblPoint", "Point", "1"},
      {txtEast, "txtEast", "lblEast", "East", "2"},
      {txtNorth, "txtNorth", "lblNorth", "North", "3"},
      {txtHeight, "txtHeight", "lblHeight", "Height", "0"},
      {txtZone, "txtZone", "lblZone", "Zone", "0"},
  }};
  auto* layout = new QGridLayout(frame);
  const int boxWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16;
  int column = 0;
  for (const Box& entry : boxes) {
    entry.box = Named(new QLineEdit(QString::fromLatin1(entry.initial), frame), entry.name);
    entry.box->setMaximumWidth(boxWidth);
    auto* label = Named(new QLabel(QString::fromLatin1(entry.caption), frame), entry.labelName);
    label->setBuddy(entry.box);
    layout->addWidget(label, 0, column);
    layout->addWidget(entry.box, 1, column);
    ++column;
  }
  chkDecimalComma =
      Named(new QCheckBox(QStringLiteral("Decimal co&mma"), frame), "chkDecimalComma");
  chkDecimalComma->setToolTip(
      QStringLiteral("Read 282840,660 as one number (files written with a "
                     "comma as the decimal mark)"));
  layout->addWidget(chkDecimalComma, 1, column);
  layout->setColumnStretch(column + 1, 1);
  return frame;
}

void frmImportText::SetSample(const std::string& path, const std::string& displayPath,
                              const std::string& sampleLine) {
  m_path = path;
  txtSampleLine->setText(FromCp1252(sampleLine));
  txtSampleLine->setCursorPosition(0);
  lblSampleLine->setText(QString(kSampleCaption) +
                         QFile::decodeName(QByteArray::fromStdString(displayPath)));
  // The preview keeps the first lines only; a file the sample came from reads again here.
  m_previewText = {};
  try {
    m_previewText = modKestralMGA::ReadTextFile(path, displayPath, modKestralMGA::kImportFileKind);
    std::size_t end = 0;
    for (std::size_t line = 0; line < kPreviewLines && end != std::string::npos; ++line) {
      end = m_previewText.Bytes.find('\n', end == 0 && line == 0 ? 0 : end + 1);
    }
    if (end != std::string::npos) m_previewText.Bytes.resize(end + 1);
  } catch (const modKestralMGA::FileError&) {
    // The sample was read a moment ago; a file gone since shows no preview, and OK says why.
  }
  ShowPreview();
}

modKestralMGA::ImportColumnNumbers frmImportText::Columns() const {
  modKestralMGA::ImportColumnNumbers columns = modKestralMGA::ReadImportColumnNumbers(
      txtPoint->text().toStdString(), txtEast->text().toStdString(), txtNorth->text().toStdString(),
      txtHeight->text().toStdString(), txtZone->text().toStdString());
  columns.DecimalComma = chkDecimalComma->isChecked();
  return columns;
}

QStringList frmImportText::ColumnTexts() const {
  return {txtPoint->text(), txtEast->text(), txtNorth->text(), txtHeight->text(), txtZone->text()};
}

void frmImportText::SetColumnTexts(const QStringList& texts) {
  const std::array<QLineEdit*, 5> boxes = {txtPoint, txtEast, txtNorth, txtHeight, txtZone};
  for (std::size_t i = 0; i < boxes.size() && i < std::size_t(texts.size()); ++i) {
    boxes[i]->setText(texts[qsizetype(i)]);
  }
}

bool frmImportText::DecimalComma() const {
  return chkDecimalComma->isChecked();
}

void frmImportText::SetDecimalComma(bool on) {
  chkDecimalComma->setChecked(on);
}

void frmImportText::ShowPreview() {
  const auto lines = modKestralMGA::PreviewImport(m_previewText, Columns(), kPreviewLines);
  grdPreview->setRowCount(static_cast<int>(lines.size()));
  constexpr std::array<int, 5> kShown = {modKestralMGA::kColPsmNo, modKestralMGA::kColEast,
                                         modKestralMGA::kColNorth, modKestralMGA::kColHeight,
                                         modKestralMGA::kColZone};
  for (int row = 0; row < static_cast<int>(lines.size()); ++row) {
    const modKestralMGA::ImportPreviewLine& line = lines[std::size_t(row)];
    grdPreview->setItem(row, 0, new QTableWidgetItem(QString::number(line.LineNumber)));
    for (int column = 1; column <= 5; ++column) {
      const QString text = line.GivesMark
                               ? FromCp1252(line.Row[std::size_t(kShown[std::size_t(column - 1)])])
                               : (column == 1 ? QStringLiteral("(no mark)") : QString());
      auto* item = new QTableWidgetItem(text);
      if (column >= 2) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (!line.GivesMark) item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
      grdPreview->setItem(row, column, item);
    }
  }
  grdPreview->resizeColumnsToContents();
}

void frmImportText::ShowSampleFields() {
  const QByteArray utf8 = txtSampleLine->text().toUtf8();
  const std::string fields = modKestralMGA::NumberedFields(
      modKestralMGA::Utf8ToCp1252(std::string_view(utf8.constData(), std::size_t(utf8.size()))),
      chkDecimalComma->isChecked());
  // A no-break space after each number's colon keeps "2: 280000" together when the list wraps.
  lblSampleFields->setText(
      QString::fromLatin1(fields).replace(QStringLiteral(": "), QStringLiteral(":\u00A0")));
}

void frmImportText::cmdOK_Click() {
  // The file is named by the caption from its 18th character on; it is opened as chosen.
  const std::string displayPath =
      QFile::encodeName(lblSampleLine->text().mid(kSampleCaption.size())).toStdString();
  cmdOK->setEnabled(false);
  setCursor(Qt::WaitCursor);
  // The rows are gathered apart and appended to the grid in one insertion; the rows read before
  // a failure are appended all the same.
  modKestralMGA::MarkList imported;
  modKestralMGA::ImportCount count;
  std::string failure;
  try {
    count = modKestralMGA::ImportTextFile(m_path, displayPath, Columns(), imported);
  } catch (const std::exception& error) {
    failure = error.what();
  }
  // The Import command took an empty row away before the window showed: an empty list has none.
  const bool intoEmptyList = m_marks.List().Empty();
  m_marks.AppendRows(imported, QStringLiteral("Import"));
  unsetCursor();
  cmdOK->setEnabled(true);
  if (!failure.empty()) {
    m_sink.Message(failure, modKestralMGA::kImportFileErrorTitle, MessageIcon::Critical);
    return;
  }
  if (intoEmptyList && !imported.Empty()) m_marks.SetUnchanged();
  m_sink.Message(modKestralMGA::ImportCountText(count), kImportTitle,
                 count.Added == 0 ? MessageIcon::Exclamation : MessageIcon::Information);
  // One mark alone is not enough to compare, and an import that added nothing changed nothing:
  // the window stays for another file or other column numbers.
  if (count.Added > 0 && m_marks.rowCount() >= 2) hide();
}

void frmImportText::cmdCancel_Click() {
  hide();
}

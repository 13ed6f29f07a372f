#include "marks/ui/frmImportText.h"

#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <exception>

#include "common/Cp1252.h"
#include "marks/MarkList.h"
#include "marks/ui/MarkTableModel.h"

using modKestralMGA::MessageIcon;

namespace {

// The caption of lblSampleLine is this text followed by the file's path.
constexpr QLatin1String kSampleCaption("Sample line from ");

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
  layout->setColumnStretch(0, 1);
  layout->setRowStretch(4, 1);
  // Wide enough for a typical line of coordinates without scrolling the sample.
  setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 72);

  connect(cmdOK, &QPushButton::clicked, this, &frmImportText::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmImportText::cmdCancel_Click);
  connect(txtSampleLine, &QLineEdit::textChanged, this, &frmImportText::ShowSampleFields);
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
  layout->setColumnStretch(column, 1);
  return frame;
}

void frmImportText::SetSample(const std::string& path, const std::string& displayPath,
                              const std::string& sampleLine) {
  m_path = path;
  txtSampleLine->setText(FromCp1252(sampleLine));
  txtSampleLine->setCursorPosition(0);
  lblSampleLine->setText(QString(kSampleCaption) +
                         QFile::decodeName(QByteArray::fromStdString(displayPath)));
}

modKestralMGA::ImportColumnNumbers frmImportText::Columns() const {
  return modKestralMGA::ReadImportColumnNumbers(
      txtPoint->text().toStdString(), txtEast->text().toStdString(), txtNorth->text().toStdString(),
      txtHeight->text().toStdString(), txtZone->text().toStdString());
}

void frmImportText::ShowSampleFields() {
  const QByteArray utf8 = txtSampleLine->text().toUtf8();
  const std::string fields = modKestralMGA::NumberedFields(
      modKestralMGA::Utf8ToCp1252(std::string_view(utf8.constData(), std::size_t(utf8.size()))));
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
  std::string failure;
  try {
    modKestralMGA::ImportTextFile(m_path, displayPath, Columns(), imported);
  } catch (const std::exception& error) {
    failure = error.what();
  }
  m_marks.AppendRows(imported);
  unsetCursor();
  cmdOK->setEnabled(true);
  if (!failure.empty()) {
    m_sink.Message(failure, modKestralMGA::kImportFileErrorTitle, MessageIcon::Critical);
    return;
  }
  // One mark alone is not enough to compare: the window stays for another file.
  if (m_marks.rowCount() >= 2) hide();
}

void frmImportText::cmdCancel_Click() {
  hide();
}

#include "app/QtDialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStringDecoder>
#include <algorithm>

#include "common/Cp1252.h"

using modKestralMGA::MessageIcon;

namespace {

QString FromBytes(const std::string& text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The patterns named in the last parentheses of a description, or an empty list.
QStringList PatternsInDescription(const QString& description) {
  const QString trimmed = description.trimmed();
  if (!trimmed.endsWith(u')')) return {};
  const auto open = trimmed.lastIndexOf(u'(');
  if (open < 0) return {};
  const QString inside = trimmed.mid(open + 1, trimmed.size() - open - 2);
  return inside.split(QRegularExpression(QStringLiteral("[ ;]+")), Qt::SkipEmptyParts);
}

bool SamePatterns(const QStringList& a, const QStringList& b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i) {
    if (a[i].compare(b[i], Qt::CaseInsensitive) != 0) return false;
  }
  return true;
}

// Shows the dialog prepared by the caller and gives the chosen path as the file system's bytes.
std::string RunFileDialog(QFileDialog& dialog, const std::string& initialName,
                          const std::string& filter) {
  // Each dialog opens in the folder it was last left in (by its title), large enough to show the
  // file list's columns.
  QSettings settings;
  const QString folderKey = QStringLiteral("folders/") + dialog.windowTitle();
  const QString folder = settings.value(folderKey).toString();
  if (!folder.isEmpty() && QDir(folder).exists()) dialog.setDirectory(folder);
  dialog.resize(std::max(dialog.width(), 860), std::max(dialog.height(), 520));
  dialog.setNameFilters(QtNameFilters(filter));
  // File name patterns match regardless of letter case: *.csv also shows MARKS.CSV.
  dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
  if (!initialName.empty()) dialog.selectFile(QFile::decodeName(initialName.c_str()));
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return {};
  settings.setValue(folderKey, QFileInfo(chosen.first()).absolutePath());
  return QFile::encodeName(chosen.first()).toStdString();
}

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
  QStringList filters;
  for (const DialogFilterEntry& entry : ParseDialogFilter(filter)) {
    const QString description = FromBytes(entry.Description);
    const QStringList patterns =
        FromBytes(entry.Pattern)
            .split(QRegularExpression(QStringLiteral("[ ;]+")), Qt::SkipEmptyParts);
    if (patterns.isEmpty() || SamePatterns(PatternsInDescription(description), patterns)) {
      filters << description;
    } else {
      filters << description + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
  }
  return filters;
}

QString MessageText(const std::string& text) {
  QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  QString decoded = utf8(QByteArrayView(text.data(), qsizetype(text.size())));
  if (!utf8.hasError()) return decoded;
  return FromBytes(modKestralMGA::Cp1252ToUtf8(text));
}

void QtDialogs::Message(const std::string& text, const std::string& title, MessageIcon icon) {
  QMessageBox::Icon boxIcon = QMessageBox::Information;
  switch (icon) {
    case MessageIcon::Critical:
      boxIcon = QMessageBox::Critical;
      break;
    case MessageIcon::Exclamation:
      boxIcon = QMessageBox::Warning;
      break;
    case MessageIcon::Information:
      boxIcon = QMessageBox::Information;
      break;
  }
  QMessageBox box(boxIcon, MessageText(title), MessageText(text), QMessageBox::Ok, m_parent);
  box.exec();
}

std::string QtDialogs::OpenFileName(const std::string& title, const std::string& initialName,
                                    const std::string& filter) {
  QFileDialog dialog(m_parent, MessageText(title));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return RunFileDialog(dialog, initialName, filter);
}

std::string QtDialogs::SaveFileName(const std::string& title, const std::string& initialName,
                                    const std::string& filter, bool confirmReplace) {
  QFileDialog dialog(m_parent, MessageText(title));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirmReplace);
  dialog.setDefaultSuffix(QString::fromStdString(DefaultSuffix(filter)));
  return RunFileDialog(dialog, initialName, filter);
}

Dialogs::SaveAnswer QtDialogs::AskToSave(const std::string& text, const std::string& title) {
  QMessageBox box(QMessageBox::Question, MessageText(title), MessageText(text),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_parent);
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Save:
      return SaveAnswer::Save;
    case QMessageBox::Discard:
      return SaveAnswer::Discard;
    default:
      return SaveAnswer::Cancel;
  }
}

bool QtDialogs::AskToContinue(const std::string& text, const std::string& title) {
  QMessageBox box(QMessageBox::Warning, MessageText(title), MessageText(text), QMessageBox::Cancel,
                  m_parent);
  const QPushButton* go = box.addButton(QObject::tr("Continue"), QMessageBox::AcceptRole);
  box.setDefaultButton(QMessageBox::Cancel);
  box.setEscapeButton(QMessageBox::Cancel);
  box.exec();
  return box.clickedButton() == static_cast<const QAbstractButton*>(go);
}

bool QtDialogs::ChoosePrinter(const std::string& title, QPrinter& printer) {
  QPrintDialog dialog(&printer, m_parent);
  dialog.setWindowTitle(MessageText(title));
  return dialog.exec() == QDialog::Accepted;
}

void QtDialogs::ShowPrintPreview(const std::string& title,
                                 const std::function<void(QPrinter&)>& paint) {
  QPrinter printer(QPrinter::HighResolution);
  QPrintPreviewDialog dialog(&printer, m_parent);
  dialog.setWindowTitle(MessageText(title));
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                   [&paint](QPrinter* shown) { paint(*shown); });
  dialog.exec();
}

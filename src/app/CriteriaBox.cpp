#include "app/CriteriaBox.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "app/WindowText.h"
#include "common/Errors.h"
#include "compare/CriteriaFile.h"

modKestralMGA::CriteriaTable CriteriaWithUserFile(modKestralMGA::MessageSink& sink) {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  const QString path = QDir(folder).filePath(QStringLiteral("criteria.json"));
  if (folder.isEmpty() || !QFile::exists(path)) return modKestralMGA::BuiltInCriteria();
  try {
    return modKestralMGA::AddCriteriaFile(modKestralMGA::BuiltInCriteria(),
                                          QFile::encodeName(path).toStdString());
  } catch (const modKestralMGA::FileError& e) {
    sink.Message(e.what(), modKestralMGA::kCriteriaFileErrorTitle,
                 modKestralMGA::MessageIcon::Critical);
    return modKestralMGA::BuiltInCriteria();
  }
}

QString CriterionToolTip(const modKestralMGA::AccuracyCriterion* criterion) {
  if (criterion == nullptr) return {};
  std::string tip = criterion->BearingFormula() + "\n" + criterion->DistanceFormula() +
                    "\nd: the MGA ground distance of the join, in metres";
  if (!criterion->Source.empty()) tip += "\n" + criterion->Source;
  return FromBytes(tip);
}

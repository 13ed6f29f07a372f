#include "reports/ui/ReportFont.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QRawFont>
#include <QStringList>
#include <QVariant>

#include "common/Errors.h"

// The font file lives in this static library's resource, which is linked in and registered only
// through its initializer; that is declared in the global namespace, where this function names
// it. Once a process is enough.
static void LoadReportFontResource() {
  static const bool loaded = [] {
    Q_INIT_RESOURCE(ReportFont);
    return true;
  }();
  static_cast<void>(loaded);
}

namespace modKestralMGA {

namespace {

constexpr qreal kReportPointSize = 10.0;
constexpr const char* kFontFile = ":/kestralmga/fonts/LiberationMono-Regular.ttf";
constexpr const char* kCannotLoad = "The report font could not be loaded";
// The family the registration gave, kept by the application it was registered in: a new
// application starts with a new font database.
constexpr const char* kFamilyProperty = "kestralReportFontFamily";

QString RegisteredFamily() {
  const QCoreApplication* application = QCoreApplication::instance();
  return application != nullptr ? application->property(kFamilyProperty).toString() : QString();
}

QFont FontOfFamily(const QString& family) {
  QFont font(family);
  font.setStyleHint(QFont::TypeWriter, QFont::NoFontMerging);
  font.setFixedPitch(true);
  font.setPointSizeF(kReportPointSize);
  return font;
}

// Whether the family's font is the one in data: the same font header table (revision, checksum,
// dates), fixed-pitch, under that very family name.
bool GivesShippedFont(const QString& family, const QByteArray& data) {
  const QFont font = FontOfFamily(family);
  const QFontInfo info(font);
  return info.family() == family && info.fixedPitch() &&
         QRawFont::fromFont(font).fontTable("head") ==
             QRawFont(data, kReportPointSize).fontTable("head");
}

}  // namespace

void RegisterReportFont() {
  if (!RegisteredFamily().isEmpty()) return;
  auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (application == nullptr) throw KestralError(kCannotLoad);
  LoadReportFontResource();
  QFile file(QString::fromLatin1(kFontFile));
  if (!file.open(QIODevice::ReadOnly)) throw KestralError(kCannotLoad);
  const QByteArray data = file.readAll();
  const QStringList families =
      QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFontFromData(data));
  if (families.size() != 1 || !GivesShippedFont(families.front(), data)) {
    throw KestralError(kCannotLoad);
  }
  application->setProperty(kFamilyProperty, families.front());
}

QFont ReportFont() {
  const QString family = RegisteredFamily();
  if (family.isEmpty()) throw KestralError("The report font is not loaded");
  return FontOfFamily(family);
}

}  // namespace modKestralMGA

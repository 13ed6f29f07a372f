#include "app/WindowText.h"

#include <QByteArray>
#include <string_view>

#include "common/Cp1252.h"

std::string ToBytes(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return modKestralMGA::Utf8ToCp1252(std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

QString FromBytes(const std::string& bytes) {
  const std::string utf8 = modKestralMGA::Cp1252ToUtf8(bytes);
  return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

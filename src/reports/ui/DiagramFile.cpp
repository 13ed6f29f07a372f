#include "reports/ui/DiagramFile.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>

#include "common/Cp1252.h"
#include "common/Errors.h"
#include "reports/ui/DiagramPainter.h"
#include "reports/ui/OffscreenApplication.h"

namespace modKestralMGA {

namespace {

// The device units of a millimetre of lettering: a picture 1,200 units high letters as an A4 page
// in landscape would (160 mm high), scaled.
double UnitOf(const DiagramPicture& picture) {
  return std::min(picture.Width, picture.Height) / 160.0;
}

QRectF Sheet(const DiagramPicture& picture) {
  return {0.0, 0.0, double(picture.Width), double(picture.Height)};
}

}  // namespace

bool RenderDiagramPicture(const std::string& name, DiagramFormat format, const JoinDiagram& diagram,
                          const DiagramPicture& picture, std::string& bytes, MessageSink& sink) {
  const OffscreenApplication application;
  if (!application.CanPaint(name, kSaveDiagramErrorTitle, sink)) return false;
  if (picture.Width < 1 || picture.Height < 1) {
    CannotWrite(name, QStringLiteral("the picture has no size"), kSaveDiagramErrorTitle, sink);
    return false;
  }
  QByteArray rendered;
  QBuffer buffer(&rendered);
  buffer.open(QIODevice::WriteOnly);
  if (format == DiagramFormat::Svg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(picture.Width, picture.Height));
    svg.setViewBox(Sheet(picture));
    svg.setTitle(QStringLiteral("Join diagram"));
    if (!diagram.TitleLines.empty()) {
      svg.setDescription(QString::fromStdString(Cp1252ToUtf8(diagram.TitleLines.front())));
    }
    QPainter painter;
    if (!painter.begin(&svg)) {
      CannotWrite(name, QStringLiteral("the SVG could not be started"), kSaveDiagramErrorTitle,
                  sink);
      return false;
    }
    PaintDiagramSheet(painter, Sheet(picture), diagram, UnitOf(picture), picture.OnlyNotAcceptable);
    painter.end();
  } else {
    QImage image(picture.Width, picture.Height, QImage::Format_RGB32);
    if (image.isNull()) {
      CannotWrite(name, QStringLiteral("not enough memory for the picture"), kSaveDiagramErrorTitle,
                  sink);
      return false;
    }
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      PaintDiagramSheet(painter, Sheet(picture), diagram, UnitOf(picture),
                        picture.OnlyNotAcceptable);
    }
    if (!image.save(&buffer, "PNG")) {
      CannotWrite(name, QStringLiteral("the PNG could not be made"), kSaveDiagramErrorTitle, sink);
      return false;
    }
  }
  bytes.assign(rendered.constData(), static_cast<std::size_t>(rendered.size()));
  return true;
}

bool SaveDiagramPicture(const std::string& path, const JoinDiagram& diagram,
                        const DiagramPicture& picture, MessageSink& sink, FileOps& ops) {
  const std::optional<DiagramFormat> format = DiagramFormatOf(path);
  if (!format) {
    sink.Message("Cannot write " + path + ": the name ends in neither .svg nor .png",
                 kSaveDiagramErrorTitle, MessageIcon::Exclamation);
    return false;
  }
  std::string bytes;
  if (!RenderDiagramPicture(path, *format, diagram, picture, bytes, sink)) return false;
  try {
    AtomicWriteFile(path, bytes, ops);
    return true;
  } catch (const FileError& error) {
    sink.Message(error.what(), kSaveDiagramErrorTitle, MessageIcon::Exclamation);
    return false;
  }
}

}  // namespace modKestralMGA

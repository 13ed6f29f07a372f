#pragma once

// The join diagram as a picture file (SVG or PNG), for the window's "Save diagram..." and the
// batch program's --diagram. This header is free of Qt, so that the batch program's sources stay
// so; the functions render through Qt.
#include <string>

#include "common/AtomicFile.h"
#include "common/Seams.h"
#include "reports/DiagramFormat.h"
#include "reports/JoinDiagram.h"

namespace modKestralMGA {

// How big a picture is, in pixels (SVG: user units), and which joins it draws.
struct DiagramPicture {
  int Width = 1600;
  int Height = 1200;
  bool OnlyNotAcceptable = false;
};

// The diagram as the bytes of a picture in format: the sheet (the plan fitted, north arrow,
// scale bars, legend and title block) on a white ground; SVG keeps every text as text. Creates a
// Qt application on the offscreen platform for the time of the call when the program has none. A
// picture that cannot be made shows "Cannot write <name>: <reason>" under "Save diagram error"
// (exclamation). Returns whether bytes hold the picture.
bool RenderDiagramPicture(const std::string& name, DiagramFormat format, const JoinDiagram& diagram,
                          const DiagramPicture& picture, std::string& bytes, MessageSink& sink);

// RenderDiagramPicture in the format of path's extension, written to the file at path
// (AtomicWriteFile over ops). A name without ".svg" or ".png" shows "Cannot write <path>: the
// name ends in neither .svg nor .png", a file that cannot be written its description, both under
// "Save diagram error" (exclamation). Returns whether the file was written.
bool SaveDiagramPicture(const std::string& path, const JoinDiagram& diagram,
                        const DiagramPicture& picture, MessageSink& sink,
                        FileOps& ops = SystemFileOps());

}  // namespace modKestralMGA

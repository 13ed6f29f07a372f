#pragma once

// The boundary between the batch program and Qt: the PDF report and the diagram's pictures are
// rendered in the plug-in kestralmga-print.so, which the batch program opens only when one of
// those outputs is asked for, so that its other runs start without Qt. The plug-in has one entry
// point of C linkage, which returns the table of its functions. Free of Qt.
#include "reports/ui/DiagramFile.h"
#include "reports/ui/PdfReport.h"

namespace modKestralMGA {

// The plug-in's file name and the name of its entry point.
inline constexpr const char* kPrintPluginFile = "kestralmga-print.so";
inline constexpr const char* kPrintPluginEntry = "kestralmga_print_functions";

// The version of the table below; a plug-in whose table has another version is refused.
inline constexpr int kPrintFunctionsVersion = 1;

// The plug-in's functions, with the signatures of PdfReport.h and DiagramFile.h. They render
// into bytes only: the batch program writes the files itself, so that its own handlers of
// signals know the temporary file of a replacement under way.
struct PrintFunctions {
  int Version;
  decltype(&RenderJoinsReportPdf) RenderPdf;
  decltype(&RenderDiagramPicture) RenderPicture;
};

// The type of the entry point.
using PrintFunctionsEntry = const PrintFunctions* (*)();

}  // namespace modKestralMGA

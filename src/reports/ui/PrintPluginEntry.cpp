// The entry point of the plug-in kestralmga-print.so: the table of the functions that render
// through Qt, for the batch program.
#include "reports/ui/PrintPlugin.h"

namespace {

const modKestralMGA::PrintFunctions kFunctions = {modKestralMGA::kPrintFunctionsVersion,
                                                  &modKestralMGA::RenderJoinsReportPdf,
                                                  &modKestralMGA::RenderDiagramPicture};

}  // namespace

extern "C" __attribute__((visibility("default"))) const modKestralMGA::PrintFunctions*
kestralmga_print_functions() {
  return &kFunctions;
}

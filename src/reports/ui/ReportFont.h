#pragma once

#include <QFont>

namespace modKestralMGA {

// Registers the font of printed reports with the application's font database: Liberation Mono,
// a fixed-pitch font with the metrics of Courier New (SIL Open Font License 1.1), shipped inside
// the program, so that a report looks the same whatever fonts the machine has. A Qt GUI
// application must exist; the registration lasts as long as it does, and registering again in
// the same application does nothing. Throws KestralError ("The report font could not be loaded")
// when there is no GUI application, when the font cannot be registered, or when its name gives
// another font (one installed on the system under the same name).
void RegisterReportFont();

// The font of printed reports: the registered report font at 10 points, without glyphs borrowed
// from other fonts. Throws KestralError ("The report font is not loaded") when
// RegisterReportFont has not run in this application.
QFont ReportFont();

}  // namespace modKestralMGA

#pragma once

#include <QString>

class QWidget;

// The help viewer: the program's own help window, a separate top-level window that shows the
// help book (HTML pages with pictures) and follows the links between its pages, with Back,
// Forward and Home. A window that opens the help owns its help window: showing the help again
// brings the same window back on the default page, and closing the help closes it.
namespace modHtmlHelp {

// The help book's default page: "KestralMGA.html" in the folder that holds the running program
// (its real folder, with symbolic links resolved, so that a link to the program in another
// folder still finds the book installed beside it). Built anew at each call.
QString HelpFilePath();

// Shows caller's help window on helpFile, the book's default page, without blocking caller.
// A missing helpFile shows no message box: the window's page says "Help file not found: " and
// the path.
void ShowHelp(QWidget& caller, const QString& helpFile);

// Closes the help window that caller opened, if any; helpFile names the book it shows.
void CloseHelp(QWidget& caller, const QString& helpFile);

// The help window that caller opened and that has not been closed by CloseHelp, or nullptr.
QWidget* HelpWindowOf(const QWidget& caller);

}  // namespace modHtmlHelp

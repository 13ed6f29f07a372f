#pragma once

class QWidget;

// Where a secondary window (results, joins, import) first opens: beside the main window, on the
// side with room on its screen, rather than over it. A window placed once, by this or by the place
// restored from the settings (MarkPlaced), keeps wherever the user has put it since.
void PlaceBeside(QWidget& window, const QWidget& main);
void MarkPlaced(QWidget& window);

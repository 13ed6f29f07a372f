#include "app/WindowPlaces.h"

#include <QRect>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace {

// Set on a secondary window once it has its place.
constexpr const char* kPlacedProperty = "kestralPlaced";

}  // namespace

void MarkPlaced(QWidget& window) {
  window.setProperty(kPlacedProperty, true);
}

void PlaceBeside(QWidget& window, const QWidget& main) {
  if (window.property(kPlacedProperty).toBool()) return;
  MarkPlaced(window);
  const QScreen* screen = main.screen();
  if (screen == nullptr) return;
  const QRect room = screen->availableGeometry();
  const QRect frame = main.frameGeometry();
  const int width = window.frameGeometry().width();
  int x = frame.right() + 1;
  if (x + width > room.right()) x = std::max(room.left(), frame.left() - width);
  window.move(x, std::clamp(frame.top(), room.top(), std::max(room.top(), room.bottom() - 100)));
}

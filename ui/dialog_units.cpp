#include "ui/dialog_units.h"

#include <QFontMetrics>
#include <QWidget>

namespace {

struct BaseUnits {
  int x = 0;  ///< average character width in pixels
  int y = 0;  ///< character height in pixels
};

BaseUnits BaseUnitsOf(const QFont& font) {
  // The average width of the Latin letters, rounded, as dialog managers take it.
  static const QString kLetters =
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(kLetters);
  return {(width / 26 + 1) / 2, metrics.height()};
}

QRect ToPixels(const QRect& units, const BaseUnits& base) {
  return {units.x() * base.x / 4, units.y() * base.y / 8, units.width() * base.x / 4,
          units.height() * base.y / 8};
}

}  // namespace

void ApplyDialogUnits(QWidget& dialog) {
  dialog.ensurePolished();
  const BaseUnits base = BaseUnitsOf(dialog.font());
  for (QObject* child : dialog.children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget != nullptr && !widget->isWindow()) {
      widget->setGeometry(ToPixels(widget->geometry(), base));
    }
  }
  const QRect size = ToPixels(QRect(QPoint(0, 0), dialog.size()), base);
  dialog.setFixedSize(size.size());
}

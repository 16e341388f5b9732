#include "ui/qt/dialog_units.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QList>
#include <QWidget>
#include <algorithm>

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

// The room a control's text needs; an empty size for controls that scroll or
// elide their content (lists, fields) and so never clip it.
QSize NeededSize(const QWidget& widget) {
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
    if (label->wordWrap()) {
      return {0, label->heightForWidth(label->width())};
    }
    return label->sizeHint();
  }
  if (qobject_cast<const QAbstractButton*>(&widget) != nullptr) {
    return widget.sizeHint();
  }
  if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) {
    return group->title().isEmpty() ? QSize() : group->minimumSizeHint();
  }
  return {};
}

// Opens a band of `extra` pixels at `edge` across the whole form, along x or y:
// what starts beyond the edge moves, what spans it grows.
void InsertBand(QWidget& dialog, const QList<QWidget*>& widgets, bool alongX, int edge, int extra) {
  for (QWidget* widget : widgets) {
    QRect rect = widget->geometry();
    const int start = alongX ? rect.left() : rect.top();
    const int end = start + (alongX ? rect.width() : rect.height());
    if (start >= edge) {
      rect.translate(alongX ? extra : 0, alongX ? 0 : extra);
    } else if (end > edge) {
      (alongX ? rect.setWidth(rect.width() + extra) : rect.setHeight(rect.height() + extra));
    }
    widget->setGeometry(rect);
  }
  dialog.resize(dialog.width() + (alongX ? extra : 0), dialog.height() + (alongX ? 0 : extra));
}

// Widens, then heightens, every control whose text does not fit.
void MakeRoomForTexts(QWidget& dialog, const QList<QWidget*>& widgets) {
  for (const bool alongX : {true, false}) {
    for (QWidget* widget : widgets) {
      const QSize needed = NeededSize(*widget);
      const QRect rect = widget->geometry();
      const int shortfall =
          alongX ? needed.width() - rect.width() : needed.height() - rect.height();
      if (shortfall > 0) {
        InsertBand(dialog, widgets, alongX, alongX ? rect.right() + 1 : rect.bottom() + 1,
                   shortfall);
        widget->resize(rect.size() + (alongX ? QSize(shortfall, 0) : QSize(0, shortfall)));
      }
    }
  }
}

}  // namespace

void ApplyDialogUnits(QWidget& dialog) {
  dialog.ensurePolished();
  const BaseUnits base = BaseUnitsOf(dialog.font());
  QList<QWidget*> widgets;
  for (QObject* child : dialog.children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget != nullptr && !widget->isWindow()) {
      widgets.append(widget);
    }
  }
  for (QWidget* widget : widgets) {
    widget->ensurePolished();
    QRect rect = ToPixels(widget->geometry(), base);
    if (qobject_cast<QComboBox*>(widget) != nullptr) {
      rect.setHeight(widget->sizeHint().height());
    }
    widget->setGeometry(rect);
    if (qobject_cast<QGroupBox*>(widget) != nullptr) {
      widget->lower();
    }
  }
  dialog.resize(ToPixels(QRect(QPoint(0, 0), dialog.size()), base).size());
  MakeRoomForTexts(dialog, widgets);
  dialog.setFixedSize(dialog.size());
}

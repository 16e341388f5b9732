#include "ui/qt/dialog_units.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QList>
#include <QWidget>
#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

#include "ui/control_room.h"
#include "ui/qt/window_placement.h"

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

// The room a control's text needs at `width`; an empty size for controls
// that scroll or elide their content (lists, fields) and so never clip it, and
// for hidden labels, which only name the control after them.
QSize NeededSize(const QWidget& widget, int width) {
  if (widget.isHidden()) {
    return {};
  }
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
    if (label->wordWrap()) {
      return {0, label->heightForWidth(width)};
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

// Widens, then heightens, every control whose text does not fit.
void MakeRoomForTexts(QWidget& dialog, const QList<QWidget*>& widgets) {
  std::vector<ControlPlace> places;
  for (const QWidget* widget : widgets) {
    const QRect rect = widget->geometry();
    places.push_back(
        {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()});
  }
  const Growth grown = MakeRoomForTexts(places, [&](std::size_t i, const ControlPlace& place) {
    const QSize needed = NeededSize(*widgets[static_cast<qsizetype>(i)], place.Right - place.Left);
    return Growth{needed.width(), needed.height()};
  });
  for (qsizetype i = 0; i < widgets.size(); ++i) {
    const ControlPlace& place = places[static_cast<std::size_t>(i)];
    widgets[i]->setGeometry(place.Left, place.Top, place.Right - place.Left,
                            place.Bottom - place.Top);
  }
  dialog.resize(dialog.size() + QSize(grown.Width, grown.Height));
}

// A group box frames the controls that lie inside it. Made its children, they
// are its members for screen readers (a radio button in its group, a list
// labelled by its frame), and the frame's Alt key reaches its first control.
// The form's tab order stays: the focus chain does not change with a parent
// in the same window.
void AdoptFramedControls(const QList<QWidget*>& widgets) {
  for (QWidget* frame : widgets) {
    auto* group = qobject_cast<QGroupBox*>(frame);
    if (group == nullptr) {
      continue;
    }
    for (QWidget* widget : widgets) {
      if (qobject_cast<QGroupBox*>(widget) == nullptr &&
          group->geometry().contains(widget->geometry())) {
        const bool hidden = widget->isHidden();
        const QPoint inside = widget->pos() - group->pos();
        widget->setParent(group);  // which hides it
        widget->move(inside);
        widget->setHidden(hidden);
      }
    }
  }
}

// What lies below `area` (the row of buttons under a log).
bool Below(const QRect& rect, const QRect& area) {
  return rect.top() > area.bottom();
}

// The smallest size of a dialog whose `stretch` (at `area`) gives up room:
// the stretch keeps a few lines and a few words, a row below it its width.
QSize LeastSize(const QSize& size, const QWidget& stretch, const QRect& area,
                const QList<QWidget*>& widgets) {
  const QFontMetrics metrics = stretch.fontMetrics();
  int width = std::min(area.width(), 16 * metrics.averageCharWidth());
  int rowLeft = INT_MAX;
  int rowRight = INT_MIN;
  for (const QWidget* widget : widgets) {
    if (Below(widget->geometry(), area)) {
      rowLeft = std::min(rowLeft, widget->geometry().left());
      rowRight = std::max(rowRight, widget->geometry().right() + 1);
    }
  }
  if (rowRight > rowLeft) {
    width = std::max(width, rowRight - rowLeft);
  }
  const int height = std::min(area.height(), 6 * metrics.lineSpacing());
  return {std::min(size.width(), width + size.width() - area.width()),
          size.height() - area.height() + height};
}

// Lets the user resize the dialog: the stretch takes up the change in size,
// what lies right of it moves right, and what lies below it moves down and
// stays centred under it (half the change in width), as a row of buttons
// under a log does.
class Stretcher : public QObject {
 public:
  Stretcher(QWidget& dialog, QWidget& stretch)
      : QObject(&dialog), dialog_(dialog), base_(dialog.size()), area_(stretch.geometry()) {
    for (QObject* child : dialog.children()) {
      auto* widget = qobject_cast<QWidget*>(child);
      if (widget != nullptr && !widget->isWindow()) {
        places_.append({widget, widget->geometry(), widget == &stretch});
      }
    }
    dialog.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Resize) {
      Place(dialog_.size() - base_);
    }
    return false;
  }

 private:
  struct Placed {
    QWidget* widget;
    QRect rect;  ///< At the size the form gives.
    bool stretches;
  };

  void Place(QSize change) {
    for (const Placed& placed : places_) {
      QRect rect = placed.rect;
      if (placed.stretches) {
        rect.setSize(rect.size() + change);
      } else if (Below(rect, area_)) {
        rect.translate(change.width() / 2, change.height());
      } else if (rect.left() > area_.right()) {
        rect.translate(change.width(), 0);
      }
      placed.widget->setGeometry(rect);
    }
  }

  QWidget& dialog_;
  QSize base_;  ///< The size the form gives.
  QRect area_;  ///< The stretch's place at that size.
  QList<Placed> places_;
};

// Converts every widget's rectangle and the dialog's size from `units` at
// the dialog's current font, then makes room for texts that do not fit.
void LayOut(QWidget& dialog, const QList<QWidget*>& widgets, const QList<QRect>& units,
            const QSize& dialogUnits) {
  const BaseUnits base = BaseUnitsOf(dialog.font());
  for (qsizetype i = 0; i < widgets.size(); ++i) {
    QWidget* widget = widgets[i];
    widget->ensurePolished();
    QRect rect = ToPixels(units[i], base);
    if (qobject_cast<QComboBox*>(widget) != nullptr) {
      rect.setHeight(widget->sizeHint().height());
    }
    widget->setGeometry(rect);
  }
  dialog.resize(ToPixels(QRect(QPoint(0, 0), dialogUnits), base).size());
  MakeRoomForTexts(dialog, widgets);
}

}  // namespace

void ApplyDialogUnits(QWidget& dialog, QWidget* stretch) {
  dialog.ensurePolished();
  QList<QWidget*> widgets;
  QList<QRect> units;
  for (QObject* child : dialog.children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget != nullptr && !widget->isWindow()) {
      widgets.append(widget);
      units.append(widget->geometry());
    }
  }
  const QSize dialogUnits = dialog.size();
  const auto least = [&] {
    return stretch != nullptr ? LeastSize(dialog.size(), *stretch, stretch->geometry(), widgets)
                              : dialog.size();
  };
  LayOut(dialog, widgets, units, dialogUnits);
  // A very large font on a small screen: a smaller one, laid out anew.
  bool first = true;
  ShrinkFontToFit(dialog, [&] {
    if (!std::exchange(first, false)) {
      LayOut(dialog, widgets, units, dialogUnits);
    }
    return least();
  });
  for (QWidget* widget : widgets) {
    if (qobject_cast<QGroupBox*>(widget) != nullptr) {
      widget->lower();
    }
  }
  if (stretch == nullptr) {
    AdoptFramedControls(widgets);
    dialog.setFixedSize(dialog.size());
    return;
  }
  dialog.setMinimumSize(least());
  AdoptFramedControls(widgets);
  new Stretcher(dialog, *stretch);  // owned by the dialog
}

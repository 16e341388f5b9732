#include "ui/qt/accessibility.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QShortcutEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace {

// The announcer as assistive technology sees it: a notification whose name
// is what it says.
class AnnouncerAccessible : public QAccessibleWidget {
 public:
  explicit AnnouncerAccessible(QWidget* label)
      : QAccessibleWidget(label, QAccessible::Notification) {}

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name) {
      return static_cast<const QLabel*>(widget())->text();
    }
    return QAccessibleWidget::text(kind);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    return state;
  }
};

// The progress log: its text is read, selected and copied like any text, but
// it is not offered for typing. Typing is refused there (a beep), so saying it
// is editable would only invite it; deleting, which the log allows, is no
// reason to type.
class LogAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit LogAccessible(QPlainTextEdit* log) : QAccessibleWidget(log, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) {
      return static_cast<QAccessibleTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.editable = false;
    state.multiLine = true;
    state.selectableText = true;
    return state;
  }

  void selection(int index, int* start, int* end) const override {
    const QTextCursor cursor = Log().textCursor();
    const bool any = index == 0 && cursor.hasSelection();
    *start = any ? cursor.selectionStart() : 0;
    *end = any ? cursor.selectionEnd() : 0;
  }
  int selectionCount() const override { return Log().textCursor().hasSelection() ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int index) override {
    if (index == 0) {
      QTextCursor cursor = Log().textCursor();
      cursor.clearSelection();
      Log().setTextCursor(cursor);
    }
  }
  void setSelection(int /*index*/, int start, int end) override {
    QTextCursor cursor = Log().textCursor();
    cursor.setPosition(Clamped(start));
    cursor.setPosition(Clamped(end), QTextCursor::KeepAnchor);
    Log().setTextCursor(cursor);
  }

  int cursorPosition() const override { return Log().textCursor().position(); }
  void setCursorPosition(int position) override {
    QTextCursor cursor = Log().textCursor();
    cursor.setPosition(Clamped(position));
    Log().setTextCursor(cursor);
  }

  QString text(QAccessible::Text kind) const override { return QAccessibleWidget::text(kind); }
  QString text(int start, int end) const override {
    start = Clamped(start);
    end = Clamped(end);
    return Log().document()->toPlainText().mid(start, std::max(0, end - start));
  }
  int characterCount() const override { return Log().document()->characterCount() - 1; }

  QRect characterRect(int offset) const override {
    QTextCursor cursor(Log().document());
    cursor.setPosition(Clamped(offset));
    QRect rect = Log().cursorRect(cursor);
    const QString character = text(offset, offset + 1);
    rect.setWidth(Log().fontMetrics().horizontalAdvance(character.isEmpty() ? QStringLiteral(" ")
                                                                            : character));
    return QRect(Log().viewport()->mapToGlobal(rect.topLeft()), rect.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    const QPoint inside = Log().viewport()->mapFromGlobal(point);
    return Log().viewport()->rect().contains(inside) ? Log().cursorForPosition(inside).position()
                                                     : -1;
  }
  void scrollToSubstring(int start, int /*end*/) override {
    setCursorPosition(start);
    Log().ensureCursorVisible();
  }
  QString attributes(int offset, int* start, int* end) const override {
    *start = *end = offset;
    return {};
  }

 private:
  QPlainTextEdit& Log() const { return *static_cast<QPlainTextEdit*>(widget()); }
  int Clamped(int offset) const { return std::clamp(offset, 0, characterCount()); }
};

// A drop-down list as Qt shows one on Linux (labelled by its label, its list
// as its child), with the entry offered as its text too.
class ChoiceAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit ChoiceAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) {
      return static_cast<QAccessibleTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
  }

  int childCount() const override { return 1; }
  QAccessibleInterface* child(int index) const override {
    return index == 0 ? QAccessible::queryAccessibleInterface(Box().view()) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child != nullptr && child->object() == Box().view() ? 0 : -1;
  }
  QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    state.expanded = Box().view()->isVisible();
    return state;
  }

  // Named by its label (or its frame), as other controls are; the entry is
  // its value and its text.
  QString text(QAccessible::Text kind) const override {
    const QString label = QAccessibleWidget::text(kind);
    if (kind == QAccessible::Value || (kind == QAccessible::Name && label.isEmpty())) {
      return Box().currentText();
    }
    return label;
  }

  QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
  void doAction(const QString& action) override {
    if (action != showMenuAction() && action != pressAction()) {
      return;
    }
    if (Box().view()->isVisible()) {
      Box().hidePopup();
    } else {
      Box().showPopup();
    }
  }
  QStringList keyBindingsForAction(const QString& /*action*/) const override { return {}; }

  // The text: the chosen entry, read only.
  void selection(int /*index*/, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int /*start*/, int /*end*/) override {}
  void removeSelection(int /*index*/) override {}
  void setSelection(int /*index*/, int /*start*/, int /*end*/) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int /*position*/) override {}
  QString text(int start, int end) const override {
    const QString entry = Box().currentText();
    start = std::clamp(start, 0, static_cast<int>(entry.size()));
    end = std::clamp(end, start, static_cast<int>(entry.size()));
    return entry.mid(start, end - start);
  }
  int characterCount() const override { return static_cast<int>(Box().currentText().size()); }
  QRect characterRect(int /*offset*/) const override { return rect(); }
  int offsetAtPoint(const QPoint& /*point*/) const override { return -1; }
  void scrollToSubstring(int /*start*/, int /*end*/) override {}
  QString attributes(int offset, int* start, int* end) const override {
    *start = *end = offset;
    return {};
  }

 private:
  QComboBox& Box() const { return *static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* MakeInterface(const QString& className, QObject* object) {
  if (className == QLatin1String("ChoiceList")) {
    return new ChoiceAccessible(static_cast<QComboBox*>(object));
  }
  if (className == QLatin1String("Announcer")) {
    return new AnnouncerAccessible(static_cast<QWidget*>(object));
  }
  if (className == QLatin1String("LogEdit")) {
    return new LogAccessible(static_cast<QPlainTextEdit*>(object));
  }
  return nullptr;
}

// Before any widget exists: Qt keeps the first interface made for an object,
// and a base class's constructor may already ask for one.
[[maybe_unused]] const bool kInstalled = (InstallAccessibleInterfaces(), true);

// Keeps the window's focus shown (styles draw the focus only while the
// window has WA_KeyboardFocusChange), and has the Alt key of a check box or
// radio button set it at once, then focus it. Qt focuses it first and sets it
// a moment later, so that screen readers speak the state it had.
class KeyboardHelper : public QObject {
 public:
  explicit KeyboardHelper(QWidget& window) : QObject(&window), window_(window) {
    window.installEventFilter(this);
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
      if (button->isCheckable()) {
        button->installEventFilter(this);
      }
    }
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &window_) {
      if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate) {
        window_.setAttribute(Qt::WA_KeyboardFocusChange);
      }
      return false;
    }
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (event->type() != QEvent::Shortcut || button == nullptr || !button->isEnabled()) {
      return false;
    }
    if (!static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
      button->click();
    }
    button->setFocus(Qt::ShortcutFocusReason);
    window_.setAttribute(Qt::WA_KeyboardFocusChange);
    return true;
  }

 private:
  QWidget& window_;
};

// The application's style, with the keyboard focus drawn where Qt 6.4's
// styles leave it unclear: a dotted frame inside a push button, in its text
// colour (Fusion marks a default button and a focused one alike), and a frame
// in the highlight colour round a log or a list, which otherwise shows only
// a caret or a selection. Both follow the palette, a high-contrast one too.
class FocusFrameStyle : public QProxyStyle {
  Q_OBJECT

 public:
  explicit FocusFrameStyle(const QString& base) : QProxyStyle(base) {}

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    QProxyStyle::drawControl(element, option, painter, widget);
    const QStyle::State focused = State_HasFocus | State_KeyboardFocusChange;
    if ((option->state & focused) != focused) {
      return;
    }
    painter->save();
    painter->setBrush(Qt::NoBrush);
    if (element == CE_PushButton) {
      const QRect inside = subElementRect(SE_PushButtonFocusRect, option, widget);
      painter->setPen(QPen(option->palette.buttonText().color(), 1, Qt::DotLine));
      painter->drawRect(inside.adjusted(1, 1, -2, -2));
    } else if (element == CE_ShapedFrame && qobject_cast<const QAbstractScrollArea*>(widget)) {
      painter->setPen(QPen(option->palette.highlight().color(), 2));
      painter->drawRect(QRectF(option->rect).adjusted(1, 1, -1, -1));
    }
    painter->restore();
  }
};

}  // namespace

Announcer::Announcer(QWidget* parent) : QLabel(parent) {
  InstallAccessibleInterfaces();
  setTextFormat(Qt::PlainText);
}

void Announcer::Say(const QString& text) {
  setText(text);
  // Orca speaks a notification as it shows; the event alone does that, so a
  // hidden announcer speaks too, and a visible one says the same thing twice.
  QAccessibleEvent shown(this, QAccessible::ObjectShow);
  QAccessible::updateAccessibility(&shown);
  emit said(text);
}

Announcer& AnnouncerOf(QWidget& window) {
  auto* announcer =
      window.findChild<Announcer*>(QStringLiteral("announcer"), Qt::FindDirectChildrenOnly);
  if (announcer == nullptr) {
    announcer = new Announcer(&window);
    announcer->setObjectName(QStringLiteral("announcer"));
    announcer->hide();
  }
  return *announcer;
}

ChoiceList::ChoiceList(QWidget* parent) : QComboBox(parent) {
  InstallAccessibleInterfaces();
  connect(this, &QComboBox::currentIndexChanged, this, [this] {
    // Only the user's own changes; in the open list Orca speaks each entry.
    if (hasFocus() && !view()->isVisible()) {
      AnnouncerOf(*window()).Say(currentText());
    }
  });
}

void SetUpForKeyboard(QWidget& window) {
  if (qobject_cast<FocusFrameStyle*>(QApplication::style()) == nullptr) {
    // The application's own style, wrapped; QApplication owns the new one.
    QApplication::setStyle(new FocusFrameStyle(QApplication::style()->name()));
  }
  window.setAttribute(Qt::WA_KeyboardFocusChange);
  new KeyboardHelper(window);  // owned by the window
}

void InstallAccessibleInterfaces() {
  static const bool installed = (QAccessible::installFactory(&MakeInterface), true);
  (void)installed;
}

#include "accessibility.moc"

#pragma once

// What screen readers and keyboard users need of the Qt windows beyond what Qt
// 6.4's widgets give by themselves: announcements, a log that is read but not
// typed into, choices that are spoken when they change, and a focus that shows.

#include <QComboBox>
#include <QLabel>

/// A line whose every new text screen readers speak at once, wherever the
/// focus is: a label exposed as a notification that shows anew each time it is
/// told something. Qt 6.4 has no announcement event (QAccessibleAnnouncementEvent
/// is 6.8), and Orca speaks a notification when it shows. Plain text.
class Announcer : public QLabel {
  Q_OBJECT

 public:
  explicit Announcer(QWidget* parent = nullptr);

  /// Shows `text` and has it spoken, also when it is the text shown already
  /// and also while the label itself is hidden (a window's unseen announcer).
  void Say(const QString& text);

 signals:
  /// After each Say, with what was said.
  void said(const QString& text);
};

/// The announcer of `window`: its Announcer child named "announcer", made
/// hidden on first use.
Announcer& AnnouncerOf(QWidget& window);

/// A drop-down list whose chosen entry screen readers speak. With the list
/// closed, Orca 43 reads a Qt 6.4 combo box's entry only from a text the box
/// does not offer, and follows none of its changes: this one offers its entry
/// as its text, and the entry the user picks with the list closed (arrow
/// keys, typing) is said through the window's announcer.
class ChoiceList : public QComboBox {
  Q_OBJECT

 public:
  explicit ChoiceList(QWidget* parent = nullptr);
};

/// Shows which control has the keyboard focus from the moment `window` opens,
/// not only after the first key press, as styles otherwise draw it: a focused
/// push button with a dotted frame inside it, so that the default button
/// looks different with the focus, and a focused log or list with a frame in
/// the highlight colour (the application's style is wrapped once for that, by
/// the first window set up). The Alt key of a check box or radio button of
/// the window (as it is when called) sets it before it takes the focus, as
/// Windows does, so that screen readers say the new state, not the old one.
void SetUpForKeyboard(QWidget& window);

/// Registers the accessible interfaces of the classes above and of the
/// progress log (a text that is read, selected and copied, not typed into).
/// Done before main() runs; callable again at no cost.
void InstallAccessibleInterfaces();

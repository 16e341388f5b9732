#pragma once

// A dialog as a Qt Designer form describes it, reduced to what a Windows
// dialog template holds. Geometry stays in dialog units, as the forms keep it.

#include <string>
#include <vector>

#include "tools/ui2rc/xml.h"

struct Rect {
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
};

struct FormControl {
  std::string Class;  ///< The Qt class; a custom widget's is the class it extends.
  std::string Name;   ///< The object name.
  Rect Geometry;
  std::string Text;        ///< The text, or a group box's title.
  std::string Alignment;   ///< As the form writes it, "Qt::AlignHCenter|Qt::AlignTop".
  bool Default = false;    ///< A push button pressed by Enter.
  bool PlainText = false;  ///< A label whose text is shown as it is.
  bool Hidden = false;     ///< Not shown: a label that only names the control after it.
};

struct Form {
  std::string Name;  ///< The dialog's object name, "SettingsForm".
  std::string Title;
  Rect Geometry;
  std::vector<FormControl> Controls;  ///< In the form's order, which is the tab order.
};

/// The dialog of the form `ui` (a .ui document's root). Throws
/// std::runtime_error for what a dialog template cannot hold: controls inside
/// controls, or a tab order other than the controls' order.
Form ReadForm(const XmlElement& ui);

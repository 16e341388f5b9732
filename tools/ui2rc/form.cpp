#include "tools/ui2rc/form.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace {

// The property `name` of `widget`, or null.
const XmlElement* Property(const XmlElement& widget, std::string_view name) {
  for (const XmlElement& child : widget.Children) {
    if (child.Name == "property" && child.Attribute("name") == name) {
      return child.Children.empty() ? nullptr : &child.Children.front();
    }
  }
  return nullptr;
}

std::string PropertyText(const XmlElement& widget, std::string_view name) {
  const XmlElement* value = Property(widget, name);
  return value != nullptr ? value->Text : std::string();
}

Rect Geometry(const XmlElement& widget) {
  const XmlElement* rect = Property(widget, "geometry");
  const auto number = [rect](std::string_view side) {
    const XmlElement* value = rect != nullptr ? rect->Child(side) : nullptr;
    return value != nullptr ? std::stoi(value->Text) : 0;
  };
  return {number("x"), number("y"), number("width"), number("height")};
}

// The Qt class each custom widget of the form extends.
std::map<std::string, std::string> CustomBases(const XmlElement& ui) {
  std::map<std::string, std::string> bases;
  if (const XmlElement* custom = ui.Child("customwidgets")) {
    for (const XmlElement& widget : custom->Children) {
      const XmlElement* name = widget.Child("class");
      const XmlElement* base = widget.Child("extends");
      if (name != nullptr && base != nullptr) {
        bases[name->Text] = base->Text;
      }
    }
  }
  return bases;
}

FormControl ReadControl(const XmlElement& widget, const std::map<std::string, std::string>& bases) {
  FormControl control;
  const std::string& qtClass = widget.Attribute("class");
  control.Class = bases.contains(qtClass) ? bases.at(qtClass) : qtClass;
  control.Name = widget.Attribute("name");
  control.Geometry = Geometry(widget);
  control.Text =
      control.Class == "QGroupBox" ? PropertyText(widget, "title") : PropertyText(widget, "text");
  control.Alignment = PropertyText(widget, "alignment");
  control.Default = PropertyText(widget, "default") == "true";
  control.PlainText = PropertyText(widget, "textFormat") == "Qt::PlainText";
  control.Hidden = PropertyText(widget, "visible") == "false";
  if (widget.Child("widget") != nullptr || widget.Child("layout") != nullptr) {
    throw std::runtime_error(control.Name + " holds controls: a dialog template is flat");
  }
  return control;
}

// Windows tabs through a dialog in the order of its controls, so the form's
// tab order must be that order.
void CheckTabOrder(const XmlElement& ui, const Form& form) {
  const XmlElement* tabStops = ui.Child("tabstops");
  if (tabStops == nullptr) {
    return;
  }
  std::vector<std::string> listed;
  for (const XmlElement& stop : tabStops->Children) {
    listed.push_back(stop.Text);
  }
  std::vector<std::string> inOrder;
  for (const FormControl& control : form.Controls) {
    if (std::find(listed.begin(), listed.end(), control.Name) != listed.end()) {
      inOrder.push_back(control.Name);
    }
  }
  if (inOrder != listed) {
    throw std::runtime_error(form.Name + ": the tab order is not the order of the controls");
  }
}

}  // namespace

Form ReadForm(const XmlElement& ui) {
  const XmlElement* dialog = ui.Child("widget");
  if (ui.Name != "ui" || dialog == nullptr || dialog->Attribute("class") != "QDialog") {
    throw std::runtime_error("not the form of a QDialog");
  }
  Form form;
  form.Name = dialog->Attribute("name");
  form.Title = PropertyText(*dialog, "windowTitle");
  form.Geometry = Geometry(*dialog);
  const std::map<std::string, std::string> bases = CustomBases(ui);
  for (const XmlElement& child : dialog->Children) {
    if (child.Name == "widget") {
      form.Controls.push_back(ReadControl(child, bases));
    } else if (child.Name == "layout") {
      throw std::runtime_error(form.Name + " has a layout: a dialog template places each control");
    }
  }
  CheckTabOrder(ui, form);
  return form;
}

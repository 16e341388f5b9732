#include "tools/ui2rc/form_english.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

#include "resources/string_table.h"

namespace {

// The properties that hold text a user reads or hears.
constexpr std::array<std::string_view, 6> kTranslated = {
    "text", "title", "windowTitle", "toolTip", "accessibleName", "accessibleDescription"};

// Every key of a translated text in `widget` and the widgets inside it that
// the catalog lacks, one a line.
void FindMissing(const XmlElement& widget, std::string_view form, std::string& missing) {
  for (const XmlElement& child : widget.Children) {
    if (child.Name == "property") {
      const std::string property = child.Attribute("name");
      const XmlElement* value = child.Children.empty() ? nullptr : &child.Children.front();
      const bool text = value != nullptr && value->Name == "string" && !value->Text.empty();
      const std::string key = FormKey(form, widget.Attribute("name"), property);
      if (text &&
          std::find(kTranslated.begin(), kTranslated.end(), property) != kTranslated.end() &&
          !FormEnglish(key)) {
        missing += "\n  " + key + " \"" + value->Text + "\"";
      }
    } else if (child.Name == "widget" || child.Name == "layout" || child.Name == "item") {
      FindMissing(child, form, missing);
    }
  }
}

}  // namespace

Form InEnglish(const Form& form, const XmlElement& ui) {
  std::string missing;
  if (const XmlElement* top = ui.Child("widget")) {
    FindMissing(*top, form.Name, missing);
  }
  if (!missing.empty()) {
    throw std::runtime_error("no English in resources/string_table.cpp for:" + missing);
  }
  Form english = form;
  english.Title = std::string(FormEnglish(form.Name).value_or(form.Title));
  for (FormControl& control : english.Controls) {
    if (!control.Text.empty()) {
      control.Text =
          std::string(FormEnglish(FormKey(form.Name, control.Name, "text")).value_or(control.Text));
    }
  }
  return english;
}

#include "ui/qt/translation.h"

#include <QVariant>
#include <QWidget>
#include <string>

#include "resources/string_table.h"

QString Translated(int id) {
  const std::string_view text = StringTableText(id);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

namespace {

void SetEnglish(QWidget* widget, const char* property, const std::string& key) {
  if (const std::optional<std::string_view> english = FormEnglish(key)) {
    widget->setProperty(
        property, QString::fromUtf8(english->data(), static_cast<qsizetype>(english->size())));
  }
}

}  // namespace

void TranslateForm(QWidget* form) {
  if (TextLanguage() != Language::English) {
    return;
  }
  const std::string name = form->objectName().toStdString();
  SetEnglish(form, "windowTitle", name);
  for (QWidget* control : form->findChildren<QWidget*>()) {
    const std::string key = name + "." + control->objectName().toStdString();
    if (control->objectName().isEmpty()) {
      continue;
    }
    // A group box's title; every other control's text, where it has one.
    SetEnglish(control, control->property("title").isValid() ? "title" : "text", key);
    for (const char* property : {"toolTip", "accessibleName", "accessibleDescription"}) {
      SetEnglish(control, property, key + "." + property);
    }
  }
}

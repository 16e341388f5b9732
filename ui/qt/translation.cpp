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

// Sets `property` of `widget`, in the form `form`, to its English.
void SetEnglish(QWidget* widget, const std::string& form, const char* property) {
  const std::string object = widget->objectName().toStdString();
  if (const std::optional<std::string_view> english =
          FormEnglish(FormKey(form, object, property))) {
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
  SetEnglish(form, name, "windowTitle");
  for (QWidget* control : form->findChildren<QWidget*>()) {
    if (control->objectName().isEmpty()) {
      continue;
    }
    // A group box's title; every other control's text, where it has one.
    SetEnglish(control, name, control->property("title").isValid() ? "title" : "text");
    for (const char* property : {"toolTip", "accessibleName", "accessibleDescription"}) {
      SetEnglish(control, name, property);
    }
  }
}

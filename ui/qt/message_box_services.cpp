#include "ui/qt/message_box_services.h"

#include <QMessageBox>
#include <QWidget>

void MessageBoxServices::ShowMessageBox(MessageOwner owner, std::string_view caption,
                                        std::string_view text) {
  ConsoleWindowServices::ShowMessageBox(owner, caption, text);
  // The owner is one of our own widgets, handed round as the run's opaque owner.
  auto* parent = static_cast<QWidget*>(const_cast<void*>(owner));
  QMessageBox box(QMessageBox::Critical,
                  QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                  QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

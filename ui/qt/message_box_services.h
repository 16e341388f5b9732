#pragma once

#include "app/window_services.h"

/// Window services for the GUI thread before the progress window exists:
/// a message is a modal QMessageBox with the error icon and one OK button,
/// owned by the owner widget (application-modal without one), and is also
/// written to standard error so that a terminal or session log keeps it.
/// There is no log yet: log calls do nothing and nothing cancels.
class MessageBoxServices : public ConsoleWindowServices {
 public:
  MessageBoxServices() : ConsoleWindowServices(/*quiet=*/true) {}
  void ShowMessageBox(MessageOwner owner, std::string_view caption, std::string_view text) override;
};

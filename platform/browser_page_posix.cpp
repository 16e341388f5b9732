#include "platform/browser_command.h"

// Linux has no registered way to open a page: the browser launcher starts the
// command on the page's URL itself.
bool OpenPageAsTheSystemDoes(std::string_view /*command*/, const std::string& /*page*/) {
  return false;
}

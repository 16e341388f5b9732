#include "ui/folder_picker.h"

// Placeholder until the picker lands: behaves as a cancelled picker.
std::string BrowseForFolder(QWidget* /*owner*/, const std::string& /*startFolder*/,
                            const std::string& /*title*/) {
  return {};
}

#include "album/index_page.h"

#include <cstdio>
#include <utility>

#include "app/messages.h"

IndexPage::IndexPage(const RunState& run, std::string path)
    : run_(run), path_(std::move(path)), file_(path_, FileReplacement::Mode::InPlaceWhenNew) {}

FileError IndexPage::Created() {
  return file_.Stream() == nullptr ? file_.Error() : FileError::None;
}

void IndexPage::Write(std::string_view text) {
  if (!text.empty() && std::fwrite(text.data(), text.size(), 1, file_.Stream()) != 1) {
    Fail();
  }
}

void IndexPage::Close() {
  if (!file_.Commit()) {
    Fail();
  }
}

void IndexPage::Fail() {
  ShowError(run_, WithReason("Failed to write to file: %s", file_.Error()), path_, true);
  EndProcessNow(1);
}

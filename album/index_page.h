#pragma once

#include <string>
#include <string_view>

#include "app/run_state.h"
#include "platform/file_replacement.h"

/// The index page of one album folder, open from its first entry to its end
/// and written piece by piece. A new page is written in place, so an early
/// end leaves it as far as it got; an existing one is replaced whole only at
/// Close. Any failure to write it is fatal: a cut-off index page must never
/// pass for a finished album.
class IndexPage {
 public:
  IndexPage(const RunState& run, std::string path);

  /// None when the page could be created, else why not.
  FileError Created();
  void Write(std::string_view text);
  /// True when an earlier index page stands where this one goes.
  bool Replacing() const { return file_.Replacing(); }
  void Close();

 private:
  [[noreturn]] void Fail();

  const RunState& run_;
  std::string path_;
  FileReplacement file_;
};

// Index template layout, placeholder filling and marker replacement, with
// the settings, markers and values taken from the input.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "album/html_template.h"
#include "fuzz/fuzz_check.h"

// Replacement as a text editor's loop does it, in place, searching on after
// each inserted text: what ReplaceAll must agree with.
static std::string ReplaceInPlace(std::string text, const std::string& marker,
                                  const std::string& replacement) {
  for (std::size_t at = marker.empty() ? std::string::npos : text.find(marker);
       at != std::string::npos; at = text.find(marker, at + replacement.size())) {
    text.replace(at, marker.size(), replacement);
  }
  return text;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int thumbnailsPerRow = input.ConsumeIntegralInRange(-2, 12);
  const std::string marker = input.ConsumeRandomLengthString(16);
  const std::string replacement = input.ConsumeRandomLengthString(48);
  const std::string caption = input.ConsumeRandomLengthString(24);
  const std::string text = input.ConsumeRemainingBytesAsString();
  std::string replaced = text;
  ReplaceAll(replaced, marker, replacement);
  FUZZ_CHECK(replaced == ReplaceInPlace(text, marker, replacement));
  FUZZ_CHECK(EscapeHtml(caption).find_first_of("<>\"'") == std::string::npos);
  // The only '#' left is the one of the apostrophe's entity.
  std::string reference = EscapeFileReference(replacement);
  ReplaceAll(reference, "&#39;", "");
  FUZZ_CHECK(reference.find_first_of("<>\"'#?\\") == std::string::npos);

  // Head, cell and tail follow each other in the text; an unusable text is all head.
  const IndexLayout layout = SplitIndexTemplate(text, thumbnailsPerRow);
  FUZZ_CHECK(layout.Columns >= 1 && layout.Head.data() == text.data());
  if (!IndexTemplateIsUsable(text)) {
    FUZZ_CHECK(layout.Head.size() == text.size() && layout.CellTemplate.empty() &&
               layout.Tail.empty());
    return 0;
  }
  FUZZ_CHECK(layout.Head.find("<tr>") != std::string_view::npos &&
             layout.CellTemplate.find("</td>") != std::string_view::npos);
  FUZZ_CHECK(layout.CellTemplate.data() == text.data() + layout.Head.size());
  FUZZ_CHECK(layout.Tail.data() >= layout.CellTemplate.data() + layout.CellTemplate.size() &&
             layout.Tail.data() + layout.Tail.size() == text.data() + text.size());
  FUZZ_CHECK(thumbnailsPerRow <= 0 || layout.Columns == thumbnailsPerRow);

  std::string cell(layout.CellTemplate);
  FillPlaceholders(cell, EscapeFileReference(replacement), EscapeFileReference(marker),
                   EscapeHtml(caption));
  return 0;
}

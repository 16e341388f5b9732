// Index template layout, placeholder filling and file reference escaping,
// with the settings, markers and values taken from the input.
#include <fuzzer/FuzzedDataProvider.h>

#include <span>
#include <string>

#include "album/html_template.h"
#include "fuzz/fuzz_check.h"

// Filling as the plainest loop does it: at each place of the text the
// longest marker found there, else the character itself. What FillTemplate
// must agree with.
static std::string FillPlainly(const std::string& text, std::span<const Placeholder> placeholders) {
  std::string filled;
  for (std::size_t at = 0; at < text.size();) {
    const Placeholder* found = nullptr;
    for (const Placeholder& placeholder : placeholders) {
      if (!placeholder.Marker.empty() &&
          text.compare(at, placeholder.Marker.size(), placeholder.Marker) == 0 &&
          (found == nullptr || placeholder.Marker.size() > found->Marker.size())) {
        found = &placeholder;
      }
    }
    if (found != nullptr) {
      filled += found->Value;
      at += found->Marker.size();
    } else {
      filled += text[at++];
    }
  }
  return filled;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int thumbnailsPerRow = input.ConsumeIntegralInRange(-2, 12);
  const std::string marker = input.ConsumeRandomLengthString(16);
  const std::string replacement = input.ConsumeRandomLengthString(48);
  const std::string caption = input.ConsumeRandomLengthString(24);
  const std::string text = input.ConsumeRemainingBytesAsString();
  const Placeholder placeholders[] = {
      {marker, replacement}, {"__picture.jpg", caption}, {"__picture", marker}};
  std::string filled;
  FillTemplate(text, placeholders, filled);
  FUZZ_CHECK(filled == FillPlainly(text, placeholders));
  FUZZ_CHECK(EscapeHtml(caption).find_first_of("<>\"'") == std::string::npos);
  // The only '#' left is the one of the apostrophe's entity, and no ':' can make a scheme.
  std::string reference = EscapeFileReference(replacement);
  for (std::size_t at; (at = reference.find("&#39;")) != std::string::npos;) {
    reference.erase(at, 5);
  }
  FUZZ_CHECK(reference.find_first_of("<>\"'#?:\\") == std::string::npos);

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

  return 0;
}

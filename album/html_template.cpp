#include "album/html_template.h"

#include <algorithm>

namespace {

constexpr std::string_view kRowOpen = "<tr>";
constexpr std::string_view kCellClose = "</td>";

// Head and cell each take the line end after their tag along: CR LF, LF or
// none, as the template was saved.
std::size_t AfterTagLine(std::string_view text, std::size_t tag, std::string_view name) {
  const std::size_t after = tag + name.size();
  const std::string_view rest = text.substr(after);
  return after + (rest.starts_with("\r\n") ? 2 : rest.starts_with('\n') ? 1 : 0);
}

// Where the head ends: after the first "<tr>" and its line end. None without a "<tr>".
std::optional<std::size_t> HeadEnd(std::string_view indexTemplate) {
  const std::size_t row = indexTemplate.find(kRowOpen);
  if (row == std::string_view::npos) {
    return std::nullopt;
  }
  return AfterTagLine(indexTemplate, row, kRowOpen);
}

std::size_t CellEnd(std::string_view text, std::size_t cellClose) {
  return AfterTagLine(text, cellClose, kCellClose);
}

// Rows are parted with the line end the head has after its "<tr>".
std::string_view RowBreakAfter(std::string_view head) {
  if (head.ends_with("\r\n")) {
    return kRowBreak;
  }
  return head.ends_with('\n') ? "</tr>\n<tr>\n" : "</tr><tr>";
}

}  // namespace

bool IndexTemplateIsUsable(std::string_view indexTemplate) {
  const std::optional<std::size_t> headEnd = HeadEnd(indexTemplate);
  return headEnd && indexTemplate.find(kCellClose, *headEnd) != std::string_view::npos;
}

IndexLayout SplitIndexTemplate(std::string_view indexTemplate, int thumbnailsPerRow) {
  IndexLayout layout;
  layout.Columns = std::max(thumbnailsPerRow, 1);
  const std::optional<std::size_t> headEnd = HeadEnd(indexTemplate);
  const std::size_t firstClose =
      headEnd ? indexTemplate.find(kCellClose, *headEnd) : std::string_view::npos;
  if (firstClose == std::string_view::npos) {
    // No layout can be cut out of it: everything is head, so nothing is lost.
    layout.Head = indexTemplate;
    return layout;
  }
  layout.Head = indexTemplate.substr(0, *headEnd);
  layout.RowBreak = RowBreakAfter(layout.Head);
  const std::size_t cellEnd = CellEnd(indexTemplate, firstClose);
  layout.CellTemplate = indexTemplate.substr(*headEnd, cellEnd - *headEnd);

  // Every "</td>" after the head counts, all rows and the text after them.
  int count = 1;
  std::size_t lastClose = firstClose;
  for (std::size_t next = indexTemplate.find(kCellClose, firstClose + 1);
       next != std::string_view::npos; next = indexTemplate.find(kCellClose, next + 1)) {
    ++count;
    lastClose = next;
  }
  layout.Tail = indexTemplate.substr(CellEnd(indexTemplate, lastClose));
  if (thumbnailsPerRow == 0) {
    layout.Columns = count;
  }
  return layout;
}

void ReplaceAll(std::string& text, std::string_view marker, std::string_view replacement) {
  // An empty marker would be found again right after every insertion.
  if (marker.empty()) {
    return;
  }
  std::size_t found = text.find(marker);
  if (found == std::string::npos) {
    return;
  }
  // One pass over the original text: what follows an occurrence is searched,
  // the inserted replacement never is.
  std::string result;
  std::size_t copied = 0;
  while (found != std::string::npos) {
    result.append(text, copied, found - copied);
    result.append(replacement);
    copied = found + marker.size();
    found = text.find(marker, copied);
  }
  result.append(text, copied);
  text = std::move(result);
}

void FillPlaceholders(std::string& text, std::string_view fileReference,
                      std::string_view referenceWithoutExtension, std::string_view caption) {
  // "__picture" begins "__picture.jpg", so the longer marker must go first.
  ReplaceAll(text, kPictureFileMarker, fileReference);
  ReplaceAll(text, kPictureNameMarker, referenceWithoutExtension);
  ReplaceAll(text, kCaptionMarker, caption);
}

std::optional<std::size_t> FindAfter(std::string_view text, std::string_view what) {
  const std::size_t found = text.find(what);
  if (found == std::string_view::npos) {
    return std::nullopt;
  }
  return found + what.size();
}

std::string CaptionFromName(std::string_view name) {
  if (!name.empty() && name.front() == '+') {
    name.remove_prefix(1);
  }
  std::string caption(name);
  // Only ASCII letters: bytes of other characters must pass untouched.
  if (!caption.empty() && caption.front() >= 'a' && caption.front() <= 'z') {
    caption.front() = static_cast<char>(caption.front() - 'a' + 'A');
  }
  return caption;
}

namespace {

std::string_view HtmlEntity(char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    case '\'':
      return "&#39;";
    default:
      return {};
  }
}

// A link would end its path at '#' or '?', and browsers read a backslash in it as
// '/', though on Linux it is part of the file name. A '%' that starts no escape
// stays as it is: browsers take it literally, so 100%.jpg keeps working.
std::string_view UrlEscape(char c) {
  switch (c) {
    case '#':
      return "%23";
    case '?':
      return "%3F";
    case '\\':
      return "%5C";
    default:
      return {};
  }
}

template <typename Escape>
std::string EscapeEach(std::string_view text, Escape escape) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    const std::string_view replacement = escape(c);
    if (replacement.empty()) {
      escaped += c;
    } else {
      escaped += replacement;
    }
  }
  return escaped;
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
  return EscapeEach(text, HtmlEntity);
}

namespace {

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// A browser decodes '%' followed by two hexadecimal digits, so such a '%' in
// a file name must be written as an escape itself; and a control character
// would break the link.
bool NeedsPercentEscape(std::string_view text, std::size_t at) {
  const auto c = static_cast<unsigned char>(text[at]);
  if (c < 0x20 || c == 0x7F) {
    return true;
  }
  return c == '%' && at + 2 < text.size() && IsHexDigit(text[at + 1]) && IsHexDigit(text[at + 2]);
}

}  // namespace

std::string EscapeFileReference(std::string_view reference) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  escaped.reserve(reference.size());
  for (std::size_t at = 0; at < reference.size(); ++at) {
    const char c = reference[at];
    if (NeedsPercentEscape(reference, at)) {
      const auto byte = static_cast<unsigned char>(c);
      escaped += '%';
      escaped += kHex[byte >> 4];
      escaped += kHex[byte & 0xF];
      continue;
    }
    const std::string_view url = UrlEscape(c);
    const std::string_view replacement = url.empty() ? HtmlEntity(c) : url;
    if (replacement.empty()) {
      escaped += c;
    } else {
      escaped += replacement;
    }
  }
  return escaped;
}

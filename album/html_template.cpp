#include "album/html_template.h"

#include <algorithm>
#include <vector>

#include "platform/ascii_case.h"

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

CompiledTemplate::CompiledTemplate(std::string_view text, std::span<const std::string_view> markers)
    : text_(text) {
  // Where each marker is next found in `text`, at or after `copied`.
  std::vector<std::size_t> next(markers.size(), std::string_view::npos);
  for (std::size_t i = 0; i < markers.size(); ++i) {
    if (!markers[i].empty()) {
      next[i] = text.find(markers[i]);
    }
  }
  std::size_t copied = 0;
  for (;;) {
    // The first marker in the text; at one place, the longest.
    std::size_t chosen = markers.size();
    for (std::size_t i = 0; i < markers.size(); ++i) {
      if (next[i] != std::string_view::npos &&
          (chosen == markers.size() || next[i] < next[chosen] ||
           (next[i] == next[chosen] && markers[i].size() > markers[chosen].size()))) {
        chosen = i;
      }
    }
    if (chosen == markers.size()) {
      break;
    }
    pieces_.push_back({copied, next[chosen] - copied, chosen});
    copied = next[chosen] + markers[chosen].size();
    // Markers that began inside the one taken are looked for again after it.
    for (std::size_t i = 0; i < markers.size(); ++i) {
      if (next[i] != std::string_view::npos && next[i] < copied) {
        next[i] = text.find(markers[i], copied);
      }
    }
  }
  pieces_.push_back({copied, text.size() - copied, kNoMarker});
}

void CompiledTemplate::Fill(std::span<const std::string_view> values, std::string& filled) const {
  filled.clear();
  for (const Piece& piece : pieces_) {
    filled.append(text_, piece.Begin, piece.Length);
    if (piece.Marker < values.size()) {
      filled.append(values[piece.Marker]);
    }
  }
}

void FillTemplate(std::string_view text, std::span<const Placeholder> placeholders,
                  std::string& filled) {
  std::vector<std::string_view> markers;
  std::vector<std::string_view> values;
  for (const Placeholder& placeholder : placeholders) {
    markers.push_back(placeholder.Marker);
    values.push_back(placeholder.Value);
  }
  CompiledTemplate(text, markers).Fill(values, filled);
}

std::string WithoutSection(std::string_view text, std::string_view name) {
  const std::string start = "<!--" + std::string(name) + "-->";
  const std::string end = "<!--/" + std::string(name) + "-->";
  std::string kept;
  std::size_t at = 0;
  for (std::size_t found; (found = text.find(start, at)) != std::string_view::npos;) {
    const std::size_t ends = text.find(end, found + start.size());
    if (ends == std::string_view::npos) {
      break;
    }
    kept.append(text, at, found - at);
    at = ends + end.size();
  }
  kept.append(text, at);
  return kept;
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
  if (!caption.empty()) {
    caption.front() = UpperAscii(caption.front());
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
    case ':':
      return "%3A";
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

// The length of the valid UTF-8 sequence that begins `text`: 1 to 4, or 0
// where none begins (a stray continuation byte, a lead byte cut short, an
// overlong form, a surrogate, a code point above U+10FFFF).
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  const std::size_t length = lead < 0x80   ? 1
                             : lead < 0xC2 ? 0
                             : lead < 0xE0 ? 2
                             : lead < 0xF0 ? 3
                             : lead < 0xF5 ? 4
                                           : 0;
  if (length == 0 || length > text.size()) {
    return 0;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) {
      return 0;
    }
  }
  // The second byte's range rules out overlong forms, surrogates and too-large code points.
  const unsigned char second = length > 1 ? byte(1) : 0;
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
    return 0;
  }
  return length;
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
    // A whole character beyond ASCII stays as it is; a byte of none is
    // escaped, or the browser would read another name in its place.
    if (static_cast<unsigned char>(c) >= 0x80) {
      if (const std::size_t length = Utf8SequenceLength(reference.substr(at)); length > 0) {
        escaped.append(reference, at, length);
        at += length - 1;
        continue;
      }
    }
    if (static_cast<unsigned char>(c) >= 0x80 || NeedsPercentEscape(reference, at)) {
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

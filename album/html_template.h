#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view kPictureFileMarker = "__picture.jpg";
inline constexpr std::string_view kPictureNameMarker = "__picture";
inline constexpr std::string_view kCaptionMarker = "Picture text";
/// A small copy of the picture for a cell, the same at twice the size for a
/// screen of twice the density, and a copy the size of a screen for its page;
/// each the picture itself where it is no larger.
inline constexpr std::string_view kThumbnailMarker = "__thumbnail.jpg";
inline constexpr std::string_view kThumbnail2xMarker = "__thumbnail2x.jpg";
inline constexpr std::string_view kScreenMarker = "__screen.jpg";
/// On a picture page: the previous and the next picture of the album, as
/// "__picture" names them (a template adds ".html"), and their captions.
inline constexpr std::string_view kPreviousMarker = "__previous";
inline constexpr std::string_view kNextMarker = "__next";
inline constexpr std::string_view kPreviousCaptionMarker = "Previous text";
inline constexpr std::string_view kNextCaptionMarker = "Next text";
/// The sections of a picture page that name the previous or the next picture:
/// from "<!--previous-->" to "<!--/previous-->", left out where there is none.
inline constexpr std::string_view kPreviousSection = "previous";
inline constexpr std::string_view kNextSection = "next";
/// The row break of a template with CR LF line ends.
inline constexpr std::string_view kRowBreak = "</tr>\r\n<tr>\r\n";

/// The pieces of an index template. The views point into the template text.
struct IndexLayout {
  std::string_view Head;
  std::string_view CellTemplate;
  std::string_view Tail;
  /// Written after every Columns-th cell: "</tr>" and "<tr>", each followed by
  /// the line end the template has after its first "<tr>" (CR LF, LF or none).
  std::string_view RowBreak = kRowBreak;
  int Columns = 1;
};

/// True when `indexTemplate` has a "<tr>" and a "</td>" after the head, the
/// least SplitIndexTemplate needs.
bool IndexTemplateIsUsable(std::string_view indexTemplate);

/// Cuts a usable index template into head, cell and tail: the head up to the
/// first "<tr>", the cell up to the first "</td>" after it, each with the line
/// end that follows its tag (CR LF, LF or none), and the tail after the last
/// "</td>" and its line end. Columns is `thumbnailsPerRow`, or
/// when that is 0 the count of "</td>" after the head; at least 1. A template
/// that is not usable comes back whole as Head, with an empty cell and tail.
IndexLayout SplitIndexTemplate(std::string_view indexTemplate, int thumbnailsPerRow);

/// A placeholder of a template and the text it is filled with.
struct Placeholder {
  std::string_view Marker;
  std::string_view Value;
};

/// A template cut once into its text and the places of its markers, to be
/// filled many times at the cost of copying: where two markers begin at the
/// same place the longer is taken ("__picture.jpg" before "__picture"), and
/// empty markers are never found. The text must outlive it.
class CompiledTemplate {
 public:
  CompiledTemplate() = default;
  CompiledTemplate(std::string_view text, std::span<const std::string_view> markers);

  /// Puts the text into `filled` (cleared first: a buffer reused from call to
  /// call) with the i-th marker's places given `values[i]`. The values are
  /// inserted, never searched, so a name holding a marker can never rewrite
  /// its own link.
  void Fill(std::span<const std::string_view> values, std::string& filled) const;

 private:
  static constexpr std::size_t kNoMarker = static_cast<std::size_t>(-1);
  struct Piece {
    std::size_t Begin = 0;  ///< text copied as it is ...
    std::size_t Length = 0;
    std::size_t Marker = kNoMarker;  ///< ... then the value of this marker
  };

  std::string_view text_;
  std::vector<Piece> pieces_;
};

/// `text` filled once with `placeholders`, by CompiledTemplate's rules.
void FillTemplate(std::string_view text, std::span<const Placeholder> placeholders,
                  std::string& filled);

/// `text` without its sections `name`: each stretch from "<!--name-->" to the
/// next "<!--/name-->", both included. A section without its end is kept.
std::string WithoutSection(std::string_view text, std::string_view name);

/// The position just after the first `what` in `text`, or none.
std::optional<std::size_t> FindAfter(std::string_view text, std::string_view what);

/// Drops one leading '+' and upper-cases the character then first if it is
/// a to z; every other byte stays as it is.
std::string CaptionFromName(std::string_view name);

/// `text` with & < > " ' written as entities, for HTML text and attributes.
std::string EscapeHtml(std::string_view text);

/// EscapeHtml, and '#', '?', ':' and a backslash as %23, %3F, %3A and %5C, for
/// a relative file link that stays one, its name never read as a scheme such
/// as "javascript:"; also control characters (below 0x20 and 0x7F), every byte
/// that is not part of valid UTF-8 (which a browser would read as another
/// character) and a '%' that a browser would decode (one followed by two
/// hexadecimal digits) as %XX. Valid UTF-8 passes unchanged.
std::string EscapeFileReference(std::string_view reference);

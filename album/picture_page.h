#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "album/album_entry.h"
#include "album/html_template.h"
#include "album/picture_size.h"

/// The pictures before and after one in its album's order (the order of the
/// index page's cells, sub-albums left out), by their file names; none at
/// either end.
struct Neighbours {
  std::optional<std::string_view> Previous;
  std::optional<std::string_view> Next;
};

/// Fills the picture pages of a run from the picture template: the sections
/// naming a neighbour the picture lacks left out, every placeholder filled,
/// the picture's box fitted.
class PicturePages {
 public:
  explicit PicturePages(std::string_view pictureTemplate);

  /// Whether the template names a picture's neighbours at all.
  bool NamesNeighbours() const { return namesNeighbours_; }

  /// The page of the picture with `values` and `neighbours`, into `page`.
  void Fill(const CellValues& values, const Neighbours& neighbours,
            const std::optional<PictureSize>& size, std::string& page);

 private:
  // The template for a picture with (1) or without a previous one, and (2)
  // with or without a next one; each cut and compiled once, when first needed.
  const CompiledTemplate& TemplateFor(const Neighbours& neighbours);

  std::string_view template_;
  bool namesNeighbours_;
  std::array<std::optional<std::string>, 4> cut_;
  std::array<std::optional<CompiledTemplate>, 4> compiled_;
};

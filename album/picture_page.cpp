#include "album/picture_page.h"

#include <algorithm>
#include <utility>

#include "album/html_template.h"

namespace {

// The markers of a picture page: a cell's, then the neighbours'.
constexpr std::array<std::string_view, 10> kPageMarkers = {
    kCellMarkers[0], kCellMarkers[1], kCellMarkers[2], kCellMarkers[3],        kCellMarkers[4],
    kCellMarkers[5], kPreviousMarker, kNextMarker,     kPreviousCaptionMarker, kNextCaptionMarker};

// How a neighbour is named on a page: its page's link without ".html", and its caption.
struct NeighbourValues {
  std::string Reference;
  std::string Caption;
};

NeighbourValues ValuesOf(const std::optional<std::string_view>& name) {
  if (!name) {
    return {};
  }
  const CellValues values = PictureValues(*name);
  return {values.ReferenceWithoutExtension, values.Caption};
}

}  // namespace

PicturePages::PicturePages(std::string_view pictureTemplate) : template_(pictureTemplate) {
  namesNeighbours_ = false;
  for (const std::string_view marker :
       {kPreviousMarker, kNextMarker, kPreviousCaptionMarker, kNextCaptionMarker,
        std::string_view("<!--previous-->"), std::string_view("<!--next-->")}) {
    namesNeighbours_ = namesNeighbours_ || template_.find(marker) != std::string_view::npos;
  }
}

const CompiledTemplate& PicturePages::TemplateFor(const Neighbours& neighbours) {
  const std::size_t variant = (neighbours.Previous ? 1 : 0) | (neighbours.Next ? 2 : 0);
  if (!compiled_[variant]) {
    std::string cut(template_);
    if (namesNeighbours_ && !neighbours.Previous) {
      cut = WithoutSection(cut, kPreviousSection);
    }
    if (namesNeighbours_ && !neighbours.Next) {
      cut = WithoutSection(cut, kNextSection);
    }
    cut_[variant] = std::move(cut);
    compiled_[variant].emplace(*cut_[variant], kPageMarkers);
  }
  return *compiled_[variant];
}

void PicturePages::Fill(const CellValues& values, const Neighbours& neighbours,
                        const std::optional<PictureSize>& size, std::string& page) {
  const std::array<std::string_view, 6> own = MarkerValues(values);
  std::array<std::string_view, kPageMarkers.size()> all{};
  std::copy(own.begin(), own.end(), all.begin());
  // A neighbour's values only where the template names them.
  NeighbourValues previous;
  NeighbourValues next;
  if (namesNeighbours_) {
    previous = ValuesOf(neighbours.Previous);
    next = ValuesOf(neighbours.Next);
    all[6] = previous.Reference;
    all[7] = next.Reference;
    all[8] = previous.Caption;
    all[9] = next.Caption;
  }
  TemplateFor(neighbours).Fill(all, page);
  if (size) {
    FitImageBoxToSize(page, *size);
  }
}

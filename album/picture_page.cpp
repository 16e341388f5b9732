#include "album/picture_page.h"

#include "album/html_template.h"

namespace {

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

const std::string& PicturePages::TemplateFor(const Neighbours& neighbours) {
  const std::size_t variant = (neighbours.Previous ? 1 : 0) | (neighbours.Next ? 2 : 0);
  std::optional<std::string>& cut = cut_[variant];
  if (!cut) {
    cut = std::string(template_);
    if (!neighbours.Previous) {
      cut = WithoutSection(*cut, kPreviousSection);
    }
    if (!neighbours.Next) {
      cut = WithoutSection(*cut, kNextSection);
    }
  }
  return *cut;
}

void PicturePages::Fill(const CellValues& values, const Neighbours& neighbours,
                        const std::optional<PictureSize>& size, std::string& page) {
  const NeighbourValues previous = ValuesOf(neighbours.Previous);
  const NeighbourValues next = ValuesOf(neighbours.Next);
  const std::array<Placeholder, 6> own = PlaceholdersOf(values);
  std::array<Placeholder, 10> all{};
  std::copy(own.begin(), own.end(), all.begin());
  all[6] = {kPreviousMarker, previous.Reference};
  all[7] = {kNextMarker, next.Reference};
  all[8] = {kPreviousCaptionMarker, previous.Caption};
  all[9] = {kNextCaptionMarker, next.Caption};
  FillTemplate(TemplateFor(neighbours), all, page);
  if (size) {
    FitImageBoxToSize(page, *size);
  }
}

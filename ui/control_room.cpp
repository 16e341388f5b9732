#include "ui/control_room.h"

namespace {

// Opens a band of `extra` pixels at `edge`, along x or y.
void InsertBand(std::vector<ControlPlace>& places, bool alongX, int edge, int extra) {
  for (ControlPlace& place : places) {
    int& start = alongX ? place.Left : place.Top;
    int& end = alongX ? place.Right : place.Bottom;
    if (start >= edge) {
      start += extra;
      end += extra;
    } else if (end > edge) {
      end += extra;
    }
  }
}

}  // namespace

Growth MakeRoomForTexts(std::vector<ControlPlace>& places, const TextNeeds& needs) {
  Growth grown;
  for (const bool alongX : {true, false}) {
    for (std::size_t i = 0; i < places.size(); ++i) {
      const ControlPlace place = places[i];
      const Growth needed = needs(i, place);
      const int shortfall = alongX ? needed.Width - (place.Right - place.Left)
                                   : needed.Height - (place.Bottom - place.Top);
      if (shortfall > 0) {
        const int edge = alongX ? place.Right : place.Bottom;
        InsertBand(places, alongX, edge, shortfall);
        (alongX ? places[i].Right : places[i].Bottom) += shortfall;
        (alongX ? grown.Width : grown.Height) += shortfall;
      }
    }
  }
  return grown;
}

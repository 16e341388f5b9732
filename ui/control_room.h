#pragma once

// Dialogs are laid out for their texts in one language and one font; a text
// that runs longer in another is given room rather than cut. The same rule
// for both window sets.

#include <cstddef>
#include <functional>
#include <vector>

/// A control's place in its dialog, in pixels; Right and Bottom just past it.
struct ControlPlace {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

/// How much wider and taller something became.
struct Growth {
  int Width = 0;
  int Height = 0;
};

/// The size a control's text needs at the place it has now: 0 along a side
/// where it needs nothing (lists and fields scroll their text).
using TextNeeds = std::function<Growth(std::size_t control, const ControlPlace& place)>;

/// Widens, then heightens, every control of `places` whose text does not
/// fit: a band the width of its shortfall opens at its edge across the whole
/// dialog, so what lies beyond moves along and what spans the edge grows.
/// Gives how much the dialog must grow by.
Growth MakeRoomForTexts(std::vector<ControlPlace>& places, const TextNeeds& needs);

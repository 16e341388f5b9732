#include "album/walk_state.h"

#include "platform/path_syntax.h"

bool WalkState::Inside(const std::string& path) const {
  const std::optional<std::string> real = RealPath(path);
  if (!Chosen || !real || *real == *Chosen) {
    return true;
  }
  return real->starts_with(*Chosen) &&
         (kPathSeparators.find(Chosen->back()) != std::string::npos ||
          kPathSeparators.find((*real)[Chosen->size()]) != std::string::npos);
}

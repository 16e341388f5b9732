#pragma once

#include <optional>
#include <set>
#include <string>
#include <tuple>

#include "album/album_copies.h"
#include "album/copy_pool.h"
#include "album/html_template.h"
#include "album/picture_page.h"
#include "platform/file_system.h"

struct IdentityLess {
  bool operator()(const FileIdentity& a, const FileIdentity& b) const {
    return std::tie(a.Device, a.Inode) < std::tie(b.Device, b.Inode);
  }
};

/// What the whole walk of a run shares: the folders it must not enter, every
/// folder above the chosen one and every folder made into an album in this
/// run, so that no loop or fan of links can make it visit a real folder
/// twice; the chosen folder, outside of which it never writes; the cells and
/// the picture pages; and the copies the templates ask for, with the workers that make them.
struct WalkState {
  std::set<FileIdentity, IdentityLess> Visited;
  std::optional<std::string> Chosen;  ///< where the chosen folder really is
  CompiledTemplate Cell;              ///< the index template's cell
  PicturePages Pages;
  WantedCopies Wanted;
  std::optional<CopyPool> Pool;  ///< only where copies are wanted

  /// False when the folder `path` really lies outside the chosen one; true
  /// where that cannot be told, which opening the folder then finds out.
  bool Inside(const std::string& path) const;
};

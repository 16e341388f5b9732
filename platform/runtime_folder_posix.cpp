#include "platform/runtime_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace {

std::string AbsoluteFolderFrom(const char* variable) {
  const char* value = std::getenv(variable);
  const std::string folder = value != nullptr ? value : "";
  return folder.starts_with('/') ? folder : std::string();
}

// A runtime folder named by the session is used only when it is ours and no
// one else may put a file in it: a shared one would let another user's file
// be opened in our name.
bool IsOwnUnsharedFolder(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
         (info.st_mode & 022) == 0;
}

// In a folder everyone may write to, a name is ours only when we own what
// stands there, nobody else may enter it and it is no link laid by someone else.
bool IsOwnPrivateFolder(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
         (info.st_mode & 077) == 0;
}

std::string WithTrailingSlash(std::string folder) {
  if (!folder.ends_with('/')) {
    folder += '/';
  }
  return folder;
}

}  // namespace

std::string PrivateRuntimeFolder() {
  const std::string runtime = AbsoluteFolderFrom("XDG_RUNTIME_DIR");
  if (!runtime.empty() && IsOwnUnsharedFolder(runtime)) {
    return WithTrailingSlash(runtime);
  }
  std::string temp = AbsoluteFolderFrom("TMPDIR");
  if (temp.empty()) {
    temp = "/tmp";
  }
  const std::string own = WithTrailingSlash(temp) + "korvalo-" + std::to_string(getuid());
  // Made now or found from an earlier run: either way it is checked before use.
  mkdir(own.c_str(), 0700);
  return IsOwnPrivateFolder(own) ? own + '/' : std::string();
}

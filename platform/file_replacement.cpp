#include "platform/file_replacement.h"

#include "platform/file_system.h"

// Built on FileReplacement alone, so every system replaces whole the same way.

FileError ReplaceFileWhole(const std::string& path, std::string_view content) {
  if (RegularFileHolds(path, content)) {
    return FileError::None;
  }
  FileReplacement file(path, FileReplacement::Mode::Whole);
  if (file.Stream() == nullptr) {
    return file.Error();
  }
  // A failed write leaves the stream in error, which Commit reports.
  std::fwrite(content.data(), 1, content.size(), file.Stream());
  return file.Commit() ? FileError::None : file.Error();
}

FileError CopyFileWhole(const std::string& source, const std::string& target) {
  // The source is followed through links and read only as a regular file, as a picture is.
  std::FILE* in = OpenRegularFile(source);
  if (in == nullptr) {
    return FileError::NotFound;
  }
  FileReplacement file(target, FileReplacement::Mode::Whole);
  char buffer[64 * 1024];
  std::size_t got = 0;
  while (file.Stream() != nullptr && (got = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
    std::fwrite(buffer, 1, got, file.Stream());
  }
  const bool readWhole = std::ferror(in) == 0;
  std::fclose(in);
  if (file.Stream() == nullptr) {
    return file.Error();
  }
  if (!readWhole) {
    return FileError::IoError;
  }
  return file.Commit() ? FileError::None : file.Error();
}

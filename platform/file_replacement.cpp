#include "platform/file_replacement.h"

#include <atomic>
#include <charconv>
#include <iterator>
#include <limits>

#include "platform/file_system.h"
#include "platform/path_syntax.h"

// Built on FileReplacement alone, so every system replaces whole the same way.

#ifdef _WIN32
WholeWrite WriteContentWhole(const std::string& path, std::string_view content,
                             FileReplacement::Mode mode, bool probablyThere) {
  if (probablyThere && RegularFileHolds(path, content)) {
    return {};
  }
  FileReplacement file(path, mode);
  if (!probablyThere && file.Replacing() && RegularFileHolds(path, content)) {
    return {};
  }
  if (file.Stream() == nullptr) {
    return {file.Error(), false};
  }
  // The content goes out in one piece: a stream buffer would only copy it.
  std::setvbuf(file.Stream(), nullptr, _IONBF, 0);
  // A failed write leaves the stream in error, which Commit reports.
  std::fwrite(content.data(), 1, content.size(), file.Stream());
  if (!file.Commit()) {
    return {file.Error() == FileError::None ? FileError::Other : file.Error(), true};
  }
  return {};
}
#endif

FileError ReplaceFileWhole(const std::string& path, std::string_view content) {
  return WriteContentWhole(path, content, FileReplacement::Mode::Whole).Error;
}

namespace {

constexpr std::string_view kBesideMark = ".korvalo-";

}  // namespace

std::string BesideName(std::string_view path, unsigned long processId) {
  static std::atomic<unsigned> counter{0};
  char pid[std::numeric_limits<unsigned long>::digits10 + 2];
  char count[std::numeric_limits<unsigned>::digits10 + 2];
  const char* const pidEnd = std::to_chars(std::begin(pid), std::end(pid), processId).ptr;
  const char* const countEnd = std::to_chars(std::begin(count), std::end(count), counter++).ptr;
  const std::size_t nameAt = path.find_last_of(kPathSeparators) + 1;  // 0 without a separator
  std::string beside;
  beside.reserve(path.size() + kBesideMark.size() + sizeof pid + sizeof count + 2);
  beside.append(path.substr(0, nameAt)).append(1, '.').append(path.substr(nameAt));
  beside.append(kBesideMark)
      .append(std::string_view(pid, static_cast<std::size_t>(pidEnd - pid)))
      .append(1, '-')
      .append(std::string_view(count, static_cast<std::size_t>(countEnd - count)));
  return beside;
}

bool IsNameBeside(std::string_view name) {
  constexpr std::string_view kMark = kBesideMark;
  const std::size_t mark = name.rfind(kMark);
  if (name.size() < 2 || name.front() != '.' || mark == std::string_view::npos || mark < 2) {
    return false;
  }
  const std::string_view numbers = name.substr(mark + kMark.size());
  const std::size_t dash = numbers.find('-');
  const auto digits = [](std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return dash != std::string_view::npos && digits(numbers.substr(0, dash)) &&
         digits(numbers.substr(dash + 1));
}

FileError CopyFileWhole(const std::string& source, const std::string& target) {
  // The source is followed through links and read only as a regular file, as a picture is.
  const OpenStream in = OpenRegularFile(source);
  if (!in) {
    return FileError::NotFound;
  }
  FileReplacement file(target, FileReplacement::Mode::Whole);
  char buffer[64 * 1024];
  std::size_t got = 0;
  while (file.Stream() != nullptr && (got = std::fread(buffer, 1, sizeof buffer, in.get())) > 0) {
    std::fwrite(buffer, 1, got, file.Stream());
  }
  const bool readWhole = std::ferror(in.get()) == 0;
  if (file.Stream() == nullptr) {
    return file.Error();
  }
  if (!readWhole) {
    return FileError::IoError;
  }
  return file.Commit() ? FileError::None : file.Error();
}

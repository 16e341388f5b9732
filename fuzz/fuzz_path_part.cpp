// Path splitting with arbitrary paths and selectors.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "app/path_part.h"
#include "fuzz/fuzz_check.h"
#include "platform/path_syntax.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string selector = input.ConsumeRandomLengthString(32);
  const std::string path = input.ConsumeRemainingBytesAsString();

  const std::string selected = PathPart(path, selector);
  FUZZ_CHECK(selected.size() <= path.size());

  // All four parts together give the path back, without its quotes.
  std::string unquoted = path.starts_with('"') ? path.substr(1) : path;
  if (unquoted.ends_with('"')) {
    unquoted.pop_back();
  }
  FUZZ_CHECK(PathPart(path, "drive,dir,name,type") == unquoted);

  const std::string folder = PathPart(path, "drive,dir");
  const std::string file = PathPart(path, "name,type");
  FUZZ_CHECK(unquoted.compare(0, folder.size(), folder) == 0);
  FUZZ_CHECK(file.find_first_of(kPathSeparators) == std::string::npos);
  const std::string type = PathPart(path, "type");
  FUZZ_CHECK(type.empty() || type.front() == '.');
  return 0;
}

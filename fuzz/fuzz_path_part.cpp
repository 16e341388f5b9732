// Path splitting with arbitrary paths and selectors.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "app/path_part.h"
#include "fuzz/fuzz_check.h"
#include "platform/path_syntax.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string selector = input.ConsumeRandomLengthString(32);
  const std::string path = input.ConsumeRemainingBytesAsString();
  FUZZ_CHECK(PathPart(path, selector).size() <= path.size());

  // All four parts together give the path back, without its quotes.
  std::string unquoted = path.starts_with('"') ? path.substr(1) : path;
  if (unquoted.ends_with('"')) {
    unquoted.pop_back();
  }
  FUZZ_CHECK(PathPart(path, "drive,dir,name,type") == unquoted);
  FUZZ_CHECK(unquoted.starts_with(PathPart(path, "drive,dir")));
  FUZZ_CHECK(PathPart(path, "name,type").find_first_of(kPathSeparators) == std::string::npos);
  const std::string type = PathPart(path, "type");
  FUZZ_CHECK(type.empty() || type.front() == '.');
  return 0;
}

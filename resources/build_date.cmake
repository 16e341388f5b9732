# Writes OUTPUT, a header defining KORVALO_BUILD_DATE as the build's date in the
# form "Dec 11 2007" (English month, unpadded day, UTC). SOURCE_DATE_EPOCH, when
# set, gives the date instead of the clock, so that builds are reproducible.
# The file is rewritten only when the date changes, so a build on the same day
# compiles nothing again.
# usage: cmake -DOUTPUT=path -P build_date.cmake
string(TIMESTAMP month "%m" UTC)
string(TIMESTAMP day "%d" UTC)
string(TIMESTAMP year "%Y" UTC)
set(names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
math(EXPR month_index "1${month} - 101")
list(GET names ${month_index} month_name)
string(REGEX REPLACE "^0" "" day "${day}")
set(content "#pragma once\n#define KORVALO_BUILD_DATE \"${month_name} ${day} ${year}\"\n")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL content)
  file(WRITE "${OUTPUT}" "${content}")
endif()

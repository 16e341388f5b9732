#pragma once

#include <string_view>

/// Why a copy of a picture was not made; None when it was.
enum class CopyProblem {
  None,
  CannotRead,    ///< the picture file could not be opened or read
  CannotDecode,  ///< not a picture of its kind, or broken inside
  CutShort,      ///< the file ends before the picture does
  Unsupported,   ///< a kind of JPEG the copies do not handle: CMYK, 12 bits, lossless, ...
  TooLarge,      ///< more pixels than a copy may decode
  SizeDiffers,   ///< the picture is not the size its header gives
  BadRequest,    ///< the copy asked for has a side below 1
  CannotWrite,   ///< the copy could not be encoded or written
};

/// Why a picture got no copies, in the log's words and the texts' language;
/// "" for None.
std::string_view CopyProblemText(CopyProblem problem);

#include "album/copy_problem.h"

#include "resources/string_table.h"

std::string_view CopyProblemText(CopyProblem problem) {
  switch (problem) {
    case CopyProblem::None:
      return "";
    case CopyProblem::CannotRead:
      return StringTableText(kTextPictureUnreadable);
    case CopyProblem::CannotDecode:
      return StringTableText(kTextPictureDamaged);
    case CopyProblem::CutShort:
      return StringTableText(kTextPictureCutShort);
    case CopyProblem::Unsupported:
      return StringTableText(kTextPictureUnsupported);
    case CopyProblem::TooLarge:
      return StringTableText(kTextPictureTooLarge);
    case CopyProblem::SizeDiffers:
      return StringTableText(kTextPictureSizeDiffers);
    case CopyProblem::BadRequest:
      break;
    case CopyProblem::CannotWrite:
      return StringTableText(kTextCopiesUnwritable);
  }
  return StringTableText(kTextUnknownError);
}

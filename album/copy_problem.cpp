#include "album/copy_problem.h"

std::string_view ProblemCode(CopyProblem problem) {
  switch (problem) {
    case CopyProblem::None:
      return "";
    case CopyProblem::CannotRead:
      return "cannot read";
    case CopyProblem::CannotDecode:
      return "cannot decode";
    case CopyProblem::CutShort:
      return "cut short";
    case CopyProblem::Unsupported:
      return "unsupported kind";
    case CopyProblem::TooLarge:
      return "too large";
    case CopyProblem::SizeDiffers:
      return "size differs from header";
    case CopyProblem::BadRequest:
      return "bad copy size";
    case CopyProblem::CannotWrite:
      return "cannot write";
  }
  return "unknown";
}

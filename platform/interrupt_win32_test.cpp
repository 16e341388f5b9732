#include "platform/interrupt.h"

#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

namespace {

// How Ctrl+C ends a console program: Windows says so, Wine ends it with 0.
bool EndedByCtrlC(int exitCode) {
  return exitCode == static_cast<int>(STATUS_CONTROL_C_EXIT) || exitCode == 0;
}

// Ctrl+C reaches only the processes of one console: the death test's own
// process gets one of its own, and keeps its standard error for the test.
// The first marks a cancel, the second ends the process.
TEST(InterruptCatcherDeathTest, CtrlCMarksACancelAndASecondEndsTheProcess) {
  const auto pressTwice = [] {
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    FreeConsole();
    AllocConsole();
    SetStdHandle(STD_ERROR_HANDLE, error);
    const InterruptCatcher catcher;
    GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    for (int i = 0; i < 500 && !catcher.Requested(); ++i) {
      Sleep(10);
    }
    std::fprintf(stderr, "cancel %s\n", catcher.Requested() ? "marked" : "missed");
    GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    Sleep(5000);
    std::exit(2);
  };
  EXPECT_EXIT(pressTwice(), EndedByCtrlC, "cancel marked");
}

}  // namespace

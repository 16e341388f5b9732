#include "platform/interrupt.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/process.h"
#include "tests/test_support.h"
#include "tests/windows_test_support.h"

namespace {

// How Ctrl+C ends a console program: Windows says so, Wine ends it with 0.
bool EndedByCtrlC(int exitCode) {
  return exitCode == static_cast<int>(STATUS_CONTROL_C_EXIT) || exitCode == 0;
}

// Ctrl+C reaches only the processes of one console: the death test's own
// process gets one of its own, and keeps its standard error for the test.
// The first marks a cancel; the second ends the process, and before it the
// program tied to it and the placeholder it names.
TEST(InterruptCatcherDeathTest, CtrlCMarksACancelAndASecondEndsTheProcessAndItsRecorder) {
  // The death test runs this body again in a process of its own: both must
  // find the same files.
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / "korvalo-second-stop-test";
  std::filesystem::create_directories(dir);
  const std::string source = (dir / "empty.wav").string();
  const std::string placeholder = (dir / "a.wav").string();
  const std::string pidFile = (dir / "recorder.pid").string();
  std::ofstream(source) << "RIFF";
  std::ofstream(placeholder) << "RIFF";
  const auto pressTwice = [&] {
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    FreeConsole();
    AllocConsole();
    SetStdHandle(STD_ERROR_HANDLE, error);
    const InterruptCatcher catcher;
    int failure = 0;
    std::optional<ChildProcess> recorder =
        ChildProcess::Start({FakeProgram(), "--sleep"}, false, failure);
    recorder->EndWithUs();
    std::ofstream(pidFile) << recorder->pid();
    const RemovedOnSecondStop undone(placeholder, source);
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
  const UniqueHandle recorder(
      OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(ReadPid(pidFile))));
  EXPECT_TRUE(!recorder || WaitForSingleObject(recorder.get(), 0) == WAIT_OBJECT_0);
  EXPECT_FALSE(PathExists(placeholder));
  std::filesystem::remove_all(dir);
}

}  // namespace

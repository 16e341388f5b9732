// A stand-in for the recorder and the browser in the Windows tests. It writes
// the arguments it got, one per line and then a line ".", to the file named in
// KORVALO_FAKE_LOG, and a take naming itself into a ".wav" file it is given.
//   --exit N   ends with N, taken unsigned
//   --sleep    waits a minute first
//   --spawn    starts a copy of itself with --sleep, notes its id in the log, and waits
//   --hold F   keeps the file F open a minute, sharing all but its deletion, as
//              an editor or a virus scanner may
//   --cut-short F  ends at once while writing F's new content beside it
// With KORVALO_FAKE_WAIT set it waits a minute whatever it is given, as a
// recorder does that the user has not closed yet.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/file_replacement.h"
#include "platform/process.h"
#include "platform/program_entry.h"
#include "platform/program_path.h"

namespace {

std::filesystem::path FsPath(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

void Log(const std::string& text) {
  if (const char* log = std::getenv("KORVALO_FAKE_LOG")) {
    std::ofstream(FsPath(log), std::ios::binary | std::ios::app) << text;
  }
}

}  // namespace

int ProgramMain(const std::vector<std::string>& arguments) {
  std::string said;
  for (const std::string& argument : arguments) {
    said += argument + "\n";
  }
  Log(said + ".\n");
  const std::string last = arguments.empty() ? "" : arguments.back();
  if (last.ends_with(".wav")) {
    std::ofstream(FsPath(last), std::ios::binary)
        << "RIFF-take:" << last.substr(last.find_last_of("\\/") + 1);
  }
  if (arguments.size() == 2 && arguments[0] == "--exit") {
    return static_cast<int>(std::stoul(arguments[1]));
  }
  if (!arguments.empty() && arguments[0] == "--spawn") {
    int error = 0;
    std::optional<ChildProcess> copy =
        ChildProcess::Start({ProgramFilePath(), "--sleep"}, false, error);
    Log("spawned " + std::to_string(copy ? copy->pid() : -1) + "\n");
  }
  if (arguments.size() == 2 && arguments[0] == "--cut-short") {
    FileReplacement half(arguments[1], FileReplacement::Mode::Whole);
    std::fputs("half", half.Stream());
    std::fflush(nullptr);
    std::_Exit(1);
  }
  std::ifstream held;
  if (arguments.size() == 2 && arguments[0] == "--hold") {
    held.open(FsPath(arguments[1]), std::ios::binary);
    Log(held ? "holding\n" : "cannot hold\n");
  }
  if (std::getenv("KORVALO_FAKE_WAIT") != nullptr ||
      (!arguments.empty() &&
       (arguments[0] == "--sleep" || arguments[0] == "--spawn" || held.is_open()))) {
    std::this_thread::sleep_for(std::chrono::minutes(1));
  }
  return 0;
}

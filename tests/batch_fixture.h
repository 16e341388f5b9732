#pragma once

// Runs the real korvalo-batch on folders built by the test, with a templates
// folder, support files and a stand-in recorder of the test's own.

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/picture_files.h"
#include "tests/test_support.h"

inline const std::string kEmptySound = std::string("RIFF\x24\0\0\0WAVEfmt ", 16);

inline std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

struct BatchResult {
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};

class KorvaloBatchTest : public ::testing::Test {
 protected:
  KorvaloBatchTest() {
    WriteTemplate("example", kTwoColumnIndex);
    dir_.Write("mallar/__goback.gif", GifBytes(40, 40));
    dir_.Write("mallar/index.jpg", JpegBytes(64, 64));
    dir_.Write("mallar/emptysound.wav", kEmptySound);
  }

  void WriteTemplate(const std::string& name, const std::string& indexText) {
    dir_.Write("mallar/" + name + "_index.html", indexText);
    dir_.Write("mallar/" + name + "_picture.html",
               "<html><img src=\"__picture.jpg\" width=\"500\" height=\"500\"><p>Picture "
               "text</p><embed src=\"__picture.wav\"></html>\r\n");
  }

  // A stand-in recorder that notes its argument and what the folder then held.
  void FakeRecorder(const std::string& exitCode = "0") {
    const std::string log = Quoted(dir_ / "recorder.log");
    dir_.WriteScript(
        "bin/sndrec32.exe",
        "echo \"$1\" >> " + log + "\nls \"$(dirname \"$1\")\" >> " + log + "\nexit " + exitCode);
  }

  // The command that runs korvalo-batch, bounded so that a hang fails the
  // test, with the test's templates folder first on its command line.
  std::string Command(const std::vector<std::string>& arguments, bool withTemplates = true) const {
    std::string command = shell_ +
                          "timeout 60 env LC_ALL=C PATH=" + Quoted(dir_ / "bin:/usr/bin:/bin") +
                          " " + env_ + " " + Quoted(KORVALO_BATCH_PROGRAM);
    if (withTemplates) {
      command += " --templates-folder " + Quoted(templates_);
    }
    for (const std::string& argument : arguments) {
      command += " " + Quoted(argument);
    }
    return command;
  }

  BatchResult Run(const std::vector<std::string>& arguments, bool withTemplates = true) {
    const int status = std::system((Command(arguments, withTemplates) + " >" +
                                    Quoted(dir_ / "out") + " 2>" + Quoted(dir_ / "err"))
                                       .c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFileBytes(dir_ / "out"),
            ReadFileBytes(dir_ / "err")};
  }

  void Picture(const std::string& relative, const std::string& bytes) {
    dir_.Write("Album/" + relative, bytes);
  }
  std::string Album(const std::string& relative) const { return album_ + "/" + relative; }
  std::string Read(const std::string& relative) const { return ReadFileBytes(Album(relative)); }
  TempDir dir_;
  std::string templates_ = dir_.MakeFolder("mallar");
  std::string album_ = dir_.MakeFolder("Album");
  std::string env_;
  std::string shell_;
};

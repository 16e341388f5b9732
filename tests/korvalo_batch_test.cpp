// Runs the real korvalo-batch on folders built here and checks what lands on
// disk, byte for byte, and what the program says and returns.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/files.h"
#include "tests/picture_files.h"
#include "tests/test_support.h"

namespace {

const std::string kEmptySound = std::string("RIFF\x24\0\0\0WAVEfmt ", 16);

std::string Quoted(const std::string& text) {
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
    templates_ = dir_.MakeFolder("mallar");
    WriteTemplate("example", kTwoColumnIndex);
    dir_.Write("mallar/__goback.gif", GifBytes(40, 40));
    dir_.Write("mallar/index.jpg", JpegBytes(64, 64));
    dir_.Write("mallar/emptysound.wav", kEmptySound);
    album_ = dir_.MakeFolder("Album");
    bin_ = dir_.MakeFolder("bin");
  }

  void WriteTemplate(const std::string& name, const std::string& indexText) {
    dir_.Write("mallar/" + name + "_index.html", indexText);
    dir_.Write("mallar/" + name + "_picture.html",
               "<html><img src=\"__picture.jpg\" width=\"500\" height=\"500\"><p>Picture "
               "text</p><embed src=\"__picture.wav\"></html>\r\n");
  }

  // A stand-in recorder that notes its argument and what the folder then held.
  void FakeRecorder(const std::string& exitCode = "0") {
    dir_.WriteScript("bin/sndrec32.exe", "echo \"$1\" >> " + Quoted(dir_ / "recorder.log") +
                                             "\nls \"$(dirname \"$1\")\" >> " +
                                             Quoted(dir_ / "recorder.log") + "\nexit " + exitCode);
  }

  // The album of the worked examples: three pictures and a text file.
  void ExampleAlbum() {
    Picture("beach.jpg", JpegBytes(800, 600));
    Picture("dog.JPG", JpegBytes(600, 800));
    dir_.Write("Album/notes.txt", "not a picture");
    Picture("sun.gif", GifBytes(300, 300));
    FakeRecorder();
  }

  // Runs korvalo-batch with the test's templates folder first on its command line.
  BatchResult Run(const std::vector<std::string>& arguments, bool withTemplates = true) {
    // Every run is bounded: a hang fails the test instead of stopping it.
    std::string command = shell_ +
                          "timeout 60 env LC_ALL=C PATH=" + Quoted(bin_ + ":/usr/bin:/bin") + " " +
                          env_ + " " + Quoted(KORVALO_BATCH_PROGRAM);
    if (withTemplates) {
      command += " --templates-folder " + Quoted(templates_);
    }
    for (const std::string& argument : arguments) {
      command += " " + Quoted(argument);
    }
    command += " >" + Quoted(dir_ / "out.txt") + " 2>" + Quoted(dir_ / "err.txt");
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFileBytes(dir_ / "out.txt"),
            ReadFileBytes(dir_ / "err.txt")};
  }

  void Picture(const std::string& relative, const std::string& bytes) {
    dir_.Write("Album/" + relative, bytes);
  }
  std::string Album(const std::string& relative) const { return album_ + "/" + relative; }
  std::string Read(const std::string& relative) const { return ReadFileBytes(Album(relative)); }
  TempDir dir_;
  std::string templates_;
  std::string album_;
  std::string bin_;
  std::string env_;
  std::string shell_;
};

// Worked example 1, then example 2: the same album with the sub-album Trip.
TEST_F(KorvaloBatchTest, WorkedExamplesByteForByteWithRecordings) {
  ExampleAlbum();
  BatchResult result =
      Run({"--template", "example", "--thumbnails", "0", "--record", "always", album_});
  ASSERT_EQ(0, result.ExitCode) << result.Err;
  EXPECT_EQ("", result.Err);
  EXPECT_EQ(Album("beach.jpg\nSpelar in ljud för: \"beach\" ...\n") + Album("dog.JPG\n") +
                "Spelar in ljud för: \"dog\" ...\n" + Album("sun.gif\n") +
                "Spelar in ljud för: \"sun\" ...\n",
            result.Out);
  const std::string cells = kIndexHead + Cell("beach", "beach.jpg", "Beach", "120", "90 ") +
                            Cell("dog", "dog.JPG", "Dog", "90 ", "120") + kNextRow +
                            Cell("sun", "sun.gif", "Sun");
  EXPECT_EQ(cells + kIndexTail, Read("index.html"));
  // Each recording starts after its page and before the next picture's page.
  const std::string before = "__goback.gif\nbeach.html\nbeach.jpg\nbeach.wav\ndog.JPG\n";
  EXPECT_EQ(Album("beach.wav\n") + before + "index.html\nindex.jpg\nnotes.txt\nsun.gif\n" +
                Album("dog.wav\n") + before +
                "dog.html\ndog.wav\nindex.html\nindex.jpg\nnotes.txt\nsun.gif\n" +
                Album("sun.wav\n") + before +
                "dog.html\ndog.wav\nindex.html\nindex.jpg\nnotes.txt\nsun.gif\nsun.html\nsun.wav\n",
            ReadFileBytes(dir_ / "recorder.log"));
  EXPECT_EQ(kEmptySound, Read("sun.wav"));
  EXPECT_EQ(GifBytes(40, 40), Read("__goback.gif"));
  EXPECT_EQ(JpegBytes(64, 64), Read("index.jpg"));
  EXPECT_EQ(
      "<html><img src=\"beach.jpg\" width=\"500\" height=\"375\"><p>Beach</p>"
      "<embed src=\"beach.wav\"></html>\r\n",
      Read("beach.html"));

  Picture("Trip/a.jpg", JpegBytes(800, 600));
  std::remove((dir_ / "recorder.log").c_str());
  result =
      Run({"--template", "example", "--thumbnails", "0", "--record", "always", "--quiet", album_});
  ASSERT_EQ(0, result.ExitCode) << result.Err;
  EXPECT_EQ("", result.Out);
  EXPECT_EQ(kIndexHead + Cell("a", "a.jpg", "A", "120", "90 ") +
                Cell("../index", "__goback.gif", "") + kIndexTail,
            Read("Trip/index.html"));
  EXPECT_EQ(cells + Cell("Trip/index", "Trip/index.jpg", "Trip") + kNextRow + kIndexTail,
            Read("index.html"));
  // The sub-album is made whole, after sun and before the parent's index page ends.
  EXPECT_EQ(Album("Trip/a.wav\n") + "__goback.gif\na.html\na.jpg\na.wav\nindex.html\nindex.jpg\n",
            ReadFileBytes(dir_ / "recorder.log")
                .substr(ReadFileBytes(dir_ / "recorder.log").find(Album("Trip"))));
}

TEST_F(KorvaloBatchTest, AFirstEntryThatIsAFolderStartsTheParentFirst) {
  Picture("Trip/a.jpg", JpegBytes(800, 600));
  dir_.WriteScript("bin/sndrec32.exe", "ls \"$(dirname \"$1\")/..\" > " + Quoted(dir_ / "seen"));
  ASSERT_EQ(0, Run({"--record", "always", album_}).ExitCode);
  // While the sub-album's picture was recorded, the parent already had its page and images.
  EXPECT_EQ("Trip\n__goback.gif\nindex.html\nindex.jpg\n", ReadFileBytes(dir_ / "seen"));
}

// The proposed count is the first row's cells; 0 takes every cell the template shows.
TEST_F(KorvaloBatchTest, TemplatesThumbnailsAndBrowserByDefault) {
  env_ = "BROWSER=" +
         Quoted(dir_.WriteScript("bin/browser", "echo \"$@\" >> " + Quoted(dir_ / "browser.log")));
  WriteTemplate("example", kIndexHead + kIndexCell + kIndexCell + kIndexCell + kNextRow +
                               kIndexCell + kIndexCell + kIndexCell + kIndexTail);
  WriteTemplate("Zeta", "<table><tr>\r\n<td>Z __picture.jpg</td>\r\n</table>");
  for (const char* name : {"a.gif", "b.gif", "c.gif", "d.gif"}) {
    Picture(name, GifBytes(10, 10));
  }
  ASSERT_EQ(0, Run({album_}).ExitCode);
  EXPECT_EQ(kIndexHead + Cell("a", "a.gif", "A") + Cell("b", "b.gif", "B") +
                Cell("c", "c.gif", "C") + kNextRow + Cell("d", "d.gif", "D") + kIndexTail,
            Read("index.html"));
  ASSERT_EQ(0, Run({"--thumbnails=0", album_}).ExitCode);
  EXPECT_EQ(std::string::npos, Read("index.html").find(kNextRow + "<td"));
  ASSERT_EQ(0, Run({"--template", "zeta", album_}).ExitCode);
  EXPECT_NE(std::string::npos, Read("index.html").find("<td>Z a.gif</td>"));
  // Without a templates folder, those beside the program.
  const BatchResult result = Run({album_}, false);
  ASSERT_EQ(0, result.ExitCode) << result.Err;
  EXPECT_NE(std::string::npos, Read("index.html").find("src=\"a.gif\""));
  EXPECT_EQ(std::string::npos, Read("index.html").find("__picture"));
  // The browser only when asked; it is started without waiting.
  ASSERT_EQ(0, Run({"--open-browser", album_}).ExitCode);
  for (int i = 0; i < 100 && ReadFileBytes(dir_ / "browser.log").empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ("file://" + Album("index.html") + "\n", ReadFileBytes(dir_ / "browser.log"));
}

// Templates are refused before anything is written; later failures keep what was.
TEST_F(KorvaloBatchTest, FatalErrorsEndTheRunAndKeepWhatWasWritten) {
  for (const char name : std::string("abcdefgh")) {
    Picture(name + std::string(".gif"), GifBytes(10, 10));
  }
  const std::string empty = dir_.MakeFolder("empty");
  BatchResult result = Run({"--templates-folder", empty, album_}, false);
  EXPECT_EQ(1, result.ExitCode);
  EXPECT_EQ("Fatal Error: Hittade inga mallar i: \"" + empty + "/\"\n", result.Err);
  WriteTemplate("example", "<html><body>no table</body></html>");
  result = Run({album_});
  EXPECT_EQ(1, result.ExitCode);
  EXPECT_NE(std::string::npos, result.Err.find("Fatal Error: Indexmallen saknar"));
  EXPECT_NE(std::string::npos, result.Err.find(templates_ + "/example_index.html"));
  // A template that is a folder cannot be opened as a file.
  std::filesystem::remove(templates_ + "/example_picture.html");
  dir_.MakeFolder("mallar/example_picture.html");
  result = Run({album_});
  EXPECT_EQ("Fatal Error: Failed to open file: " + templates_ + "/example_picture.html\n",
            result.Err);
  EXPECT_FALSE(FileExists(Album("index.html")));
  std::filesystem::remove(templates_ + "/example_picture.html");
  WriteTemplate("example", kTwoColumnIndex);
  // Files stop at 512 bytes: the pages fit, the index page fails when flushed at its end.
  shell_ = "ulimit -f 1; trap '' XFSZ; ";
  result = Run({"--quiet", album_});
  EXPECT_EQ(1, result.ExitCode);
  EXPECT_EQ("Fatal Error: Failed to write to file: " + Album("index.html") + "\n", result.Err);
  shell_.clear();
  std::filesystem::remove(Album("index.html"));
  dir_.MakeFolder("Album/index.html");
  result = Run({album_});
  EXPECT_EQ(1, result.ExitCode);
  EXPECT_EQ(
      "Fatal Error: Misslyckades med att skapa innehållsfil: \"" + Album("index.html") + "\"\n",
      result.Err);
  std::filesystem::remove(Album("index.html"));
  FakeRecorder("2");
  EXPECT_EQ(1, Run({"--record", "when-missing", album_}).ExitCode);
  EXPECT_FALSE(FileExists(Album("b.wav")));
  EXPECT_EQ(kIndexHead, Read("index.html"));
  EXPECT_EQ(kEmptySound, Read("a.wav"));
}

// Every entry below `folder` except the album in it, links not followed, with
// what each holds.
std::string Snapshot(const std::string& folder, const std::string& album) {
  std::string seen;
  namespace fs = std::filesystem;
  for (auto it = fs::recursive_directory_iterator(folder); it != fs::end(it); ++it) {
    if (it->path() == album) {
      it.disable_recursion_pending();
    } else if (it->is_symlink()) {
      seen += it->path().string() + " -> " + fs::read_symlink(it->path()).string() + "\n";
    } else {
      seen += it->path().string() + ": " + ReadFileBytes(it->path()) + "\n";
    }
  }
  return seen;
}

// Folders as they come from cameras, archives and other disks. Each row's
// album also holds a.jpg, and Sibling/victim.txt stands beside it. An entry
// "-> x" is a link to x; "|" is a FIFO.
TEST_F(KorvaloBatchTest, OddFoldersGiveWholeAlbumsInsideThemAndEveryRunEnds) {
  FakeRecorder();
  const std::string a = Cell("a", "a.jpg", "A", "120", "90 ");
  const std::string pic = JpegBytes(8, 8);
  const std::string victim = "-> ../Sibling/victim.txt";
  std::string segments;  // Many empty comments before the frame header.
  for (int i = 0; i < 30000; ++i) {
    segments += std::string("\xFF\xFE\x00\x02", 4);
  }
  const struct {
    std::string Row;
    std::vector<std::pair<std::string, std::string>> Entries;
    std::string Cells;              // the index page's, row breaks included
    std::vector<std::string> Made;  // regular files the run must leave in the album
  } rows[] = {
      {"loop", {{"loop", "-> .."}}, a, {}},
      {"self", {{"self", "-> ."}}, a, {}},
      {"links",
       {{"p.jpg", pic},
        {"p.html", victim},
        {"index.html", victim},
        {"p.wav", victim},
        {"__goback.gif", "-> ../Sibling/new.gif"}},
       a + Cell("p", "p.jpg", "P") + kNextRow,
       {"p.html", "index.html", "p.wav", "__goback.gif"}},
      {"fifo", {{"pipe.jpg", "|"}}, a + Cell("pipe", "pipe.jpg", "Pipe") + kNextRow, {"pipe.wav"}},
      {"hidden", {{".git/config", "x"}, {".thumbnails/t.jpg", pic}, {".x.jpg", pic}}, a, {}},
      {"quote",
       {{"say\"hi\".jpg", pic}, {"a\".jpg", pic}},
       Cell("a&quot;", "a&quot;.jpg", "A&quot;") + a + kNextRow +
           Cell("say&quot;hi&quot;", "say&quot;hi&quot;.jpg", "Say&quot;hi&quot;"),
       {"say\"hi\".wav", "a\".wav", "a.wav"}},
      {"names",
       {{"a%20b.jpg", pic}, {"x\ny\x7F.jpg", pic}, {"100%.jpg", pic}},
       Cell("100%", "100%.jpg", "100%") + Cell("a%2520b", "a%2520b.jpg", "A%20b") + kNextRow + a +
           Cell("x%0Ay%7F", "x%0Ay%7F.jpg", "X\ny\x7F") + kNextRow,
       {}},
      {"segments",
       {{"big.jpg", JpegBytes(600, 800).insert(2, segments)}},
       a + Cell("big", "big.jpg", "Big", "90 ", "120") + kNextRow,
       {}},
  };
  for (const auto& [row, entries, cells, made] : rows) {
    const std::string album = dir_.MakeFolder(row + "/Album");
    dir_.Write(row + "/Sibling/victim.txt", "keep");
    dir_.Write(row + "/Album/a.jpg", JpegBytes(800, 600));
    for (const auto& [name, content] : entries) {
      const std::string at = album + "/" + name;
      ASSERT_TRUE(content == "|" ? mkfifo(at.c_str(), 0644) == 0
                  : content.starts_with("-> ")
                      ? symlink(content.c_str() + 3, at.c_str()) == 0
                      : !dir_.Write(row + "/Album/" + name, content).empty());
    }
    const std::string outside = Snapshot(dir_ / row, album);
    const BatchResult result = Run({"--template", "example", "--record", "always", album});
    EXPECT_EQ(0, result.ExitCode) << row << result.Err;
    EXPECT_EQ("", result.Err) << row;
    EXPECT_EQ(kIndexHead + cells + kIndexTail, ReadFileBytes(album + "/index.html")) << row;
    EXPECT_EQ(outside, Snapshot(dir_ / row, album)) << row;
    for (const std::string& name : made) {
      EXPECT_TRUE(
          std::filesystem::is_regular_file(std::filesystem::symlink_status(album + "/" + name)))
          << row << " " << name;
    }
    if (row == "loop" || row == "self") {
      EXPECT_NE(std::string::npos, result.Out.find("Hoppar över " + album + "/" + row +
                                                   ": mappen ingår redan i albumet\n"));
    }
  }
}

TEST_F(KorvaloBatchTest, UsageErrorsNameTheProblem) {
  Picture("a.gif", GifBytes(10, 10));
  const std::string file = dir_.Write("file.txt", "x");
  const struct {
    std::vector<std::string> Arguments;
    std::string Said;
  } cases[] = {
      {{"--bogus", album_}, "unknown option --bogus"},
      {{}, "no FOLDER"},
      {{album_, album_}, "only one FOLDER"},
      {{"--thumbnails", "-1", album_}, "--thumbnails"},
      {{"--thumbnails", "two", album_}, "\"two\""},
      {{"--record", "sometimes", album_}, "\"sometimes\""},
      {{album_, "--record"}, "--record needs a value"},
      {{"--template", "nope", album_}, "there are: example"},
      {{dir_ / "missing"}, "no such folder"},
      {{file}, "not a folder"},
  };
  for (const auto& [arguments, said] : cases) {
    const BatchResult result = Run(arguments);
    EXPECT_EQ(2, result.ExitCode) << said;
    EXPECT_NE(std::string::npos, result.Err.find(said)) << result.Err;
  }
  EXPECT_FALSE(FileExists(Album("index.html")));
  for (const char* option : {"--help", "--version"}) {
    const BatchResult result = Run({option}, false);
    EXPECT_EQ(0, result.ExitCode) << option;
    EXPECT_NE(std::string::npos, result.Out.find("korvalo-batch")) << option;
  }
}

}  // namespace

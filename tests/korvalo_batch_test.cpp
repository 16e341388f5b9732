// Runs the real korvalo-batch on folders built here and checks what lands on
// disk, byte for byte, and what the program says and returns.

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "app/files.h"
#include "tests/batch_fixture.h"

namespace {

// Worked example 1, then example 2: the same album with the sub-album Trip.
TEST_F(KorvaloBatchTest, WorkedExamplesByteForByteWithRecordings) {
  Picture("beach.jpg", JpegBytes(800, 600));
  Picture("dog.JPG", JpegBytes(600, 800));
  Picture("notes.txt", "not a picture");
  Picture("sun.gif", GifBytes(300, 300));
  FakeRecorder();
  BatchResult result =
      Run({"--template", "example", "--thumbnails", "0", "--record", "always", album_});
  ASSERT_EQ(0, result.ExitCode) << result.Err;
  EXPECT_EQ("", result.Err);
  EXPECT_EQ(Album("beach.jpg\nSpelar in ljud för: \"beach\" ...\n") + Album("dog.JPG\n") +
                "Spelar in ljud för: \"dog\" ...\n" + Album("sun.gif\n") +
                "Spelar in ljud för: \"sun\" ...\n",
            result.Out);
  EXPECT_EQ(kIndexHead + Cell("beach", "beach.jpg", "Beach", "120", "90 ") +
                Cell("dog", "dog.JPG", "Dog", "90 ", "120") + kNextRow +
                Cell("sun", "sun.gif", "Sun") + kIndexTail,
            Read("index.html"));
  // Each recording starts after its page and before the next picture's page.
  const std::string before = "__goback.gif\nbeach.html\nbeach.jpg\nbeach.wav\ndog.JPG\n";
  const std::string after = "dog.html\ndog.wav\nindex.html\nindex.jpg\nnotes.txt\nsun.gif\n";
  EXPECT_EQ(Album("beach.wav\n") + before + "index.html\nindex.jpg\nnotes.txt\nsun.gif\n" +
                Album("dog.wav\n") + before + after + Album("sun.wav\n") + before + after +
                "sun.html\nsun.wav\n",
            ReadFileBytes(dir_ / "recorder.log"));
  EXPECT_EQ(kEmptySound, Read("sun.wav"));
  EXPECT_EQ(GifBytes(40, 40), Read("__goback.gif"));
  EXPECT_EQ(JpegBytes(64, 64), Read("index.jpg"));
  EXPECT_EQ(
      "<html><img src=\"beach.jpg\" width=\"500\" height=\"375\"><p>Beach</p>"
      "<embed src=\"beach.wav\"></html>\r\n",
      Read("beach.html"));

  // The sub-album is made whole, after sun and before the parent's index page ends.
  Picture("Trip/a.jpg", JpegBytes(800, 600));
  std::remove((dir_ / "recorder.log").c_str());
  result = Run({"--record", "always", "--quiet", album_});
  ASSERT_EQ(0, result.ExitCode) << result.Err;
  EXPECT_EQ("", result.Out);
  const std::string log = ReadFileBytes(dir_ / "recorder.log");
  EXPECT_EQ(Album("Trip/a.wav\n") + "__goback.gif\na.html\na.jpg\na.wav\nindex.html\nindex.jpg\n",
            log.substr(log.find(Album("Trip"))));
  EXPECT_NE(std::string::npos,
            Read("index.html").find(Cell("Trip/index", "Trip/index.jpg", "Trip") + kNextRow));
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
  // The browser only when asked; it is started without waiting.
  ASSERT_EQ(0, Run({"--open-browser", album_}).ExitCode);
  // The browser is still writing its line when the file appears.
  Eventually([&] { return ReadFileBytes(dir_ / "browser.log").ends_with('\n'); });
  EXPECT_EQ("file://" + Album("index.html") + "\n", ReadFileBytes(dir_ / "browser.log"));
}

// Templates are refused before anything is written; later failures keep what was.
TEST_F(KorvaloBatchTest, FatalErrorsEndTheRunAndKeepWhatWasWritten) {
  for (const char name : std::string("abcdefgh")) {
    Picture(name + std::string(".gif"), GifBytes(10, 10));
  }
  const std::string empty = dir_.MakeFolder("empty");
  const auto fatal = [&](const std::vector<std::string>& arguments, bool withTemplates = true) {
    const BatchResult result = Run(arguments, withTemplates);
    EXPECT_EQ(1, result.ExitCode);
    return result.Err;
  };
  EXPECT_EQ("Fatal Error: Hittade inga mallar i: \"" + empty + "/\"\n",
            fatal({"--templates-folder", empty, album_}, false));
  WriteTemplate("example", "<html><body>no table</body></html>");
  EXPECT_NE(std::string::npos,
            fatal({album_}).find("Fatal Error: Indexmallen saknar en tabellrad \"<tr>\" med en "
                                 "cell \"</td>\": \"" +
                                 templates_ + "/example_index.html"));
  EXPECT_FALSE(FileExists(Album("index.html")));
  WriteTemplate("example", kTwoColumnIndex);
  // Files stop at 512 bytes: the pages fit, the index page fails when flushed at its end.
  shell_ = "ulimit -f 1; trap '' XFSZ; ";
  EXPECT_EQ("Fatal Error: Failed to write to file: " + Album("index.html") + " (disken är full)\n",
            fatal({"--quiet", album_}));
  shell_.clear();
  std::filesystem::remove(Album("index.html"));
  dir_.MakeFolder("Album/index.html");
  EXPECT_EQ(
      "Fatal Error: Misslyckades med att skapa innehållsfil: \"" + Album("index.html") + "\"\n",
      fatal({album_}));
  std::filesystem::remove(Album("index.html"));
  FakeRecorder("2");
  fatal({"--record", "when-missing", album_});
  EXPECT_EQ(kIndexHead, Read("index.html"));
  EXPECT_FALSE(FileExists(Album("a.wav")) || FileExists(Album("b.wav")));
}

// Every entry below `folder` with what each holds, but not what the album holds.
std::string Snapshot(const std::string& folder, const std::string& album) {
  std::string seen;
  for (auto it = std::filesystem::recursive_directory_iterator(folder); it != end(it); ++it) {
    if (it->path() == album) {
      it.disable_recursion_pending();
    }
    seen += it->path().string() + ": " + ReadFileBytes(it->path()) + "\n";
  }
  return seen;
}

// Entries as they come from cameras, archives and other disks, all in one
// album: links out of it, into it and round to it, a FIFO, hidden folders,
// names that need escaping, a header behind many segments.
TEST_F(KorvaloBatchTest, OddEntriesGiveAWholeAlbumInsideItAndTheRunEnds) {
  FakeRecorder();
  const std::string album = dir_.MakeFolder("odd/Album");
  const auto at = [&](const std::string& name) { return album + "/" + name; };
  dir_.Write("odd/Sibling/victim.txt", "keep");
  std::string segments;  // Many empty comments before the frame header.
  for (int i = 0; i < 30000; ++i) {
    segments += std::string("\xFF\xFE\x00\x02", 4);
  }
  dir_.Write("odd/Album/a.jpg", JpegBytes(800, 600));
  dir_.Write("odd/Album/big.jpg", JpegBytes(600, 800).insert(2, segments));
  for (const char* name : {"p.jpg", "say\"hi\".jpg", "a\".jpg", "a%20b.jpg", "x\ny\x7F.jpg",
                           "100%.jpg", ".git/config", ".thumbnails/t.jpg", ".x.jpg"}) {
    dir_.Write("odd/Album/" + std::string(name), JpegBytes(8, 8));
  }
  const std::string victim = "../Sibling/victim.txt";
  for (const auto& [name, target] :
       std::vector<std::pair<std::string, std::string>>{{"loop", ".."},
                                                        {"self", "."},
                                                        {"p.html", victim},
                                                        {"index.html", victim},
                                                        {"p.wav", victim},
                                                        {"__goback.gif", "../Sibling/new.gif"}}) {
    ASSERT_EQ(0, symlink(target.c_str(), at(name).c_str())) << name;
  }
  ASSERT_EQ(0, mkfifo(at("pipe.jpg").c_str(), 0644));
  const std::string outside = Snapshot(dir_ / "odd", album);
  const BatchResult result = Run({"--record", "always", album});
  EXPECT_EQ(0, result.ExitCode);
  EXPECT_EQ("", result.Err);
  EXPECT_EQ(kIndexHead + Cell("100%", "100%.jpg", "100%") +
                Cell("a&quot;", "a&quot;.jpg", "A&quot;") + kNextRow +
                Cell("a%2520b", "a%2520b.jpg", "A%20b") + Cell("a", "a.jpg", "A", "120", "90 ") +
                kNextRow + Cell("big", "big.jpg", "Big", "90 ", "120") + Cell("p", "p.jpg", "P") +
                kNextRow + Cell("pipe", "pipe.jpg", "Pipe") +
                Cell("say&quot;hi&quot;", "say&quot;hi&quot;.jpg", "Say&quot;hi&quot;") + kNextRow +
                Cell("x%0Ay%7F", "x%0Ay%7F.jpg", "X\ny\x7F") + kIndexTail,
            ReadFileBytes(at("index.html")));
  EXPECT_EQ(outside, Snapshot(dir_ / "odd", album));
  // p.wav, a link to a comment kept elsewhere, is a comment as it stands.
  EXPECT_TRUE(std::filesystem::is_symlink(at("p.wav")));
  for (const char* name :
       {"p.html", "index.html", "__goback.gif", "pipe.wav", "say\"hi\".wav", "a\".wav"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(at(name))))
        << name;
  }
  for (const char* loop : {"loop", "self"}) {
    EXPECT_NE(std::string::npos,
              result.Out.find("Hoppar över \"" + at(loop) + "\": mappen ingår redan i albumet\n"));
  }
}

// On a terminal a name's control characters are shown, never obeyed: no
// name erases a line, forges a message or sets the title. A pipe gets the
// bytes as they are, for scripts.
TEST_F(KorvaloBatchTest, ANameCannotSteerTheTerminal) {
  const std::string name = "a\x1b[2K\x1b]0;pwned\x07\xC2\x9B\tb.gif";
  Picture(name, GifBytes(8, 8));
  EXPECT_EQ(Album(name) + "\n", Run({"--record", "never", album_}).Out);
  // script(1) runs the program on a pseudo-terminal of its own.
  const std::string onTerminal = dir_ / "terminal";
  std::system(("script -qec " + Quoted(Command({"--record", "never", album_})) + " /dev/null >" +
               Quoted(onTerminal))
                  .c_str());
  EXPECT_EQ(Album("a\\x1b[2K\\x1b]0;pwned\\x07\\u009b\tb.gif") + "\r\n", ReadFileBytes(onTerminal));
}

// The user's language, or the one --language names, for every line a run
// writes; the album itself is the same in both.
TEST_F(KorvaloBatchTest, LinesInTheUsersLanguageOrTheOneAskedFor) {
  Picture("a.gif", GifBytes(8, 8));
  ASSERT_EQ(0, symlink(".", Album("self").c_str()));
  const std::string empty = dir_.MakeFolder("Empty");
  const std::string skipped = "\"" + Album("self") + "\": ";
  const std::string swedish = "Hoppar över " + skipped + "mappen ingår redan i albumet\n";
  const std::string english = "Skipping " + skipped + "the folder is in the album already\n";
  const struct {
    std::string Env;
    std::vector<std::string> Options;
    std::string Said;
    std::string NoPictures;
  } cases[] = {
      {"LANGUAGE=en_GB", {}, english, "Found no pictures in: "},
      {"LANGUAGE=en LC_ALL=en_US.UTF-8", {"--language", "sv"}, swedish, "Hittade inga bilder i: "},
      {"", {"--language", "en"}, english, "Found no pictures in: "},
  };
  for (const auto& c : cases) {
    env_ = c.Env;
    std::vector<std::string> arguments = c.Options;
    arguments.insert(arguments.end(), {"--record", "never", album_});
    const BatchResult result = Run(arguments);
    EXPECT_EQ(Album("a.gif") + "\n" + c.Said, result.Out) << c.Env;
    arguments.back() = empty;
    EXPECT_NE(std::string::npos, Run(arguments).Err.find(c.NoPictures + "\"" + empty)) << c.Env;
  }
}

TEST_F(KorvaloBatchTest, UsageErrorsNameTheProblem) {
  Picture("a.gif", GifBytes(10, 10));
  const std::string file = dir_.Write("file.txt", "x");
  const std::pair<std::vector<std::string>, std::string> cases[] = {
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
      {{"--help"}, "usage: korvalo-batch"},  // these two on standard output, with code 0
      {{"--version"}, "korvalo-batch 1"},
  };
  for (const auto& [arguments, said] : cases) {
    const BatchResult result = Run(arguments);
    const bool asked = arguments.size() == 1 && arguments[0].starts_with("--");
    EXPECT_EQ(asked ? 0 : 2, result.ExitCode) << said;
    EXPECT_NE(std::string::npos, (asked ? result.Out : result.Err).find(said)) << result.Err;
  }
  EXPECT_FALSE(FileExists(Album("index.html")));
}

// Ctrl+C or SIGTERM in the middle of a run without recordings: the walk stops
// before the next picture, what was logged stays written, and no browser opens.
TEST_F(KorvaloBatchTest, CtrlCOrTermStopsALongRunWhereItIs) {
  constexpr int kPictures = 5000;
  for (int i = 0; i < kPictures; ++i) {
    Picture(std::to_string(i) + ".gif", GifBytes(10, 10));
  }
  env_ = "BROWSER=" +
         Quoted(dir_.WriteScript("bin/browser", "echo \"$@\" >> " + Quoted(dir_ / "browser.log")));
  // The program itself gets the signal, not `timeout`: the shell notes its id and becomes it.
  env_ += " sh -c " + Quoted("echo $$ > " + Quoted(dir_ / "pid") + "; exec \"$0\" \"$@\"");
  for (const int stop : {SIGTERM, SIGINT}) {
    std::filesystem::remove(dir_ / "pid");
    std::thread user([&] {
      const int pid = ReadPid(dir_ / "pid");
      if (Eventually([&] { return !ReadFileBytes(dir_ / "out").empty(); }) && pid > 0) {
        kill(pid, stop);
      }
    });
    const BatchResult result = Run({"--record", "never", "--open-browser", album_});
    user.join();
    EXPECT_EQ(1, result.ExitCode) << stop;
    EXPECT_EQ("korvalo-batch: stopped before the album was finished\n", result.Err);
    EXPECT_FALSE(FileExists(dir_ / "browser.log"));
    EXPECT_EQ(std::string::npos, Read("index.html").find("</html>"));
    // The index page and a page per logged picture; removed, so the next run starts afresh.
    int pages = 0;
    for (const auto& entry : std::filesystem::directory_iterator(album_)) {
      pages += entry.path().extension() == ".html" && std::filesystem::remove(entry.path());
    }
    EXPECT_LT(pages, kPictures / 2) << stop;
    EXPECT_EQ(std::count(result.Out.begin(), result.Out.end(), '\n'), pages - 1) << stop;
  }
}

}  // namespace

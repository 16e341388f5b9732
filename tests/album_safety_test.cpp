// Runs the real korvalo-batch the way careless users, backups, crashes and
// second runs meet an album, and checks that no comment or page is lost.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>

#include "app/files.h"
#include "platform/file_replacement.h"
#include "tests/batch_fixture.h"

namespace {

namespace fs = std::filesystem;

// Every regular file below `folder`, by its path, with what it holds.
std::map<std::string, std::string> Contents(const std::string& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      contents[fs::relative(entry.path(), folder).string()] = ReadFileBytes(entry.path());
    }
  }
  return contents;
}

class AlbumSafetyTest : public KorvaloBatchTest {
 protected:
  // A recorder that does, for each picture, what `actions/NAME` says: save a
  // take (as a real recorder does, beside the file and renamed over it), skip,
  // fail, press Ctrl+C in the run (twice: Ctrl+C, then SIGTERM), or wait
  // for the file `go`.
  void ScriptedRecorder() {
    const std::string d = Quoted(dir_.path());
    dir_.WriteScript(
        "bin/sndrec32.exe",
        "name=$(basename \"$1\" .wav)\necho \"$name\" >> " + d +
            "/recorded\n"
            "case $(cat " +
            d +
            "/actions/\"$name\" 2>/dev/null) in\n"
            "save) printf \"NEW-%s\" \"$name\" > \"$1.part\"; mv \"$1.part\" \"$1\";;\n"
            "fail) exit 2;;\n"
            "cancel) kill -INT $PPID; sleep 10;;\n"
            "twice) echo $$ > " +
            d +
            "/recorder.pid; kill -INT $PPID; sleep 0.3; kill -TERM $PPID; sleep 10;;\n"
            "block) touch " +
            d + "/started; while [ ! -e " + d +
            "/go ]; do sleep 0.05; done;;\n"
            "esac\n");
  }
  void Act(const std::string& name, const std::string& action) {
    dir_.Write("actions/" + name, action);
  }
  // The pictures the recorder was started for since the last call.
  std::string Recorded() {
    const std::string recorded = ReadFileBytes(dir_ / "recorded");
    std::remove((dir_ / "recorded").c_str());
    return recorded;
  }
};

TEST_F(AlbumSafetyTest, ACommentChangesOnlyByATakeTheUserSaved) {
  for (const char name : std::string("abcdefg")) {
    Picture(name + std::string(".gif"), GifBytes(10, 10));
  }
  for (const char name : std::string("abcd")) {
    Picture(name + std::string(".wav"), "COMMENT-" + std::string(1, name));
  }
  ASSERT_EQ(0, Run({"--record", "never", album_}).ExitCode);
  // A hard-link backup of the finished album, as cp -al and rsnapshot make it.
  const std::string backup = dir_.MakeFolder("backup");
  for (const auto& [name, content] : Contents(album_)) {
    ASSERT_EQ(0, link(Album(name).c_str(), (backup + "/" + name).c_str()));
  }
  const auto backedUp = Contents(backup);
  ScriptedRecorder();

  // Recorded again: a skip keeps the comment, a saved take replaces it, and a
  // failed recording ends the run and keeps its comment.
  Act("a", "skip");
  Act("b", "save");
  Act("c", "fail");
  EXPECT_EQ(1, Run({"--record", "always", album_}).ExitCode);
  EXPECT_EQ("a\nb\nc\n", Recorded());
  EXPECT_EQ("COMMENT-a", Read("a.wav"));
  EXPECT_EQ("NEW-b", Read("b.wav"));
  EXPECT_EQ("COMMENT-c", Read("c.wav"));
  // Ctrl+C in a recording ends the run and keeps the comment too.
  Act("c", "skip");
  Act("d", "cancel");
  EXPECT_EQ(1, Run({"--record", "always", album_}).ExitCode);
  EXPECT_EQ("a\nb\nc\nd\n", Recorded());
  EXPECT_EQ("COMMENT-d", Read("d.wav"));

  // New comments: a failed or cancelled take leaves no empty sound, so the
  // next run asks again; a skip keeps the empty sound and is not asked again.
  Act("e", "fail");
  EXPECT_EQ(1, Run({"--record", "when-missing", album_}).ExitCode);
  EXPECT_FALSE(FileExists(Album("e.wav")));
  Act("e", "skip");
  Act("f", "cancel");
  EXPECT_EQ(1, Run({"--record", "when-missing", album_}).ExitCode);
  EXPECT_EQ("e\ne\nf\n", Recorded());
  EXPECT_EQ(kEmptySound, Read("e.wav"));
  EXPECT_FALSE(FileExists(Album("f.wav")));

  // The recorder installed beside the program, unable to start without a
  // display, records over nothing and leaves nothing behind.
  std::remove((dir_ / "bin/sndrec32.exe").c_str());
  env_ = "DISPLAY= WAYLAND_DISPLAY= QT_QPA_PLATFORM=xcb";
  for (const char* mode : {"always", "when-missing"}) {
    EXPECT_EQ(1, Run({"--record", mode, "--quiet", album_}).ExitCode);
  }
  EXPECT_EQ("COMMENT-a", Read("a.wav"));
  EXPECT_FALSE(FileExists(Album("f.wav")));

  // Pages made anew with another template reach the album, not the backup.
  WriteTemplate("example", kIndexHead + "<td>__picture.jpg</td>\r\n" + kIndexTail);
  ASSERT_EQ(0, Run({"--record", "never", album_}).ExitCode);
  EXPECT_NE(backedUp.at("index.html"), Read("index.html"));
  EXPECT_EQ(backedUp, Contents(backup));
}

// A second stop ends the run at once, and the recorder with it; the empty
// sound put where there was no comment goes too, so the next run asks for
// it, and an existing comment stays as it was.
TEST_F(AlbumSafetyTest, ASecondStopLeavesNoRecorderAndNoPlaceholder) {
  Picture("a.gif", GifBytes(10, 10));
  Picture("b.gif", GifBytes(10, 10));
  Picture("b.wav", "COMMENT-b");
  ScriptedRecorder();
  const auto stopTwiceAt = [&](const char* name, const char* mode) {
    Act(name, "twice");
    EXPECT_NE(0, Run({"--record", mode, album_}).ExitCode) << name;
    EXPECT_FALSE(IsAlive(ReadPid(dir_ / "recorder.pid"))) << name;
  };
  stopTwiceAt("a", "when-missing");
  EXPECT_FALSE(FileExists(Album("a.wav")));
  Act("a", "skip");
  stopTwiceAt("b", "always");
  EXPECT_EQ("a\na\nb\n", Recorded());
  EXPECT_EQ("COMMENT-b", Read("b.wav"));
  std::set<std::string> names;  // nothing left beside the files
  for (const auto& entry : fs::directory_iterator(album_)) {
    names.insert(entry.path().filename().string());
  }
  EXPECT_EQ((std::set<std::string>{"__goback.gif", "a.gif", "a.html", "a.wav", "b.gif", "b.html",
                                   "b.wav", "index.html", "index.jpg"}),
            names);
}

// A re-run killed at any moment leaves every page as the earlier run or the
// new one made it. A page being written when the kill came may leave the file
// it was written to beside it, hidden; the next run removes it.
TEST_F(AlbumSafetyTest, AKilledReRunLeavesEveryPageWhole) {
  WriteTemplate("new", kIndexHead + "<td>new __picture.jpg</td>\r\n" + kIndexTail);
  dir_.Write("mallar/new_picture.html", "<p>new __picture.jpg</p>");
  for (const std::string folder : {"", "Sub/", "Sub/Deeper/"}) {
    for (int i = 0; i < 300; ++i) {
      Picture(folder + "p" + std::to_string(i) + ".gif", GifBytes(10 + i % 7, 10));
    }
  }
  const std::string copy = dir_ / "Copy";
  fs::copy(album_, copy, fs::copy_options::recursive);
  ASSERT_EQ(0, Run({"--template", "new", "--record", "never", copy}).ExitCode);
  const auto made = Contents(copy);
  const auto besideLeft = [](auto& contents) {
    return std::erase_if(contents, [](const auto& file) {
      return IsNameBeside(fs::path(file.first).filename().string());
    });
  };
  for (const char* seconds : {"0.001", "0.004", "0.008", "0.015", "0.03"}) {
    ASSERT_EQ(0, Run({"--template", "example", "--record", "never", album_}).ExitCode);
    auto earlier = Contents(album_);
    EXPECT_EQ(0u, besideLeft(earlier));
    // The program itself is killed, in place of the fixture's time limit.
    std::string command = Command({"--template", "new", "--record", "never", "--quiet", album_});
    command.replace(command.find("timeout 60"), 10, "timeout -s KILL " + std::string(seconds));
    std::system(("{ " + command + "; } 2>/dev/null").c_str());
    auto after = Contents(album_);
    EXPECT_LE(besideLeft(after), 1u);
    EXPECT_EQ(earlier.size(), after.size()) << "killed after " << seconds << " s";
    for (const auto& [name, content] : after) {
      EXPECT_TRUE(content == earlier.at(name) || content == made.at(name))
          << name << " killed after " << seconds << " s";
    }
  }
}

TEST_F(AlbumSafetyTest, ASecondRunInAFolderInUseIsToldAndWritesNothing) {
  Picture("a.gif", GifBytes(10, 10));
  Picture("b.gif", GifBytes(10, 10));
  ScriptedRecorder();
  Act("a", "block");
  std::system(("(" + Command({"--record", "always", "--quiet", album_}) + "; echo $? > " +
               Quoted(dir_ / "first") + ") &")
                  .c_str());
  ASSERT_TRUE(Eventually([&] { return FileExists(dir_ / "started"); }));
  const auto during = Contents(album_);
  const BatchResult second = Run({"--record", "never", album_});
  EXPECT_EQ(1, second.ExitCode);
  EXPECT_EQ(
      "Fatal Error: Mappen används redan av en annan körning av Korvalo: \"" + album_ + "\"\n",
      second.Err);
  EXPECT_EQ(during, Contents(album_));
  dir_.Write("go", "");
  ASSERT_TRUE(Eventually([&] { return ReadFileBytes(dir_ / "first") == "0\n"; }));
  EXPECT_EQ(kIndexHead + Cell("a", "a.gif", "A") + Cell("b", "b.gif", "B") + kNextRow + kIndexTail,
            Read("index.html"));
}

// Each real folder becomes one album however many links inside the chosen
// folder lead to it; a link out of it, and what cannot be read, are left out
// with the reason, nothing is written through them, and the rest is made.
TEST_F(AlbumSafetyTest, EachFolderOnceAndWhatCannotBeReadLeftOut) {
  const int levels = 20;  // each level links twice to the next: 2^20 ways down
  for (int i = 0; i < levels; ++i) {
    const std::string level = "Album/.fan/n" + std::to_string(i);
    dir_.Write(level + "/p.gif", GifBytes(10, 10));
    if (i + 1 < levels) {
      for (const char* link : {"/a", "/b"}) {
        ASSERT_EQ(0,
                  symlink(("../n" + std::to_string(i + 1)).c_str(), (dir_ / level + link).c_str()));
      }
    }
  }
  ASSERT_EQ(0, symlink(".fan/n0", Album("fan").c_str()));
  dir_.Write("public_html/index.html", "the site's own page");
  dir_.Write("public_html/p.gif", GifBytes(10, 10));
  ASSERT_EQ(0, symlink("../public_html", Album("Semester").c_str()));
  // A folder deeper than the system's path limit, made step by step.
  int folder = open(album_.c_str(), O_RDONLY | O_DIRECTORY);
  for (int i = 0; i < 17 && folder >= 0; ++i) {
    const std::string name = "deep" + std::string(250, '0');
    mkdirat(folder, name.c_str(), 0755);
    const int inner = openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY);
    close(folder);
    folder = inner;
  }
  ASSERT_GE(folder, 0);
  close(folder);
  Picture("z.gif", GifBytes(10, 10));
  Picture("__goback.gif", "");  // left empty by a full disk
  Picture("index.jpg", "my own cover");
  const BatchResult result = Run({"--record", "never", album_});
  EXPECT_EQ(0, result.ExitCode) << result.Err;
  int skipped = 0;
  for (std::size_t at = 0;
       (at = result.Out.find("/b\": mappen ingår redan i albumet\n", at)) != std::string::npos;
       ++at) {
    ++skipped;
  }
  EXPECT_EQ(levels - 1, skipped);
  EXPECT_NE(std::string::npos, result.Out.find("\": sökvägen är för lång\n")) << result.Out;
  EXPECT_NE(std::string::npos, result.Out.find("Hoppar över \"" + Album("Semester") +
                                               "\": länken pekar utanför albummappen\n"));
  EXPECT_EQ("the site's own page", ReadFileBytes(dir_ / "public_html/index.html"));
  EXPECT_FALSE(FileExists(dir_ / "public_html/p.html"));
  EXPECT_NE(std::string::npos, Read("index.html").find(Cell("z", "z.gif", "Z")));
  EXPECT_EQ(GifBytes(40, 40), Read("__goback.gif"));
  EXPECT_EQ("my own cover", Read("index.jpg"));
  std::system(("rm -rf " + Quoted(album_)).c_str());  // deeper than remove_all goes
}

// A subfolder that can be listed but not entered, or entered but not
// written, is left out with the reason before anything inside it is logged;
// the rest of the album is made. As root every folder can be written, so the run
// is then made as nobody.
TEST_F(AlbumSafetyTest, ASubfolderThatCannotTakeItsAlbumIsLeftOut) {
  for (const char* name : {"a.gif", "Listed/b.gif", "ReadOnly/c.gif", "Open/d.gif"}) {
    Picture(name, GifBytes(10, 10));
  }
  if (geteuid() == 0) {
    shell_ = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    chmod(dir_.path().c_str(), 0755);
    if (std::system(("chown -R 65534:65534 " + Quoted(album_) + " && " + shell_ + "test -w " +
                     Quoted(album_))
                        .c_str()) != 0) {
      GTEST_SKIP() << "nobody cannot reach " << album_;
    }
  }
  chmod(Album("Listed").c_str(), 0644);
  chmod(Album("ReadOnly").c_str(), 0555);
  const BatchResult result = Run({"--record", "never", album_});
  chmod(Album("Listed").c_str(), 0755);
  EXPECT_EQ(0, result.ExitCode) << result.Err;
  EXPECT_EQ(album_ + "/a.gif\n" + album_ + "/Listed\nHoppar över \"" + album_ +
                "/Listed\": åtkomst nekad\n" + album_ + "/Open\n" + album_ + "/Open/d.gif\n" +
                album_ + "/ReadOnly\nHoppar över \"" + album_ + "/ReadOnly\": åtkomst nekad\n",
            result.Out);
  EXPECT_EQ(kIndexHead + Cell("a", "a.gif", "A") + Cell("Open/index", "Open/index.jpg", "Open") +
                kNextRow + kIndexTail,
            Read("index.html"));
  EXPECT_FALSE(FileExists(Album("ReadOnly/index.jpg")));
}

}  // namespace

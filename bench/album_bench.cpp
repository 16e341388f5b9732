// Times korvalo-batch on trees of pictures in 100 folders against album_floor,
// which does only the same file work, and reports the peak memory of both.
// When desktop_robot is built beside it, the desktop program's whole run
// (offscreen, its windows answered by a robot) is timed on the same tree too.
//
// usage: album_bench [PICTURES ...]   (default: 1000 10000)

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/picture_files.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFolders = 100;
constexpr int kRounds = 3;

const char* const kIndexTemplate =
    "<html><head><title>Album</title></head><body><table>\r\n<tr>\r\n"
    "<td><a href=\"__picture.html\"><img src=\"__picture.jpg\" width=\"120\" "
    "height=\"120\"></a><br>Picture text</td>\r\n"
    "<td><a href=\"__picture.html\"><img src=\"__picture.jpg\" width=\"120\" "
    "height=\"120\"></a><br>Picture text</td>\r\n"
    "</tr>\r\n</table></body></html>\r\n";
const char* const kPictureTemplate =
    "<html><head><title>Picture text</title></head><body><img src=\"__picture.jpg\" "
    "width=\"640\" height=\"640\"><br>Picture text<br><a href=\"index.html\">index</a>"
    "</body></html>\r\n";
// The same pair changed, as a user who edits a template: every page differs.
const char* const kChangedPictureTemplate =
    "<html><head><title>Picture text</title></head><body><img src=\"__picture.jpg\" "
    "width=\"640\" height=\"640\"><p>Picture text</p><a href=\"index.html\">tillbaka</a>"
    "</body></html>\r\n";

struct Measure {
  double Seconds = 1e30;
  double CpuSeconds = 1e30;  ///< user and system time, which other load cannot inflate much
  long PeakKilobytes = 0;
  double Said = 1e30;  ///< the number the program printed, if any
};

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void MakeTemplates(const fs::path& folder) {
  fs::create_directories(folder);
  WriteFile(folder / "bench_index.html", kIndexTemplate);
  WriteFile(folder / "bench_picture.html", kPictureTemplate);
  WriteFile(folder / "changed_index.html", kIndexTemplate);
  WriteFile(folder / "changed_picture.html", kChangedPictureTemplate);
  WriteFile(folder / "__goback.gif", GifBytes(32, 32));
  WriteFile(folder / "index.jpg", JpegBytes(64, 64));
  WriteFile(folder / "emptysound.wav", "RIFF");
}

void MakeTree(const fs::path& album, int pictures) {
  for (int i = 0; i < pictures; ++i) {
    const fs::path folder = album / ("folder" + std::to_string(i % kFolders));
    fs::create_directories(folder);
    const std::string name = "picture" + std::to_string(i);
    if (i % 2 == 0) {
      WriteFile(folder / (name + ".jpg"), JpegBytes(800 + i % 7, 600));
    } else {
      WriteFile(folder / (name + ".gif"), GifBytes(300, 400 + i % 5));
    }
  }
}

// Removes what a run wrote and lets the disk settle, so that every timed run
// creates its files anew and no run pays for the writeback of the one before.
void ResetTree(const fs::path& album) {
  std::vector<fs::path> written;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(album)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() == ".html" || name == "__goback.gif" || name == "index.jpg") {
      written.push_back(entry.path());
    }
  }
  for (const fs::path& path : written) {
    fs::remove(path);
  }
  sync();
}

// Runs the program to its end; its time and peak resident memory. The peak
// comes from /usr/bin/time when it is there: a child forked from this bigger
// process would count this process's memory as its own.
Measure RunOnce(const fs::path& root, const std::vector<std::string>& program) {
  const std::string memoryFile = (root / "peak.txt").string();
  const std::string saidFile = (root / "said.txt").string();
  const bool useTime = access("/usr/bin/time", X_OK) == 0;
  std::vector<std::string> arguments;
  if (useTime) {
    arguments = {"/usr/bin/time", "-f", "%M", "-o", memoryFile};
  }
  arguments.insert(arguments.end(), program.begin(), program.end());
  std::vector<char*> argv;
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    if (std::freopen(saidFile.c_str(), "w", stdout) == nullptr) {
      _exit(127);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s failed with status %d\n", program[0].c_str(), status);
    std::exit(1);
  }
  long peak = usage.ru_maxrss;
  if (useTime) {
    std::ifstream(memoryFile) >> peak;
  }
  double said = 1e30;
  std::ifstream(saidFile) >> said;
  const auto cpu = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
  return Measure{took.count(), cpu(usage.ru_utime) + cpu(usage.ru_stime), peak, said};
}

void Keep(Measure& best, const Measure& run) {
  best.Seconds = std::min(best.Seconds, run.Seconds);
  best.CpuSeconds = std::min(best.CpuSeconds, run.CpuSeconds);
  best.PeakKilobytes = std::max(best.PeakKilobytes, run.PeakKilobytes);
  best.Said = std::min(best.Said, run.Said);
}

void Bench(const fs::path& bin, const fs::path& root, int pictures) {
  const fs::path templates = root / "mallar";
  const fs::path album = root / "album";
  MakeTemplates(templates);
  MakeTree(album, pictures);
  const std::vector<std::string> batch = {(bin / "korvalo-batch").string(),
                                          "--templates-folder",
                                          templates.string(),
                                          "--template",
                                          "bench",
                                          "--record",
                                          "never",
                                          "--quiet",
                                          album.string()};
  std::vector<std::string> changed = batch;
  changed[4] = "changed";
  const std::vector<std::string> floor = {(bin / "album_floor").string(), album.string()};
  const std::vector<std::string> renamingFloor = {(bin / "album_floor").string(), "--rename",
                                                  album.string()};
  const std::vector<std::string> desktop = {(bin / "desktop_robot").string(), templates.string(),
                                            album.string()};
  const bool withDesktop = fs::exists(desktop[0]);
  ResetTree(album);
  RunOnce(root, floor);  // warms the caches for both
  Measure batchBest;
  Measure floorBest;
  Measure batchRerunBest;
  Measure floorRerunBest;
  Measure batchChangedBest;
  Measure renamingFloorBest;
  Measure desktopBest;
  for (int round = 0; round < kRounds; ++round) {
    // A first run on a fresh tree, a re-run over the album it made, and one
    // after the template changed, which replaces every page whole.
    ResetTree(album);
    Keep(batchBest, RunOnce(root, batch));
    Keep(batchRerunBest, RunOnce(root, batch));
    Keep(batchChangedBest, RunOnce(root, changed));
    ResetTree(album);
    Keep(floorBest, RunOnce(root, floor));
    Keep(floorRerunBest, RunOnce(root, floor));
    Keep(renamingFloorBest, RunOnce(root, renamingFloor));
    if (withDesktop) {
      ResetTree(album);
      Keep(desktopBest, RunOnce(root, desktop));
    }
  }
  const auto line = [pictures](const char* what, const char* floorName, const Measure& program,
                               const Measure& floor) {
    std::printf(
        "%6d pictures  %-14s korvalo-batch %7.3f s (cpu %6.3f s) %7ld KiB | %-14s %7.3f s "
        "(cpu %6.3f s) | ratio %.2f, by cpu %.2f\n",
        pictures, what, program.Seconds, program.CpuSeconds, program.PeakKilobytes, floorName,
        floor.Seconds, floor.CpuSeconds, program.Seconds / floor.Seconds,
        program.CpuSeconds / floor.CpuSeconds);
  };
  line("first run", "floor", batchBest, floorBest);
  line("re-run", "floor", batchRerunBest, floorRerunBest);
  line("changed re-run", "renaming floor", batchChangedBest, renamingFloorBest);
  if (withDesktop) {
    std::printf(
        "%6d pictures  korvalo (desktop) %7.3f s whole run, %7.3f s from folder to album, "
        "%7ld KiB | against korvalo-batch %.2f\n",
        pictures, desktopBest.Seconds, desktopBest.Said, desktopBest.PeakKilobytes,
        desktopBest.Said / batchBest.Seconds);
  }
  std::fflush(stdout);
  fs::remove_all(album);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) {
    sizes.push_back(std::atoi(argv[i]));
  }
  if (sizes.empty()) {
    sizes = {1000, 10000};
  }
  const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/korvalo-bench-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const fs::path root = pattern;
  // The desktop run keeps its preferences and Qt its runtime files in here.
  setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  for (const int pictures : sizes) {
    Bench(bin, root, pictures);
  }
  fs::remove_all(root);
  return 0;
}

// Makes the copies an album asks of each picture (1600, 800 and 400 pixels
// on the long side) from the JPEG files given, with the copy engine, and
// prints the time per picture and per CPU second. bench/picture_copies.sh
// runs it against ImageMagick on the same pictures.
//
// usage: picture_copies OUT-FOLDER ROUNDS THREADS PICTURE...
//   THREADS 0: the calling thread alone (one core); else a pool of that many.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include "album/copy_pool.h"
#include "album/copy_size.h"
#include "album/picture_copies.h"
#include "album/picture_size.h"

namespace fs = std::filesystem;

namespace {

constexpr int kLongSides[] = {1600, 800, 400};

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

CopyJob JobFor(const std::string& picture, const fs::path& out, int number) {
  CopyJob job{picture, PictureKind::Jpeg, {}};
  PictureSize size;
  if (!ReadJpegSize(picture, size)) {
    std::fprintf(stderr, "picture_copies: no JPEG size in %s\n", picture.c_str());
    std::exit(1);
  }
  for (const int side : kLongSides) {
    if (const auto copy = CopySize(size, side)) {
      const fs::path path = out / (std::to_string(number) + "-" + std::to_string(side) + ".jpg");
      job.Copies.push_back({copy->Width, copy->Height, path.string()});
    }
  }
  return job;
}

void Check(const CopyJobResult& result, const CopyJob& job) {
  for (std::size_t i = 0; i < result.Copies.size(); ++i) {
    if (result.Copies[i] != CopyProblem::None) {
      std::fprintf(stderr, "picture_copies: %s: %s\n", job.Copies[i].Path.c_str(),
                   std::string(CopyProblemText(result.Copies[i])).c_str());
      std::exit(1);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: picture_copies OUT-FOLDER ROUNDS THREADS PICTURE...\n");
    return 2;
  }
  const fs::path out = argv[1];
  const int rounds = std::atoi(argv[2]);
  const int threads = std::atoi(argv[3]);
  fs::create_directories(out);
  std::vector<CopyJob> jobs;
  for (int i = 4; i < argc; ++i) {
    jobs.push_back(JobFor(argv[i], out, i - 4));
  }
  const double cpuBefore = CpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  if (threads == 0) {
    CopyWorker worker;
    for (int round = 0; round < rounds; ++round) {
      for (const CopyJob& job : jobs) {
        Check(MakeCopies(worker, job), job);
      }
    }
  } else {
    CopyPool pool(threads);
    std::vector<std::future<CopyJobResult>> results;
    for (int round = 0; round < rounds; ++round) {
      for (const CopyJob& job : jobs) {
        results.push_back(pool.Submit(job));
      }
    }
    for (std::size_t i = 0; i < results.size(); ++i) {
      Check(results[i].get(), jobs[i % jobs.size()]);
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double cpu = CpuSeconds() - cpuBefore;
  const double pictures = static_cast<double>(rounds) * static_cast<double>(jobs.size());
  std::printf("pictures %.0f wall_s %.3f cpu_s %.3f per_s %.2f per_cpu_s %.2f\n", pictures, seconds,
              cpu, pictures / seconds, pictures / cpu);
  return 0;
}

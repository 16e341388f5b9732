#include "album/copy_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "tests/test_support.h"

namespace {

// A job's result that names the job: as many copies as its number.
CopyJob Numbered(int number) {
  return {std::to_string(number), PictureKind::Jpeg, {}};
}

TEST(CopyPool, EachResultIsItsOwnJobsAndSubmitWaitsWhileTheBoundIsReached) {
  constexpr int kJobs = 12;
  constexpr int kBound = 3;
  std::atomic<int> finished{0};
  std::vector<std::future<CopyJobResult>> results;
  {
    CopyPool pool(2, kBound, [&](CopyWorker&, const CopyJob& job) {
      // The first jobs take longest, so later ones finish first.
      const int number = std::stoi(job.Source);
      std::this_thread::sleep_for(std::chrono::milliseconds(kJobs - number));
      CopyJobResult result;
      result.Copies.resize(static_cast<std::size_t>(number));
      ++finished;
      return result;
    });
    for (int i = 0; i < kJobs; ++i) {
      results.push_back(pool.Submit(Numbered(i)));
      EXPECT_LE(i + 1 - finished, kBound) << "submitted " << i + 1;
    }
    for (int i = 0; i < kJobs; ++i) {
      EXPECT_EQ(results[i].get().Copies.size(), static_cast<std::size_t>(i));
    }
  }
  // A pool that goes finishes the job running and drops those not started.
  std::promise<void> started;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::future<CopyJobResult> running, dropped;
  std::thread releaser;
  {
    CopyPool pool(1, 2, [&](CopyWorker&, const CopyJob&) {
      started.set_value();
      released.wait();
      return CopyJobResult{};
    });
    running = pool.Submit(Numbered(0));
    dropped = pool.Submit(Numbered(1));
    started.get_future().wait();
    releaser = std::thread([&release] {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      release.set_value();
    });
  }
  releaser.join();
  EXPECT_NO_THROW(running.get());
  EXPECT_THROW(dropped.get(), std::future_error);
}

// Each worker thread has a codec of its own (on Windows with COM set up for
// the thread, or nothing decodes there).
TEST(CopyPool, WorkersMakeCopiesWithCodecsOfTheirOwn) {
  PixelImage grey;
  grey.Resize(64, 48);
  std::fill(grey.Pixels.begin(), grey.Pixels.end(), 0x80);
  std::string jpeg;
  ASSERT_TRUE(PictureCodec().EncodeJpeg(grey.Pixels.data(), 64, 48, 90, jpeg));
  const TempDir dir;
  const std::string picture = dir.Write("picture.jpg", jpeg);
  CopyPool pool(2);
  std::vector<std::future<CopyJobResult>> results;
  for (int i = 0; i < 4; ++i) {
    const std::string copy = dir / ("copy" + std::to_string(i) + ".jpg");
    results.push_back(pool.Submit({picture, PictureKind::Jpeg, {{32, 24, copy}}}));
  }
  for (auto& result : results) {
    EXPECT_EQ(result.get().Copies, std::vector{CopyProblem::None});
  }
}

}  // namespace

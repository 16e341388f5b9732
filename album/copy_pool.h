#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "album/picture_copies.h"

/// Worker threads that make the copies of pictures while the caller goes on
/// with its walk. Jobs start in the order they were submitted; each result
/// comes back through the future Submit gives, so the caller takes them in
/// its own order (the walk's). At most `maxWaiting` jobs are queued or
/// running at once: Submit waits for room, which bounds the memory the
/// copies take however many pictures a folder holds.
class CopyPool {
 public:
  /// What a worker thread does with a job, given what the thread keeps.
  using Work = std::function<CopyJobResult(CopyWorker&, const CopyJob&)>;

  /// `threads` 0 means one per core; `maxWaiting` 0 means twice the threads.
  explicit CopyPool(int threads = 0, int maxWaiting = 0, Work work = MakeCopies);
  /// Jobs not yet started are dropped (their futures report a broken
  /// promise); the running ones are finished first.
  ~CopyPool();
  CopyPool(const CopyPool&) = delete;
  CopyPool& operator=(const CopyPool&) = delete;

  /// Queues `job`, first waiting while `maxWaiting` jobs are unfinished. The
  /// future holds the job's result once a worker has made its copies.
  std::future<CopyJobResult> Submit(CopyJob job);

 private:
  struct Queued {
    CopyJob Job;
    std::promise<CopyJobResult> Result;
  };

  void Serve();

  Work work_;
  int maxWaiting_;
  std::mutex mutex_;
  std::condition_variable jobReady_;  ///< a job was queued, or the pool stops
  std::condition_variable roomMade_;  ///< a job finished
  std::deque<Queued> queue_;
  int unfinished_ = 0;  ///< queued or running
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

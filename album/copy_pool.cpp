#include "album/copy_pool.h"

#include <algorithm>
#include <memory>
#include <utility>

CopyPool::CopyPool(int threads, int maxWaiting, Work work) : work_(std::move(work)) {
  if (threads <= 0) {
    threads = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  }
  maxWaiting_ = maxWaiting > 0 ? maxWaiting : 2 * threads;
  for (int i = 0; i < threads; ++i) {
    threads_.emplace_back([this] { Serve(); });
  }
}

CopyPool::~CopyPool() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    queue_.clear();
  }
  jobReady_.notify_all();
  for (std::thread& thread : threads_) {
    thread.join();
  }
}

std::future<CopyJobResult> CopyPool::Submit(CopyJob job) {
  std::unique_lock lock(mutex_);
  roomMade_.wait(lock, [this] { return unfinished_ < maxWaiting_; });
  ++unfinished_;
  queue_.push_back(Queued{std::move(job), {}});
  std::future<CopyJobResult> result = queue_.back().Result.get_future();
  lock.unlock();
  jobReady_.notify_one();
  return result;
}

void CopyPool::Serve() {
  // Made on this thread, which it belongs to (on Windows: COM is set up for it).
  const auto worker = std::make_unique<CopyWorker>();
  for (;;) {
    std::unique_lock lock(mutex_);
    jobReady_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) {
      return;
    }
    Queued queued = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    try {
      queued.Result.set_value(work_(*worker, queued.Job));
    } catch (...) {
      queued.Result.set_exception(std::current_exception());
    }
    lock.lock();
    --unfinished_;
    lock.unlock();
    roomMade_.notify_one();
  }
}

#include "core/page_pool.h"

#include <algorithm>
#include <chrono>

namespace pagefold {
namespace {

// How long the waiting thread waits between two calls of idle().
constexpr auto kIdleEvery = std::chrono::milliseconds(20);

struct PoolEnding {};

}  // namespace

PagePool::PagePool(size_t count, std::function<void(size_t, const Checkpoint&)> work)
    : count_(count), work_(std::move(work)), done_(count), errors_(count) {
  const size_t threads = std::min<size_t>(count, std::max(1u, std::thread::hardware_concurrency()));
  for (size_t t = 0; t < threads; ++t) threads_.emplace_back([this] { Work(); });
}

PagePool::~PagePool() {
  ending_ = true;
  for (std::thread& thread : threads_) thread.join();
}

void PagePool::Work() {
  const Checkpoint checkpoint = [this] {
    if (ending_) throw PoolEnding();
  };
  for (size_t i = next_++; i < count_ && !ending_; i = next_++) {
    std::exception_ptr error;
    try {
      work_(i, checkpoint);
    } catch (...) {
      error = std::current_exception();
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    errors_[i] = error;
    done_[i] = true;
    doneChanged_.notify_all();
  }
}

void PagePool::Wait(size_t i, const std::function<void()>& idle) {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!doneChanged_.wait_for(lock, kIdleEvery, [&] { return done_[i]; })) {
    lock.unlock();
    idle();
    lock.lock();
  }
  if (errors_[i]) std::rethrow_exception(errors_[i]);
}

}  // namespace pagefold

#include "core/page_pool.h"

#include <algorithm>
#include <chrono>

namespace pagefold {
namespace {

using Clock = std::chrono::steady_clock;

// How long the waiting thread goes at most between two calls of idle(),
// besides the light work it may be doing then.
constexpr auto kIdleEvery = std::chrono::milliseconds(20);

struct PoolEnding {};

}  // namespace

PagePool::PagePool(size_t count, std::function<void(size_t, const Checkpoint&)> work,
                   std::function<bool(size_t)> light)
    : count_(count),
      work_(std::move(work)),
      light_(std::move(light)),
      checkpoint_([this] {
        if (ending_) throw PoolEnding();
      }),
      done_(count),
      errors_(count) {
  const size_t threads = std::min<size_t>(count, std::max(1u, std::thread::hardware_concurrency()));
  for (size_t t = 0; t < threads; ++t) threads_.emplace_back([this] { Work(); });
}

PagePool::~PagePool() {
  ending_ = true;
  for (std::thread& thread : threads_) thread.join();
}

void PagePool::Work() {
  for (size_t i = next_++; i < count_ && !ending_; i = next_++) Run(i);
}

bool PagePool::TakeLight(size_t& i) {
  i = next_;
  while (i < count_ && light_(i))
    if (next_.compare_exchange_weak(i, i + 1)) return true;
  return false;
}

void PagePool::Run(size_t i) {
  std::exception_ptr error;
  try {
    work_(i, checkpoint_);
  } catch (...) {
    error = std::current_exception();
  }
  const std::lock_guard<std::mutex> lock(mutex_);
  errors_[i] = error;
  done_[i] = true;
  doneChanged_.notify_all();
}

void PagePool::Wait(size_t i, const std::function<void()>& idle) {
  auto idleAt = Clock::now() + kIdleEvery;
  std::unique_lock<std::mutex> lock(mutex_);
  while (!done_[i]) {
    lock.unlock();
    if (Clock::now() >= idleAt) {
      idle();
      idleAt = Clock::now() + kIdleEvery;
    }
    size_t light = 0;
    const bool taken = TakeLight(light);
    if (taken) Run(light);
    lock.lock();
    // Nothing light to do: sleep until a work ends or idle() is due.
    if (!taken && !done_[i]) doneChanged_.wait_until(lock, idleAt);
  }
  if (errors_[i]) std::rethrow_exception(errors_[i]);
}

}  // namespace pagefold

// Jobs run one after another on a thread of their own, their results taken
// in the same order by the thread that started them.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace pagefold {

template <typename Result>
class OrderedRun {
 public:
  // Starts job(0) .. job(count - 1), in that order, on a thread of its own.
  OrderedRun(size_t count, std::function<Result(size_t)> job)
      : job_(std::move(job)), results_(count), thread_([this] { Work(); }) {}
  // Lets the job under way end, starts no other and waits for the thread.
  ~OrderedRun() {
    stop_ = true;
    thread_.join();
  }
  OrderedRun(const OrderedRun&) = delete;
  OrderedRun& operator=(const OrderedRun&) = delete;

  // The result of job i once it has ended, waiting for it at most `wait`;
  // nothing when it has not ended by then. Raises what job i raised.
  std::optional<Result> Take(size_t i, std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    const auto ended = [&] { return done_ > i || (error_ && failedAt_ == i); };
    if (!ended() && !changed_.wait_for(lock, wait, ended)) return std::nullopt;
    if (done_ > i) return std::move(results_[i]);
    std::rethrow_exception(error_);
  }

 private:
  void Work() {
    for (size_t i = 0; i < results_.size() && !stop_; ++i) {
      try {
        results_[i] = job_(i);
      } catch (...) {
        const std::lock_guard lock(mutex_);
        error_ = std::current_exception();
        failedAt_ = i;
        changed_.notify_one();
        return;
      }
      const std::lock_guard lock(mutex_);
      done_ = i + 1;
      changed_.notify_one();
    }
  }

  const std::function<Result(size_t)> job_;
  std::vector<std::optional<Result>> results_;  // job i's is written before done_ passes i
  std::atomic<bool> stop_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
  size_t done_ = 0;  // jobs ended, guarded by mutex_
  std::exception_ptr error_;
  size_t failedAt_ = 0;
  std::thread thread_;  // last, so that it starts once the rest is made
};

}  // namespace pagefold

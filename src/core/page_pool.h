// Work on the pages of a build, spread over every core. Pages are
// independent: each reads the registry and writes its own file. The thread
// that waits takes the results in the order of the pages, so that marks,
// counters and errors come as if the pages were done one after the other.
// Rather than sleep until the page it waits for is done, it does the next
// pages itself as long as they are light ones, between its calls of idle().
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "links/link_replacement.h"

namespace pagefold {

class PagePool {
 public:
  // Runs work(i, checkpoint) for every i below count, on as many threads as
  // there are cores, and on the waiting thread for the works that light(i)
  // calls light: those that end well within the time between two idle()
  // calls. The checkpoint raises once the pool is being ended.
  PagePool(size_t count, std::function<void(size_t, const Checkpoint&)> work, std::function<bool(size_t)> light);
  // Ends the work not yet begun and waits for the rest.
  ~PagePool();
  PagePool(const PagePool&) = delete;
  PagePool& operator=(const PagePool&) = delete;

  // Waits until work i is done, doing light works meanwhile and calling
  // idle() every so often; raises what work i raised.
  void Wait(size_t i, const std::function<void()>& idle);

 private:
  void Work();
  // Takes the next work not begun when it is light; false when there is none.
  bool TakeLight(size_t& i);
  void Run(size_t i);

  const size_t count_;
  const std::function<void(size_t, const Checkpoint&)> work_;
  const std::function<bool(size_t)> light_;
  const Checkpoint checkpoint_;
  std::atomic<size_t> next_{0};
  std::atomic<bool> ending_{false};
  std::mutex mutex_;
  std::condition_variable doneChanged_;
  std::vector<bool> done_;
  std::vector<std::exception_ptr> errors_;
  std::vector<std::thread> threads_;
};

}  // namespace pagefold

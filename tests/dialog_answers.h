// The answers a test gives the dialogs a window opens, in the order they open.
#pragma once

#include <gtest/gtest.h>

#include <deque>

namespace testing_support {

// The next answer, taken from the queue; `cancelled`, and a failure of the
// test, when a dialog opens that the test did not answer.
template <typename T>
T NextAnswer(std::deque<T>& answers, T cancelled) {
  if (answers.empty()) {
    ADD_FAILURE() << "a dialog opened that the test did not answer";
    return cancelled;
  }
  T answer = answers.front();
  answers.pop_front();
  return answer;
}

}  // namespace testing_support

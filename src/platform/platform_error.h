// The error raised by platform operations. Its text is the one the user sees,
// in Windows-1251, such as "I/O error 183" or "Cannot create file "x". reason".
#pragma once

#include <stdexcept>
#include <string>

namespace pagefold::platform {

class PlatformError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The text of a failed folder operation for a Windows error code: "Invalid
// filename" for 3, "File access denied" for 5, "I/O error %d" otherwise.
std::string InOutErrorText(int code);

// The system's own text for an error code of the platform (errno on POSIX,
// GetLastError on Windows), in Windows-1251.
std::string SystemErrorText(int code);

// The error code of the last failed call on this thread.
int LastErrorCode();

}  // namespace pagefold::platform

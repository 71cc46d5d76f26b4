// What a started program prints, as Process keeps it: the first 1 MiB.
#pragma once

#include <cstddef>
#include <string>

namespace pagefold::platform {

class ProcessOutput {
 public:
  // Keeps the bytes while the limit allows; the rest is dropped.
  void Append(const char* data, std::size_t size);

  // In Windows-1251 when the bytes convert from UTF-8, else as printed.
  std::string Text() const;

 private:
  std::string bytes_;
};

}  // namespace pagefold::platform

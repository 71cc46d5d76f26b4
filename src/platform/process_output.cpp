#include "platform/process_output.h"

#include <algorithm>

#include "text/cp1251.h"

namespace pagefold::platform {
namespace {

constexpr std::size_t kMaxOutput = 1 << 20;

}  // namespace

void ProcessOutput::Append(const char* data, std::size_t size) {
  if (bytes_.size() < kMaxOutput) bytes_.append(data, std::min(size, kMaxOutput - bytes_.size()));
}

std::string ProcessOutput::Text() const {
  const auto cp1251 = text::Utf8ToCp1251(bytes_);
  return cp1251 ? *cp1251 : bytes_;
}

}  // namespace pagefold::platform

// The resources of a .res file found by type and name as the Windows res:
// protocol finds them: both compared without regard to ASCII case, an ordinal
// written as "#" and its number.
#pragma once

#include <string>
#include <unordered_map>

#include "resformat/res_reader.h"

namespace pagefold {

// A type or name as text: Windows-1251, "#N" for an ordinal, \uXXXX for a
// character that Windows-1251 lacks.
std::string ShownResId(const ResId& id);

class ResIndex {
 public:
  explicit ResIndex(const ResListing& listing);

  // The first resource of that type and name; nullptr when there is none.
  const ResEntry* Find(const std::string& type, const std::string& name) const;

 private:
  std::unordered_map<std::string, const ResEntry*> entries_;
};

}  // namespace pagefold

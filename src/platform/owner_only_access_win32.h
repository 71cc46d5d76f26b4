// Security attributes that give the current user alone full access, passed
// on to everything inside a folder made with them, nothing inherited from its
// parent.
#pragma once

#include <windows.h>

namespace pagefold::platform {

class OwnerOnlyAccess {
 public:
  OwnerOnlyAccess();
  ~OwnerOnlyAccess();
  OwnerOnlyAccess(const OwnerOnlyAccess&) = delete;
  OwnerOnlyAccess& operator=(const OwnerOnlyAccess&) = delete;

  // Nothing when the user's access list could not be made.
  SECURITY_ATTRIBUTES* Attributes() { return attributes_.lpSecurityDescriptor ? &attributes_ : nullptr; }

 private:
  SECURITY_ATTRIBUTES attributes_{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

}  // namespace pagefold::platform

// The answers of pagefold-cli --serve: the resources of a .res file as a web
// site, addressed /TYPE/NAME as the program that links the file in addresses
// them through the res: protocol. Only the resource file is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "inspect/res_index.h"
#include "resformat/res_reader.h"

namespace pagefold::cli {

struct SiteAnswer {
  int status = 404;
  std::string contentType;           // with status 200
  const ResEntry* entry = nullptr;   // with status 200: the resource, whose data ReadData gives
  std::string location;              // with status 302
};

class ResSite {
 public:
  // The source and listing must outlive the site. Answers may be asked for
  // from several threads at once.
  ResSite(ResSource& source, const ResListing& listing);

  // The answer to a request target as sent (not decoded): "/" redirects to
  // the start page; a path with "..", "\", a percent escape, a byte outside
  // printable ASCII, or over 1024 bytes gets 404; the query is not looked at.
  // "/NAME" names a resource of the ordinal type 23, as in res: addresses.
  // Only the resource's first bytes are read, for its content type.
  SiteAnswer Get(const std::string& target) const;

  // Up to `size` bytes of the resource's data from the offset into the
  // buffer: the count, 0 at its end or when the file cannot give them.
  std::size_t ReadData(const ResEntry& entry, std::uint64_t offset, char* buffer, std::size_t size) const;

  // "/TYPE/INDEX", else "/TYPE/FILELIST", where TYPE is the one type of the
  // file, or HTML when it has several; empty when neither is there.
  const std::string& StartPath() const { return startPath_; }

 private:
  std::string FindStartPath(const ResListing& listing) const;

  ResSource& source_;
  const ResIndex index_;
  const std::string startPath_;
};

}  // namespace pagefold::cli

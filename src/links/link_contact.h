// Where a link text can meet a resource link inserted into the page.
//
// A resource link is "../TYPE" (its stem) followed by "/SEARCH_FILE_NOMBER_"
// and a number. It begins and ends with a name byte, and no digit ever
// follows it: it replaces a text that stood alone, and whatever later takes
// the byte after it is again such a link. So a text can stand alone over
// bytes of an inserted link only where
//   - it holds the link's end: the mark and the number, lower-cased, followed
//     by the text's end or a byte that is not a digit; or
//   - it ends inside the stem before a byte that is not a name byte: the text
//     ends with the stem cut there, or is a stretch of it that begins after
//     such a byte.
// Every other text occurs only among the bytes that the page had at first,
// where an inserted link can only hide the places beside it. A link of
// another form (one with a zero byte, or one that begins with another byte)
// may meet any text.
#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "links/link_replacement.h"

namespace pagefold {

// The form of one resource link.
struct LinkForm {
  std::string_view number;  // its number, in the link; empty for a link of another form
  size_t markOffset = 0;    // where its mark begins
  int stem = -1;            // the number of its stem among those with other bytes than name bytes, or -1
};

// Where one text can meet links.
struct TextContact {
  std::vector<std::pair<std::string_view, size_t>> linkEnds;  // a number it holds (in the text), and where the mark before it begins
  std::vector<std::pair<int, size_t>> stemCuts;          // a stem, and where in it the text can end
};

class LinkContacts {
 public:
  // Knows the stems of the links given.
  explicit LinkContacts(std::span<const LinkReplacement> replacements);

  // The form of a link, which must outlive it; `lower` is room for the link
  // lower-cased, kept from one call to the next.
  LinkForm Form(std::string_view link, std::string& lower) const;

  // Where a lower-cased text can meet the links.
  TextContact Contact(std::string_view lower) const;

 private:
  std::map<std::string, int, std::less<>> stems_;  // those with other bytes, numbered
};

}  // namespace pagefold

// Where a page holds style sheet text: the contents of its <style> elements
// and the values of its style= attributes. Only there does a page's url(...)
// name a file; elsewhere it is prose or script.
#pragma once

#include <string_view>
#include <vector>

namespace pagefold {

// The style areas of a page in order of position, as views into it, found
// in one pass without regard to ASCII case:
// - a <style> element ("<style" followed by a blank, "/" or ">"): from the
//   end of its start tag to the next "</style", or to the end of the page;
// - a style= attribute ("style=" behind a blank, "/" or a quote): a quoted
//   value up to its closing quote, any other up to a blank or ">".
// The scan ends at the first zero byte; a start tag without its ">", or a
// quoted value without its closing quote, gives no area.
std::vector<std::string_view> PageStyleAreas(std::string_view page);

}  // namespace pagefold

// CheckResLinks on .res files put together in memory, with pages as builds
// have written them.
#include "inspect/res_links_check.h"

#include <gtest/gtest.h>

#include <ostream>

#include "rescomp/res_writer.h"

namespace pagefold {
void PrintTo(const UnlinkedLink& link, std::ostream* out) { *out << link.page << " -> " << link.link; }
}  // namespace pagefold

namespace {

using pagefold::UnlinkedLink;

struct Resource {
  std::u16string type, name;
  std::string data;
};

std::string ResBytes(const std::vector<Resource>& resources) {
  std::string bytes = pagefold::rescomp::EmptyEntry();
  for (const Resource& r : resources)
    bytes += pagefold::rescomp::ResourceHeader(r.type, r.name, 0x0419, static_cast<std::uint32_t>(r.data.size())) + r.data +
             pagefold::rescomp::PaddingAfter(r.data.size());
  return bytes;
}

std::vector<UnlinkedLink> Dangling(const std::vector<Resource>& resources) {
  const std::string bytes = ResBytes(resources);
  pagefold::MemoryResSource source(bytes);
  const pagefold::ResLinkCheck check = pagefold::CheckResLinks(source);
  EXPECT_EQ(check.error, "");
  return check.dangling;
}

// An extensionless file linked with an empty type, which no res: URL can
// name; the real picture of a tag behind its lowsrc left as written; and a
// link to a file that was not packed, left as written.
TEST(ResLinksCheck, FindsTheLinksThatEarlierBuildsLeftBroken) {
  const std::string page =
      "<a href=\"..//SEARCH_FILE_NOMBER_2\">readme</a>\n"
      "<img lowsrc=\"../JPG/SEARCH_FILE_NOMBER_3\" src=\"../img/11.jpg\">\n"
      "<a href=\"README\">readme</a> <a href=\"../HTM/SEARCH_FILE_NOMBER_1\">me</a>";
  EXPECT_EQ(Dangling({{u"HTM", u"SEARCH_FILE_NOMBER_1", page}, {u"JPG", u"SEARCH_FILE_NOMBER_3", "JFIF"}}),
            (std::vector<UnlinkedLink>{{"HTM/SEARCH_FILE_NOMBER_1", "..//SEARCH_FILE_NOMBER_2"},
                                       {"HTM/SEARCH_FILE_NOMBER_1", "../img/11.jpg"},
                                       {"HTM/SEARCH_FILE_NOMBER_1", "README"}}));
  // As Wine's res: handler resolves them: ".." above the type climbs into the
  // file's name; type and name in any case, query and fragment dropped,
  // backslashes and escapes read as in a URL.
  EXPECT_EQ(Dangling({{u"HTM", u"A",
                       "<a href=../../JPG/C><a href=../jpg/c?x=1#y><a href='..\\JPG\\C'><a href=../JPG/%43>"
                       "<a href=../../../JPG/C><a href=./../JPG/C>"},
                      {u"JPG", u"C", ""}}),
            (std::vector<UnlinkedLink>{{"HTM/A", "../../../JPG/C"}, {"HTM/A", "../../JPG/C"}}));
  // Every src of a tag is read, and each resolves on its own.
  EXPECT_EQ(Dangling({{u"HTM", u"A", "<img data-src=../JPG/B src='../JPG/C' src=../JPG/D>"}, {u"JPG", u"C", ""}}),
            (std::vector<UnlinkedLink>{{"HTM/A", "../JPG/B"}, {"HTM/A", "../JPG/D"}}));
}

}  // namespace

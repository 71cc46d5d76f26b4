#include <gtest/gtest.h>

#include "core/registry_index.h"
#include "platform/ini_file.h"
#include "test_support.h"

namespace {

using pagefold::RegistryIndex;
using testing_support::ScratchDir;
using testing_support::W;
using testing_support::WriteFile;
using Numbers = std::vector<int>;

Numbers Found(const pagefold::RegistryIndex& registry, std::string_view lowerName) {
  const std::span<const int> numbers = registry.Find(lowerName);
  return Numbers(numbers.begin(), numbers.end());
}

TEST(RegistryIndex, ReadsTheCountedEntriesOfTheRegistry) {
  ScratchDir dir;
  const auto path = dir.path() / "fillist.ini";
  WriteFile(path, W("[data]\r\nsearch_file_nomber_1=Img\\Фото.JPG\r\nsearch_file_nomber_3=a.htm\r\n"
                    "search_file_nomber_4=beyond.htm\r\nCOUNT=3\r\n"));
  const RegistryIndex registry{pagefold::platform::IniFile(path.string())};
  EXPECT_EQ(registry.Count(), 3);
  EXPECT_EQ(registry.Name(1), W("Img\\Фото.JPG"));
  EXPECT_EQ(registry.Name(2), "");  // missing key
  EXPECT_EQ(registry.Name(4), "");  // beyond the count
  EXPECT_EQ(registry.Name(0), "");
  EXPECT_EQ(Found(registry, W("img\\фото.jpg")), Numbers{1});
  EXPECT_EQ(Found(registry, W("Img\\Фото.JPG")), Numbers{});  // the caller lower-cases
  EXPECT_EQ(Found(registry, "beyond.htm"), Numbers{});
  EXPECT_EQ(Found(registry, ""), Numbers{});
}

TEST(RegistryIndex, MissingOrBadCountGivesNoEntries) {
  ScratchDir dir;
  const auto path = dir.path() / "fillist.ini";
  WriteFile(path, "[data]\r\nsearch_file_nomber_1=a.htm\r\n");
  EXPECT_EQ(RegistryIndex{pagefold::platform::IniFile(path.string())}.Count(), 0);
  WriteFile(path, "[data]\r\nsearch_file_nomber_1=a.htm\r\ncount=-4\r\n");
  const RegistryIndex negative{pagefold::platform::IniFile(path.string())};
  EXPECT_EQ(negative.Count(), 0);
  EXPECT_EQ(Found(negative, "a.htm"), Numbers{});
  EXPECT_EQ(RegistryIndex{pagefold::platform::IniFile((dir.path() / "none.ini").string())}.Count(), 0);
}

TEST(RegistryIndex, NamesEqualWhenLowerCasedShareOneLookup) {
  const RegistryIndex registry({"A.htm", "b.gif", W("ДОК.htm"), "a.HTM", W("док.htm")});
  EXPECT_EQ(registry.Count(), 5);
  EXPECT_EQ(Found(registry, "a.htm"), (Numbers{1, 4}));
  EXPECT_EQ(Found(registry, W("док.htm")), (Numbers{3, 5}));
  EXPECT_EQ(registry.Name(5), W("док.htm"));
}

TEST(RegistryIndex, EveryNameOfALargeRegistryFindsOnlyItsOwnNumbers) {
  std::vector<std::string> names;
  for (int i = 1; i <= 3000; ++i)
    names.push_back(i % 500 == 0 ? "" : "d" + std::to_string(i % 7) + "\\f" + std::to_string(i) + ".gif");
  names.push_back("D1\\F1.GIF");  // 3001, the same file as entry 1
  const RegistryIndex registry(names);
  EXPECT_EQ(registry.Count(), 3001);
  EXPECT_EQ(Found(registry, "d1\\f1.gif"), (Numbers{1, 3001}));
  for (int i = 2; i <= 3000; ++i) {
    if (i % 500 == 0) continue;
    const std::string name = "d" + std::to_string(i % 7) + "\\f" + std::to_string(i) + ".gif";
    ASSERT_EQ(Found(registry, name), Numbers{i}) << name;
    ASSERT_EQ(Found(registry, name + "x"), Numbers{}) << name;
    ASSERT_EQ(Found(registry, name.substr(0, name.size() - 1)), Numbers{}) << name;
  }
  EXPECT_EQ(registry.Name(500), "");
  EXPECT_EQ(Found(registry, ""), Numbers{});
}

// Names looked up together find what each finds alone, in their order,
// across more names than go in one run and with empty and unknown ones
// between them.
TEST(RegistryIndex, NamesLookedUpTogetherFindWhatEachFindsAlone) {
  std::vector<std::string> names;
  for (int i = 1; i <= 1000; ++i) names.push_back("p\\f" + std::to_string(i) + ".htm");
  names.push_back("P\\F7.HTM");  // 1001, the same file as entry 7
  const RegistryIndex registry(names);
  std::vector<std::string> lower;
  for (int i = 0; i < 40; ++i)
    lower.push_back(i % 9 == 4 ? "" : i % 5 == 3 ? "p\\none" + std::to_string(i) : "p\\f" + std::to_string(i * 25 + 7) + ".htm");
  const std::vector<std::string_view> views(lower.begin(), lower.end());
  std::vector<std::span<const int>> found(views.size());
  registry.FindEach(views, found);
  for (size_t k = 0; k < views.size(); ++k)
    EXPECT_EQ(Numbers(found[k].begin(), found[k].end()), Found(registry, views[k])) << views[k];
  EXPECT_EQ(Numbers(found[0].begin(), found[0].end()), (Numbers{7, 1001}));
  EXPECT_EQ(Numbers(found[1].begin(), found[1].end()), Numbers{32});
  EXPECT_TRUE(found[3].empty());   // p\none3
  EXPECT_TRUE(found[4].empty());   // empty
  EXPECT_EQ(Numbers(found[39].begin(), found[39].end()), Numbers{982});
}

}  // namespace

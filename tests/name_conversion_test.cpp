#include <gtest/gtest.h>

#include <iterator>
#include <utility>

#include "core/name_conversion.h"
#include "test_support.h"

namespace {

using pagefold::ExtNoDot;
using pagefold::NameNoExt;
using pagefold::Translit;
using testing_support::W;

TEST(NameConversion, ExtensionsComeOnlyFromTheFileName) {
  EXPECT_EQ(ExtNoDot("img\\photo.JPG"), "JPG");
  EXPECT_EQ(ExtNoDot("archive.tar.gz"), "gz");
  EXPECT_EQ(ExtNoDot("README"), "");
  EXPECT_EQ(ExtNoDot("dir.old\\readme"), "");
  EXPECT_EQ(ExtNoDot("C:readme"), "");
  EXPECT_EQ(ExtNoDot("file."), "");
  EXPECT_EQ(ExtNoDot(".htaccess"), "htaccess");
  EXPECT_EQ(ExtNoDot(""), "");
  EXPECT_EQ(pagefold::ExtWithDot("a\\b.Html"), ".Html");
  EXPECT_TRUE(pagefold::IsPageName("b.SHTML"));
  EXPECT_TRUE(pagefold::IsPageName("c.xhtml"));
  EXPECT_FALSE(pagefold::IsPageName("htm.txt"));
  EXPECT_FALSE(pagefold::IsPageName("htm\\page"));
  EXPECT_TRUE(pagefold::IsStyleSheetName("css\\Site.CSS"));
  EXPECT_FALSE(pagefold::IsStyleSheetName("site.css.bak"));
  EXPECT_FALSE(pagefold::IsStyleSheetName("site.scss"));
  EXPECT_FALSE(pagefold::IsStyleSheetName("a.css\\style"));
}

TEST(NameConversion, NameWithoutFoldersAndExtension) {
  EXPECT_EQ(NameNoExt("C:\\work\\search_file_nomber_12.jpg"), "search_file_nomber_12");
  EXPECT_EQ(NameNoExt("archive.tar.gz"), "archive.tar");
  EXPECT_EQ(NameNoExt("README"), "README");
  EXPECT_EQ(NameNoExt(".htaccess"), "");
  EXPECT_EQ(NameNoExt("file."), "file");
  EXPECT_EQ(NameNoExt("dir.old\\readme"), "readme");
  EXPECT_EQ(pagefold::FileNamePart(testing_support::OsPath("/tmp/my.site/ARH/search_file_nomber_3")),
            "search_file_nomber_3");
}

TEST(NameConversion, TranslitExamples) {
  EXPECT_EQ(Translit(W("Мои Фото (2)")), "moi_foto__2_");
  EXPECT_EQ(Translit("JPG"), "jpg");
  EXPECT_EQ(Translit(W("Картинки")), "kartinki");
  EXPECT_EQ(Translit(W("Объявление")), "ob'iavlenie");
  EXPECT_EQ(Translit(W("ЁЖИК")), "ezhik");
  EXPECT_EQ(Translit(W("щука")), "chuka");
  EXPECT_EQ(Translit(W("Україна")), W("ukraїna"));
  EXPECT_EQ(Translit("my-file.bak"), "my-file.bak");
  EXPECT_EQ(Translit(""), "");
}

TEST(NameConversion, TranslitTableRowByRow) {
  // Each letter of the Russian alphabet with its Latin text, written as pairs.
  const std::pair<const char*, const char*> rows[] = {
      {"а", "a"},  {"б", "b"},  {"в", "v"},  {"г", "g"}, {"д", "d"},  {"е", "e"},  {"ё", "e"},
      {"ж", "zh"}, {"з", "z"},  {"и", "i"},  {"й", "i"}, {"к", "k"},  {"л", "l"},  {"м", "m"},
      {"н", "n"},  {"о", "o"},  {"п", "p"},  {"р", "r"}, {"с", "s"},  {"т", "t"},  {"у", "u"},
      {"ф", "f"},  {"х", "h"},  {"ц", "c"},  {"ч", "ch"}, {"ш", "sh"}, {"щ", "ch"}, {"ъ", "'"},
      {"ы", "i"},  {"ь", "'"},  {"э", "e"},  {"ю", "u"}, {"я", "ia"}};
  const std::string capitals = W("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
  ASSERT_EQ(capitals.size(), std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    EXPECT_EQ(Translit(W(rows[i].first)), rows[i].second) << rows[i].first;
    EXPECT_EQ(Translit(capitals.substr(i, 1)), rows[i].second) << rows[i].first;
  }
  // Small letters without a row, and all punctuation, stay as they are.
  const std::string kept = W("ђѓљњќћџўјґєїіѕ") + "0123456789_-.'!,;[]{}";
  EXPECT_EQ(Translit(kept), kept);
  EXPECT_EQ(Translit(W("ЂЃЉЊЌЋЏЎЈҐЄЇІЅ")), W("ђѓљњќћџўјґєїіѕ"));
  EXPECT_EQ(Translit(" ()"), "___");
}

}  // namespace

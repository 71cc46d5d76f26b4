#include <gtest/gtest.h>

#include "core/name_conversion.h"
#include "core/tmyfunction.h"
#include "test_support.h"

namespace {

using pagefold::TMyFunction;
using testing_support::W;

TEST(NameConversion, ExtensionsComeOnlyFromTheFileName) {
  EXPECT_EQ(TMyFunction::ExtNoDot("img\\photo.JPG"), "JPG");
  EXPECT_EQ(TMyFunction::ExtNoDot("archive.tar.gz"), "gz");
  EXPECT_EQ(TMyFunction::ExtNoDot("README"), "");
  EXPECT_EQ(TMyFunction::ExtNoDot("dir.old\\readme"), "");
  EXPECT_EQ(TMyFunction::ExtNoDot("C:readme"), "");
  EXPECT_EQ(TMyFunction::ExtNoDot("file."), "");
  EXPECT_EQ(TMyFunction::ExtNoDot(".htaccess"), "htaccess");
  EXPECT_EQ(TMyFunction::ExtNoDot(""), "");
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
  EXPECT_EQ(TMyFunction::NameNoExt("C:\\work\\search_file_nomber_12.jpg"), "search_file_nomber_12");
  EXPECT_EQ(TMyFunction::NameNoExt("archive.tar.gz"), "archive.tar");
  EXPECT_EQ(TMyFunction::NameNoExt("README"), "README");
  EXPECT_EQ(TMyFunction::NameNoExt(".htaccess"), "");
  EXPECT_EQ(TMyFunction::NameNoExt("file."), "file");
  EXPECT_EQ(TMyFunction::NameNoExt("dir.old\\readme"), "readme");
  EXPECT_EQ(pagefold::FileNamePart(testing_support::OsPath("/tmp/my.site/ARH/search_file_nomber_3")),
            "search_file_nomber_3");
}

TEST(NameConversion, TranslitExamples) {
  EXPECT_EQ(TMyFunction::Translit(W("Мои Фото (2)")), "moi_foto__2_");
  EXPECT_EQ(TMyFunction::Translit("JPG"), "jpg");
  EXPECT_EQ(TMyFunction::Translit(W("Картинки")), "kartinki");
  EXPECT_EQ(TMyFunction::Translit(W("Объявление")), "ob'iavlenie");
  EXPECT_EQ(TMyFunction::Translit(W("ЁЖИК")), "ezhik");
  EXPECT_EQ(TMyFunction::Translit(W("щука")), "chuka");
  EXPECT_EQ(TMyFunction::Translit(W("Україна")), W("ukraїna"));
  EXPECT_EQ(TMyFunction::Translit("my-file.bak"), "my-file.bak");
  EXPECT_EQ(TMyFunction::Translit(""), "");
}

TEST(NameConversion, TranslitTableRowByRow) {
  // Every small letter and its capital, in alphabet order, with the row's text.
  const char* const small = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя";
  const char* const capital = "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";
  const char* const rows[33] = {"a", "b", "v", "g",  "d",  "e",  "e",  "zh", "z", "i", "i",
                                "k", "l", "m", "n",  "o",  "p",  "r",  "s",  "t", "u", "f",
                                "h", "c", "ch", "sh", "ch", "'", "i", "'", "e", "u", "ia"};
  const std::string s = W(small), c = W(capital);
  ASSERT_EQ(s.size(), 33u);
  for (size_t i = 0; i < 33; ++i) {
    EXPECT_EQ(TMyFunction::Translit(s.substr(i, 1)), rows[i]) << i;
    EXPECT_EQ(TMyFunction::Translit(c.substr(i, 1)), rows[i]) << i;
  }
  // Small letters without a row, and all punctuation, stay as they are.
  const std::string kept = W("ђѓљњќћџўјґєїіѕ") + "0123456789_-.'!,;[]{}";
  EXPECT_EQ(TMyFunction::Translit(kept), kept);
  EXPECT_EQ(TMyFunction::Translit(W("ЂЃЉЊЌЋЏЎЈҐЄЇІЅ")), W("ђѓљњќћџўјґєїіѕ"));
}

}  // namespace

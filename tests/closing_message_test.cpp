// The closing message of a finished build: what it says about the start page,
// the files not packed and the links that name no packed file, in that order.
#include "core/closing_message.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

using pagefold::ClosingMessage;
using pagefold::MissingReason;
using pagefold::StartPage;
using pagefold::UnlinkedLink;
using testing_support::W;

TEST(ClosingMessage, IsTheFinishedTextAloneWhenTheStartPageIsPackedAndNothingIsMissing) {
  EXPECT_EQ(ClosingMessage({"index.htm", true, true}, {}, {}), W("Сбор закончен !!!"));
  // The generated file list as the start page has no copy and needs none.
  EXPECT_EQ(ClosingMessage({"filelist.html", false, false}, {}, {}), W("Сбор закончен !!!"));
}

TEST(ClosingMessage, SaysWhyTheStartPageIsNotPacked) {
  EXPECT_EQ(ClosingMessage({W("стр\\главная.htm"), false, false}, {}, {}),
            W("Сбор закончен !!!\nСтартовый файл \"стр\\главная.htm\" не упакован: он не отмечен в списке файлов."));
  EXPECT_EQ(ClosingMessage({"index.htm", true, false}, {}, {}),
            W("Сбор закончен !!!\nСтартовый файл \"index.htm\" упакован, но не скопирован в index.html."));
  // A start page that the build could not pack is named with the reason, and
  // again among the files not packed.
  EXPECT_EQ(ClosingMessage({"index", true, false}, {{"index", MissingReason::NoExtension, ""}}, {}),
            W("Сбор закончен !!!\nСтартовый файл \"index\" не упакован: нет расширения, а значит и типа ресурса.\n"
              "Не упакованы файлы: 1\nindex: нет расширения, а значит и типа ресурса"));
  EXPECT_EQ(ClosingMessage({"a.htm", false, false}, {{"a.htm", MissingReason::OutsideLink, "/etc/a.htm"}}, {}),
            W("Сбор закончен !!!\nСтартовый файл \"a.htm\" не упакован: ссылка за пределы папки -> /etc/a.htm.\n"
              "Не упакованы ссылки за пределы папки: 1\na.htm -> /etc/a.htm"));
  // Another file's loss says nothing about the start page; a name with a
  // line break keeps to its line.
  EXPECT_EQ(ClosingMessage({"a\nb.htm", false, false}, {{"b.htm", MissingReason::Gone, ""}}, {}),
            W("Сбор закончен !!!\nСтартовый файл \"a\\nb.htm\" не упакован: он не отмечен в списке файлов.\n"
              "Не упакованы файлы: 1\nb.htm: файл исчез"));
}

TEST(ClosingMessage, ListsTheFirstTenLinksWithoutAResourceAfterTheMissingFiles) {
  std::vector<UnlinkedLink> links;
  for (int i = 1; i <= 11; ++i) links.push_back({"p\\index.htm", "img" + std::to_string(i) + ".gif"});
  links[0].link = "a\tb\x01.gif";
  std::string expected = W("Сбор закончен !!!\nНе упакованы файлы: 1\nREADME: нет расширения, а значит и типа ресурса\n"
                           "Ссылок без ресурса: 11\np\\index.htm -> a\\tb\\x01.gif");
  for (int i = 2; i <= 10; ++i) expected += "\np\\index.htm -> img" + std::to_string(i) + ".gif";
  EXPECT_EQ(ClosingMessage({"p\\index.htm", true, true}, {{"README", MissingReason::NoExtension, ""}}, links),
            expected);
  EXPECT_EQ(ClosingMessage({"filelist.html", false, false}, {}, {{"a.htm", "b.htm"}}),
            W("Сбор закончен !!!\nСсылок без ресурса: 1\na.htm -> b.htm"));
}

}  // namespace

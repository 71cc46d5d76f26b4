// The handlers' decisions that both windows share: the chooser's
// items, the group-type rules, the creation step and refused names.
#include <gtest/gtest.h>

#include "core/build_command.h"
#include "core/compiler_runner.h"
#include "gui/common/accepted_name.h"
#include "gui/common/chooser_items.h"
#include "gui/common/form_create.h"
#include "gui/common/group_type_rule.h"
#include "gui/common/source_listing.h"
#include "recording_host.h"
#include "test_support.h"

namespace {

using namespace pagefold::gui;
using testing_support::RecordingHost;
using testing_support::W;
using Lines = std::vector<std::string>;

const std::string kRefusal =
    "message Внимание | Имя папки или файла содержит символы вне кодировки Windows-1251";

TEST(ChooserItems, OffersTheTickedPagesInListOrder) {
  const std::vector<CheckListEntry> list = {
      {"index.htm", true},       {"a.HTML", true},       {"b.shtml", true},   {"c.xhtml", true},
      {"htm.txt", true},         {"noextension", true},  {"off.htm", false},  {"pages.htm\\x.gif", true},
      {W("стр\\Главная.HTM"), true}, {"d.htm.bak", true}, {"e.phtm", true}};
  EXPECT_EQ(ChooserItems(list),
            (Lines{"index.htm", "a.HTML", "b.shtml", "c.xhtml", W("стр\\Главная.HTM"), "e.phtm"}));
  EXPECT_EQ(ChooserItems({}), Lines{});
}

TEST(GroupTypeRule, HidesEdit2AndEmptiesGroupTypeOnlyWhenUnticked) {
  std::string groupType;
  EXPECT_TRUE(ApplyGroupTypeRule(true, groupType));
  EXPECT_EQ(groupType, "");
  groupType = "IMG";  // typed into Edit2
  EXPECT_TRUE(ApplyGroupTypeRule(true, groupType));  // CheckBox2 clicked meanwhile
  EXPECT_EQ(groupType, "IMG");
  EXPECT_FALSE(ApplyGroupTypeRule(false, groupType));
  EXPECT_EQ(groupType, "");
  EXPECT_TRUE(ApplyGroupTypeRule(true, groupType));
  EXPECT_EQ(groupType, "") << "ticking again does not bring back Edit2's text";
}

TEST(FormCreate, SetsTheCompilerPathAndBothPanels) {
  pagefold::BuildCommand build;
  RecordingHost window;
  window.panel[1] = "stale";
  FormCreate(build, window);
  EXPECT_EQ(build.CompilerPath, pagefold::GetTempDir() + "brcc32.exe");
  EXPECT_EQ(window.log, (Lines{"panel0 0\\0", "panel1 "}));
}

TEST(AcceptName, GivesWindows1251BytesOrRefusesWithAMessage) {
  RecordingHost window;
  EXPECT_EQ(AcceptName(u"D:\\Сайт\\index.htm", window), W("D:\\Сайт\\index.htm"));
  EXPECT_EQ(window.log, Lines{});
  EXPECT_EQ(AcceptName(u"D:\\日本", window), std::nullopt);
  EXPECT_EQ(AcceptName(u"\xD800", window), std::nullopt) << "a lone surrogate";
  EXPECT_EQ(window.log, (Lines{kRefusal, kRefusal}));
}

TEST(Cp1251EditBox, UndoesAnEditThatBringsInAForeignCharacter) {
  RecordingHost window;
  Cp1251EditBox box;
  box.Set(u"/home/u/site");
  EXPECT_TRUE(box.Edited(u"/home/u/сайт", window));
  EXPECT_EQ(box.Kept(), u"/home/u/сайт");
  EXPECT_FALSE(box.Edited(u"/home/u/сайт€日", window));
  EXPECT_EQ(box.Kept(), u"/home/u/сайт");
  EXPECT_EQ(window.log, Lines{kRefusal});
}

TEST(Cp1251EditBox, Edit2RefusesATypeThatIsNoPlainResourceType) {
  RecordingHost window;
  Cp1251EditBox box{AcceptGroupType};
  for (const std::u16string typed : {u"I", u"IMG", u"IMG_2", u"Картинки", u"тип файла", u""}) {
    EXPECT_TRUE(box.Edited(typed, window));
    EXPECT_EQ(box.Kept(), typed);
  }
  box.Edited(u"IMG", window);
  for (const std::u16string typed : {u"X\"SECRET.TXT\"//", u"IMG\"", u"IMG/", u"IMG\t", u"IMG.", u"Объект"})
    EXPECT_FALSE(box.Edited(typed, window));
  EXPECT_EQ(box.Kept(), u"IMG");
  EXPECT_FALSE(box.Edited(u"IMG日", window));
  const std::string refused = "message Внимание | Тип для группировки может содержать только буквы, цифры и знак _";
  Lines expected(6, refused);
  expected.push_back(kRefusal);
  EXPECT_EQ(window.log, expected);
}

TEST(ListSource, ListsUntickedNamesTellsWhatWasLeftOutAndAsksOnceAboutLinksOut) {
  testing_support::ScratchDir dir;
  RecordingHost window;
  testing_support::WriteFile(dir.path() / "a.htm", "a");
  testing_support::WriteFile(dir.path() / "img" / "b.gif", "b");
  SourceListing listing = ListSource(dir.str(), window);
  EXPECT_EQ(listing.names, (Lines{"a.htm", "img\\b.gif"}));
  EXPECT_EQ(listing.skippedStatus, "");
  testing_support::WriteFile(dir.path() / testing_support::Utf8Path("日本.htm"), "d");
  listing = ListSource(dir.str(), window);
  EXPECT_EQ(listing.names, (Lines{"a.htm", "img\\b.gif"}));
  EXPECT_EQ(listing.skippedStatus, W("Пропущены файлы с недопустимыми именами: 1"));
  EXPECT_EQ(listing.leftOut, (std::vector<pagefold::MissingFile>{
                                 {"\\u65E5\\u672C.htm", pagefold::MissingReason::OutsideCodePage, ""}}));
  EXPECT_TRUE(window.log.empty());
#ifndef _WIN32
  testing_support::ScratchDir outside;
  testing_support::WriteFile(outside.path() / "jquery.js", "J");
  std::filesystem::create_directory(dir.path() / "_static");
  std::filesystem::create_symlink(outside.path() / "jquery.js", dir.path() / "_static" / "jquery.js");
  window.answerOk = false;
  listing = ListSource(dir.str(), window);
  const std::string question =
      "ask Внимание | В папке есть ссылки за её пределы: 1.\nПоказать в списке и файлы, к которым они ведут?";
  EXPECT_EQ(window.log, (Lines{question}));
  EXPECT_EQ(listing.names, (Lines{"a.htm", "img\\b.gif"}));
  EXPECT_EQ(listing.skippedStatus,
            W("Пропущены файлы с недопустимыми именами: 1; Пропущены ссылки за пределы папки: 1"));
  EXPECT_EQ(listing.leftOut.size(), 2u);
  EXPECT_FALSE(listing.followLinks);
  window.answerOk = true;
  listing = ListSource(dir.str(), window);
  EXPECT_EQ(window.log, (Lines{question, question}));
  EXPECT_EQ(listing.names, (Lines{"_static\\jquery.js", "a.htm", "img\\b.gif"}));
  EXPECT_EQ(listing.skippedStatus, W("Пропущены файлы с недопустимыми именами: 1"));
  EXPECT_TRUE(listing.followLinks);
  window.closing = true;  // the window was closed while it listed: nothing more is asked
  listing = ListSource(dir.str(), window);
  EXPECT_EQ(window.log, (Lines{question, question}));
  EXPECT_FALSE(listing.followLinks);
  EXPECT_EQ(listing.names, (Lines{"a.htm", "img\\b.gif"}));
#endif
}

}  // namespace

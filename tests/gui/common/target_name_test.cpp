#include "gui/common/target_name.h"

#include <gtest/gtest.h>

namespace {

using pagefold::gui::TargetName;

TEST(TargetName, AppendsResUnlessTheNameItselfEndsInIt) {
  EXPECT_EQ(TargetName("D:\\out\\site"), "D:\\out\\site.res");
  EXPECT_EQ(TargetName("D:\\out\\site.RES"), "D:\\out\\site.RES");
  EXPECT_EQ(TargetName("D:\\out\\site.Res"), "D:\\out\\site.Res");
  EXPECT_EQ(TargetName("D:\\presets\\site"), "D:\\presets\\site.res");
  EXPECT_EQ(TargetName("D:\\out\\address"), "D:\\out\\address.res");
  EXPECT_EQ(TargetName("D:\\out\\site.txt"), "D:\\out\\site.txt.res");
  EXPECT_EQ(TargetName("D:\\out.res\\site"), "D:\\out.res\\site.res");
  EXPECT_EQ(TargetName("/home/u/out.res/site"), "/home/u/out.res/site.res");
  EXPECT_EQ(TargetName("/home/u/site.res"), "/home/u/site.res");
  EXPECT_EQ(TargetName("/home/u/site.resx"), "/home/u/site.resx.res");
  EXPECT_EQ(TargetName("site"), "site.res");
}

}  // namespace

namespace {

TEST(ChooseTarget, TakesTheFolderWithItsSeparatorAndTheShownName) {
#ifdef _WIN32
  const auto choice = pagefold::gui::ChooseTarget("D:\\out\\site");
  EXPECT_EQ(choice.resourceFolder, "D:\\out\\");
  EXPECT_EQ(choice.shownName, "D:\\out\\site.res");
  EXPECT_EQ(pagefold::gui::ChooseTarget("D:\\out\\site.RES").shownName, "D:\\out\\site.RES");
#else
  // Only "/" separates folders: "out\new" is one folder's name.
  const auto choice = pagefold::gui::ChooseTarget("/home/u/out\\new/site");
  EXPECT_EQ(choice.resourceFolder, "/home/u/out\\new/");
  EXPECT_EQ(choice.shownName, "/home/u/out\\new/site.res");
  EXPECT_EQ(pagefold::gui::ChooseTarget("/home/u/out\\site.RES").resourceFolder, "/home/u/");
#endif
  EXPECT_EQ(pagefold::gui::ChooseTarget("site").resourceFolder, "");
}

}  // namespace

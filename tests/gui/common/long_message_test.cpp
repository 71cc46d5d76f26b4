// Which messages a window shows in its box with a scrolling text.
#include "gui/common/long_message.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using pagefold::gui::IsLongMessage;

std::string Lines(int count, const std::string& lineBreak) {
  std::string text = "line";
  for (int i = 1; i < count; ++i) text += lineBreak + "line";
  return text;
}

TEST(LongMessage, IsOneOfMoreThanTwelveLinesOrWithALineOfMoreThanAHundredCharacters) {
  EXPECT_FALSE(IsLongMessage(""));
  EXPECT_FALSE(IsLongMessage(Lines(12, "\n")));
  EXPECT_TRUE(IsLongMessage(Lines(13, "\n")));
  EXPECT_FALSE(IsLongMessage(Lines(12, "\n\r")));
  EXPECT_TRUE(IsLongMessage(Lines(13, "\n\r")));
  EXPECT_TRUE(IsLongMessage(Lines(12, "\n") + "\n"));
  // The "\r" of a Windows line break is no character of the next line.
  EXPECT_FALSE(IsLongMessage("a\n\r" + std::string(100, 'x') + "\n" + std::string(100, 'y')));
  EXPECT_TRUE(IsLongMessage("a\n" + std::string(101, 'x')));
  EXPECT_TRUE(IsLongMessage(std::string(50, 'x') + "\r" + std::string(50, 'x')));
}

}  // namespace

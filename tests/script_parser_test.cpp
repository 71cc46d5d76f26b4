#include "rescomp/script_parser.h"

#include <gtest/gtest.h>

#include "rescomp/script_error.h"

namespace {

using pagefold::rescomp::ParseScript;
using pagefold::rescomp::ResourceStatement;
using pagefold::rescomp::ScriptError;

// "line: message" of the error that parsing the script raises; empty when it parses.
std::string ErrorOf(std::string_view script) {
  try {
    ParseScript(script);
  } catch (const ScriptError& e) {
    return std::to_string(e.line()) + ": " + e.what();
  }
  return "";
}

TEST(ScriptParser, ReadsTheLinesTheScriptWriterWritesAndWhatAPersonWouldEdit) {
  const auto resources = ParseScript(
      "FILELIST HTML \"D:\\Site\\ARH\\filelist.html\"\r\n"
      "\r\n"
      "  // a comment line\n"
      "search_file_nomber_1\t \tHtm  \"/home/u/Мои сайты/ARH/a b.htm\"   // after the file\n"
      "/* a comment\r\n over two lines */ X /**/ jpeg /x/y.jpeg\n"
      "LANGUAGE 0x19, 1\n"
      "1 2 \"\\\\server\\share\\a\"\n"
      "language 9 , 0x3F\n"
      "RCDATA ICON a//b.txt // a comment starts only where a field could");
  ASSERT_EQ(resources.size(), 5u);
  EXPECT_EQ(resources[0].name, u"FILELIST");
  EXPECT_EQ(resources[0].type, u"HTML");
  EXPECT_EQ(resources[0].file, "D:\\Site\\ARH\\filelist.html");  // backslashes are literal
  EXPECT_EQ(resources[0].language, 0x0409);
  EXPECT_EQ(resources[0].line, 1);
  EXPECT_EQ(resources[1].name, u"SEARCH_FILE_NOMBER_1");
  EXPECT_EQ(resources[1].type, u"HTM");
  EXPECT_EQ(resources[1].file, "/home/u/Мои сайты/ARH/a b.htm");
  EXPECT_EQ(resources[1].line, 4);
  EXPECT_EQ(resources[2].name, u"X");
  EXPECT_EQ(resources[2].type, u"JPEG");
  EXPECT_EQ(resources[2].file, "/x/y.jpeg");
  EXPECT_EQ(resources[2].line, 6);  // the line of its name, after the two-line comment
  EXPECT_EQ(resources[3].name, u"1");  // digits stay a string
  EXPECT_EQ(resources[3].type, u"2");
  EXPECT_EQ(resources[3].file, "\\\\server\\share\\a");
  EXPECT_EQ(resources[3].language, (1 << 10) | 0x19);
  EXPECT_EQ(resources[4].name, u"RCDATA");  // keywords stay strings too
  EXPECT_EQ(resources[4].type, u"ICON");
  EXPECT_EQ(resources[4].file, "a//b.txt");
  EXPECT_EQ(resources[4].language, (0x3F << 10) | 9);
}

TEST(ScriptParser, NamesAreUpperCasedByTheAsciiRuleAndConvertedToUtf16) {
  // "Фото,_видео" in Windows-1251: Cyrillic letters keep their case, the comma belongs to the name.
  const std::string type = "\xD4\xEE\xF2\xEE,_\xE2\xE8\xE4\xE5\xEE";
  const auto resources = ParseScript("ob'iavlenie-1.x " + type + " f\n");
  ASSERT_EQ(resources.size(), 1u);
  EXPECT_EQ(resources[0].name, u"OB'IAVLENIE-1.X");
  EXPECT_EQ(resources[0].type, u"Фото,_видео");
  EXPECT_TRUE(ParseScript("").empty());
  EXPECT_TRUE(ParseScript("\r\n\n// nothing\n/* */").empty());
}

TEST(ScriptParser, ErrorsNameTheLineAndWhatWasExpected) {
  EXPECT_EQ(ErrorOf("A B \"x.htm\"\nA B \"/x/ARH/a.htm\r\n"), "2: expected a closing quote, got end of line");
  EXPECT_EQ(ErrorOf("A B \"x.htm"), "1: expected a closing quote, got end of file");
  EXPECT_EQ(ErrorOf("\n\nA B\r\n"), "3: expected a file name, got end of line");
  EXPECT_EQ(ErrorOf("A B"), "1: expected a file name, got end of file");
  EXPECT_EQ(ErrorOf("A\n"), "1: expected a resource type, got end of line");
  EXPECT_EQ(ErrorOf("A B c.htm extra\n"), "1: expected end of line, got \"extra\"");
  EXPECT_EQ(ErrorOf("A B \"c.htm\"\"d\"\n"), "1: expected end of line, got \"d\"");
  EXPECT_EQ(ErrorOf("\"A\" B c\n"), "1: expected a resource name, got \"A\"");
  EXPECT_EQ(ErrorOf("A \"B\" c\n"), "1: expected a resource type, got \"B\"");
  EXPECT_EQ(ErrorOf("A B c\rD E f\n"), "1: unexpected character 0x0D");
  EXPECT_EQ(ErrorOf("A B \"c\x01\"\n"), "1: unexpected character 0x01");
  EXPECT_EQ(ErrorOf("A B c\n/* not closed\nD E f\n"), "2: unterminated comment");
  EXPECT_EQ(ErrorOf("A\x98 B c\n"), "1: the resource name \"A\x98\" has a character without a Unicode form");
}

TEST(ScriptParser, LanguageStatementErrors) {
  EXPECT_EQ(ErrorOf("LANGUAGE\n"), "1: expected a number, got end of line");
  EXPECT_EQ(ErrorOf("LANGUAGE x, 1\n"), "1: expected a number, got \"x\"");
  EXPECT_EQ(ErrorOf("LANGUAGE 0x, 1\n"), "1: expected a number, got \"0x\"");
  EXPECT_EQ(ErrorOf("LANGUAGE 25 1\n"), "1: expected a comma, got \"1\"");
  EXPECT_EQ(ErrorOf("LANGUAGE 25,\n"), "1: expected a number, got end of line");
  EXPECT_EQ(ErrorOf("LANGUAGE 25, 1 2\n"), "1: expected end of line, got \"2\"");
  EXPECT_EQ(ErrorOf("LANGUAGE 0x400, 0\n"), "1: primary language 0x400 does not fit in 10 bits");
  EXPECT_EQ(ErrorOf("LANGUAGE 1023, 64\n"), "1: sublanguage 64 does not fit in 6 bits");
  EXPECT_EQ(ErrorOf("LANGUAGE 99999999999999999999, 0\n"),
            "1: primary language 99999999999999999999 does not fit in 10 bits");
}

}  // namespace

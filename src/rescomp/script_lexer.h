// Cuts a resource script into tokens. Fields are separated by blanks and
// tabs; "//" and "/* */" comments count as blanks where a field could start;
// a line ends with LF or CR LF.
#pragma once

#include <string>
#include <string_view>

namespace pagefold::rescomp {

struct Token {
  enum class Kind {
    Word,       // a run of bytes without blanks, quotes or control bytes
    Quoted,     // "..." on one line; text is what lies between the quotes
    Comma,      // only when commas are asked to separate
    EndOfLine,
    EndOfFile,
  };
  Kind kind = Kind::EndOfFile;
  std::string_view text;
  int line = 0;
};

class ScriptLexer {
 public:
  explicit ScriptLexer(std::string_view script) : script_(script) {}

  // The next token. With commasSeparate a comma is a token of its own and
  // ends a word; otherwise it is part of the word. Raises ScriptError on an
  // unterminated quote or comment and on a control byte.
  Token Next(bool commasSeparate = false);

 private:
  void SkipBlanksAndComments();
  Token Take(Token::Kind kind, std::size_t length);
  Token QuotedText();
  Token WordText(bool commasSeparate);

  std::string_view script_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

// What a token is called in "expected X, got Y" errors.
std::string Describe(const Token& token);

}  // namespace pagefold::rescomp

#include "rescomp/script_lexer.h"

#include <cstdio>

#include "rescomp/script_error.h"

namespace pagefold::rescomp {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; }

[[noreturn]] void RaiseControlByte(int line, char c) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(c));
  throw ScriptError(line, std::string("unexpected character ") + hex);
}

}  // namespace

Token ScriptLexer::Next(bool commasSeparate) {
  SkipBlanksAndComments();
  if (pos_ == script_.size()) return Take(Token::Kind::EndOfFile, 0);
  const char c = script_[pos_];
  if (c == '\n') return Take(Token::Kind::EndOfLine, 1);
  if (c == '\r' && pos_ + 1 < script_.size() && script_[pos_ + 1] == '\n')
    return Take(Token::Kind::EndOfLine, 2);
  if (IsControl(c)) RaiseControlByte(line_, c);
  if (c == '"') return QuotedText();
  if (c == ',' && commasSeparate) return Take(Token::Kind::Comma, 1);
  return WordText(commasSeparate);
}

void ScriptLexer::SkipBlanksAndComments() {
  for (;;) {
    while (pos_ < script_.size() && IsBlank(script_[pos_])) ++pos_;
    const std::string_view rest = script_.substr(pos_);
    if (rest.starts_with("//")) {
      while (pos_ < script_.size() && script_[pos_] != '\n' && script_[pos_] != '\r') ++pos_;
      return;
    }
    if (!rest.starts_with("/*")) return;
    const std::size_t end = script_.find("*/", pos_ + 2);
    if (end == std::string_view::npos) throw ScriptError(line_, "unterminated comment");
    for (std::size_t i = pos_; i < end; ++i)
      if (script_[i] == '\n') ++line_;
    pos_ = end + 2;
  }
}

Token ScriptLexer::Take(Token::Kind kind, std::size_t length) {
  Token token{kind, script_.substr(pos_, length), line_};
  pos_ += length;
  if (kind == Token::Kind::EndOfLine) ++line_;
  return token;
}

Token ScriptLexer::QuotedText() {
  std::size_t end = pos_ + 1;
  while (end < script_.size() && script_[end] != '"') {
    if (script_[end] == '\n' || script_[end] == '\r')
      throw ScriptError(line_, "expected a closing quote, got end of line");
    if (IsControl(script_[end])) RaiseControlByte(line_, script_[end]);
    ++end;
  }
  if (end == script_.size()) throw ScriptError(line_, "expected a closing quote, got end of file");
  Token token{Token::Kind::Quoted, script_.substr(pos_ + 1, end - pos_ - 1), line_};
  pos_ = end + 1;
  return token;
}

Token ScriptLexer::WordText(bool commasSeparate) {
  std::size_t end = pos_;
  while (end < script_.size()) {
    const char c = script_[end];
    if (IsBlank(c) || IsControl(c) || c == '"' || (c == ',' && commasSeparate)) break;
    ++end;
  }
  return Take(Token::Kind::Word, end - pos_);
}

std::string Describe(const Token& token) {
  switch (token.kind) {
    case Token::Kind::Word:
    case Token::Kind::Quoted:
      return "\"" + std::string(token.text) + "\"";
    case Token::Kind::Comma:
      return "\",\"";
    case Token::Kind::EndOfLine:
      return "end of line";
    case Token::Kind::EndOfFile:
      break;
  }
  return "end of file";
}

}  // namespace pagefold::rescomp

#include "rescomp/script_parser.h"

#include <optional>

#include "rescomp/script_error.h"
#include "rescomp/script_lexer.h"
#include "resformat/res_format.h"
#include "text/case_rules.h"
#include "text/cp1251.h"

namespace pagefold::rescomp {
namespace {

using Kind = Token::Kind;

bool EndsStatement(const Token& token) {
  return token.kind == Kind::EndOfLine || token.kind == Kind::EndOfFile;
}

[[noreturn]] void RaiseExpected(const std::string& what, const Token& got) {
  throw ScriptError(got.line, "expected " + what + ", got " + Describe(got));
}

void ExpectEndOfStatement(const Token& token) {
  if (!EndsStatement(token)) RaiseExpected("end of line", token);
}

// The digits of a decimal or 0x hexadecimal number; nothing when the word is not one.
std::optional<std::uint32_t> NumberValue(std::string_view word) {
  unsigned base = 10;
  if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
    base = 16;
    word.remove_prefix(2);
  }
  if (word.empty()) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : word) {
    unsigned digit;
    if (c >= '0' && c <= '9')
      digit = static_cast<unsigned>(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = static_cast<unsigned>(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = static_cast<unsigned>(c - 'A' + 10);
    else
      return std::nullopt;
    // Saturates: any value this large is out of range anyway.
    value = value > 0xFFFFFF ? 0xFFFFFFF : value * base + digit;
  }
  return value;
}

std::uint32_t LanguagePart(const Token& token, const char* what, int bits) {
  const auto value = token.kind == Kind::Word ? NumberValue(token.text) : std::nullopt;
  if (!value) RaiseExpected("a number", token);
  if (*value >= (1u << bits))
    throw ScriptError(token.line, std::string(what) + " " + std::string(token.text) +
                                      " does not fit in " + std::to_string(bits) + " bits");
  return *value;
}

// The rest of a LANGUAGE statement: "primary, sub" and the end of the line.
std::uint16_t ParseLanguage(ScriptLexer& lexer) {
  const std::uint32_t primary = LanguagePart(lexer.Next(true), "primary language", 10);
  const Token comma = lexer.Next(true);
  if (comma.kind != Kind::Comma) RaiseExpected("a comma", comma);
  const std::uint32_t sub = LanguagePart(lexer.Next(true), "sublanguage", 6);
  ExpectEndOfStatement(lexer.Next());
  return static_cast<std::uint16_t>(primary | (sub << 10));
}

bool IsLanguageKeyword(std::string_view word) {
  constexpr std::string_view kKeyword = "LANGUAGE";
  return word.size() == kKeyword.size() && text::UpperAscii(std::string(word)) == kKeyword;
}

// A name or a type: upper-cased, in UTF-16.
std::u16string Identifier(const Token& token, const char* what) {
  if (token.kind != Kind::Word) RaiseExpected(std::string("a ") + what, token);
  std::string upper(token.text);
  text::UpperAsciiInPlace(upper);
  const auto utf16 = text::Cp1251ToUtf16(upper);
  if (!utf16)
    throw ScriptError(token.line, std::string("the ") + what + " " + Describe(token) +
                                      " has a character without a Unicode form");
  return *utf16;
}

// A header longer than readers accept would make a .res that they refuse.
void CheckHeaderSize(const ResourceStatement& resource) {
  const std::uint64_t size = resformat::StringHeaderSize(resource.type.size(), resource.name.size());
  if (size > resformat::kMaxHeaderSize)
    throw ScriptError(resource.line, "the resource name and type are too long: their header takes " +
                                         std::to_string(size) + " bytes, at most " +
                                         std::to_string(resformat::kMaxHeaderSize));
}

}  // namespace

std::vector<ResourceStatement> ParseScript(std::string_view script) {
  std::vector<ResourceStatement> resources;
  std::uint16_t language = kDefaultLanguage;
  ScriptLexer lexer(script);
  for (;;) {
    const Token first = lexer.Next();
    if (first.kind == Kind::EndOfFile) return resources;
    if (first.kind == Kind::EndOfLine) continue;
    if (first.kind == Kind::Word && IsLanguageKeyword(first.text)) {
      language = ParseLanguage(lexer);
      continue;
    }
    ResourceStatement resource;
    resource.line = first.line;
    resource.language = language;
    resource.name = Identifier(first, "resource name");
    resource.type = Identifier(lexer.Next(), "resource type");
    CheckHeaderSize(resource);
    const Token file = lexer.Next();
    if (file.kind != Kind::Word && file.kind != Kind::Quoted) RaiseExpected("a file name", file);
    resource.file = std::string(file.text);
    ExpectEndOfStatement(lexer.Next());
    resources.push_back(std::move(resource));
  }
}

}  // namespace pagefold::rescomp

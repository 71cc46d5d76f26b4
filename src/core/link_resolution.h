// From a scanned attribute value to the registry-style name that its link
// names, and the resource link that replaces it in a page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pagefold {

// The link inside a scanned value: after an opening single or double quote up
// to the matching quote, otherwise up to the first blank; the whole rest when
// the stop character never comes.
std::string Cnv(std::string_view value);
// The same as a view into the value.
std::string_view LinkInValue(std::string_view value);

// Resolves a link against a base folder into a relative name with "\" between
// folders: "%20" becomes a blank, ".." climbs (never above the top), "." is
// dropped, one leading "\" is removed. A link that climbs out of everything
// gives the empty text, which names no file.
std::string DUrl(const std::string& base, std::string_view link);

// The path without its last "\"-separated component; empty when it has none.
std::string up(const std::string& path);

// "../TYPE/SEARCH_FILE_NOMBER_N": the type transliterated and upper-cased by
// the ASCII rule, as the resource script files it.
std::string ResourceLink(const std::string& type, int number);
// The same in two steps, for many links of one type: "../TYPE/SEARCH_FILE_NOMBER_",
// then that followed by N, appended to `links`.
std::string ResourceLinkPrefix(const std::string& type);
void AppendResourceLink(std::string& links, std::string_view prefix, int number);

// True for a link that by its form names no file of the site: one with a
// scheme before any "/" (http:, mailto:, javascript:, data:, also a drive
// letter), an absolute path (a leading slash or backslash), or a fragment alone ("#...").
bool IsOutsideLink(const std::string& link);

// A link written in UTF-8 (valid, with non-ASCII characters that all have a
// Windows-1251 form) in Windows-1251; nothing for any other link.
std::optional<std::string> Utf8LinkToCp1251(std::string_view link);

// A link holding percent escapes other than "%20" with every escape decoded,
// read as UTF-8 when the decoded bytes are UTF-8 with a Windows-1251 form,
// else taken as raw bytes; nothing for any other link.
std::optional<std::string> PercentDecodedLink(std::string_view link);

// The link with its character references decoded: "&amp;", "&lt;", "&gt;",
// "&quot;", "&apos;", "&#NN;" and "&#xHH;" (the last ";" required). The link as
// written when it holds none, or when a numeric one names a character without
// a Windows-1251 form, which no listed file can hold.
std::string DecodedCharacterReferences(std::string_view link);

// Where the path of a link ends: at its first "?" or "#" that does not begin
// a numeric character reference ("&#"); npos when there is none.
size_t PathEnd(std::string_view link);

}  // namespace pagefold

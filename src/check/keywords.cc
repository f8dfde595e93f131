// Keywords the translator does not read as the writer meant.
#include <algorithm>

#include "check/rules.h"

namespace zemuc::check {
namespace {

// The keyword that `token` begins with, when more text follows it. Every
// keyword is two, three or four double-byte characters.
std::string_view keyword_at_start(std::string_view token) {
  for (std::size_t size : {4u, 6u, 8u}) {
    if (token.size() > size &&
        keyword_of(token.substr(0, size)) != Keyword::kNone) {
      return token.substr(0, size);
    }
  }
  return {};
}

// "else" with or without the space that squeezing keeps after it.
std::size_t else_prefix(std::string_view token) {
  if (token.starts_with("else ")) return 5;
  if (token.starts_with("else")) return 4;
  return 0;
}

// A keyword joined to what follows it, or to an "else" before it.
void check_joined(const CheckedLine& line, std::size_t k, LineFindings& out) {
  const std::string_view token = line.line().tokens[k];
  const std::size_t at = line.offset(k);
  if (const std::string_view keyword = keyword_at_start(token);
      !keyword.empty()) {
    // A blank between the keyword and the next byte was squeezed out when
    // the two are apart in the line as read.
    const std::size_t end = at + keyword.size();
    const bool blank_removed = line.raw_of[end] - line.raw_of[end - 1] > 1;
    out.add(
        line.raw_of[at],
        blank_removed ? Problem::kKeywordSpaceRemoved : Problem::kKeywordGlued,
        keyword);
    return;
  }
  const std::size_t skip = else_prefix(token);
  if (skip == 0) return;
  const std::string_view rest = token.substr(skip);
  if (keyword_of(rest) != Keyword::kNone) {
    out.add(line.raw_of[at + skip], Problem::kKeywordAfterElse, rest);
  } else if (const std::string_view keyword = keyword_at_start(rest);
             !keyword.empty()) {
    out.add(line.raw_of[at + skip], Problem::kKeywordAfterElse, keyword);
  }
}

std::size_t variables_after(const CheckedLine& line, std::size_t k) {
  std::size_t n = 0;
  for (std::size_t t = k + 1; t <= line.line().count; ++t) {
    if (line.is_variable(line.line().tokens[t])) ++n;
  }
  return n;
}

// A statement keyword in a comment is dispatched all the same. It matters
// when its C text gets out of the comment: a block comment whose end stood
// after the keyword loses that end (the generator drops the rest of the
// line), and a line comment covers only the first of several lines that a
// display or input statement writes.
void check_in_comment(const CheckedLine& line, LineFindings& out) {
  const std::size_t k = line.hit.position;
  const std::size_t at = line.offset(k);
  bool escapes = false;
  if (line.regions[at] == Region::kBlockComment) {
    escapes = std::any_of(line.regions.begin() + at, line.regions.end(),
                          [](Region r) { return r != Region::kBlockComment; });
  } else if (line.regions[at] == Region::kLineComment) {
    const bool many_lines = line.hit.keyword == Keyword::kDisplay ||
                            line.hit.keyword == Keyword::kInput;
    escapes = many_lines && variables_after(line, k) >= 2;
  }
  if (escapes) {
    out.add(line.raw_of[at], Problem::kKeywordInComment, line.line().tokens[k]);
  }
}

}  // namespace

void check_keyword_tokens(const CheckedLine& line, LineFindings& out) {
  const TokenLine& tokens = line.line();
  for (std::size_t k = 1; k <= tokens.count; ++k) {
    if (tokens.tokens[k].empty() || line.region(k) != Region::kCode) continue;
    if (keyword_of(tokens.tokens[k]) == Keyword::kNone) {
      check_joined(line, k, out);
    } else if (k > line.hit.position) {
      out.add(line.raw_offset(k), Problem::kSecondStatement, tokens.tokens[k]);
    }
  }
  if (line.has_statement() && line.in_comment(line.hit.position)) {
    check_in_comment(line, out);
  }
}

}  // namespace zemuc::check

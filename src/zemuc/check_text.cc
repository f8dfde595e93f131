// What squeezing and splitting do to the text of a line.
#include "symbols/declare.h"
#include "zemuc/check_rules.h"
#include "zemuc/columns.h"

namespace zemuc::check {
namespace {

constexpr std::string_view kWideSpace = "\x81\x40";  // the full-width space

// The offset in `rest` of the first text whose loss matters, or npos when
// it holds only blanks, semicolons and whole comments.
std::size_t first_lost_text(std::string_view rest) {
  std::size_t i = 0;
  while (i < rest.size()) {
    const std::string_view at = rest.substr(i);
    if (std::string_view(" \t\r\f\n;").find(at[0]) != std::string_view::npos) {
      ++i;
    } else if (at.starts_with(kWideSpace)) {
      i += 2;
    } else if (at.starts_with("//")) {
      return std::string_view::npos;
    } else if (at.starts_with("/*")) {
      // A comment that opens and is not closed here was meant to cover
      // the lines after it, which now stand as code.
      const std::size_t close = at.find("*/", 2);
      if (close == std::string_view::npos) return i;
      i += close + 2;
    } else {
      return i;
    }
  }
  return std::string_view::npos;
}

// The line ends at its first ';' outside quotes; what comes after it in
// the line as read is never seen.
void check_semicolon(const CheckedLine& line, LineFindings& out) {
  const TokenLine& tokens = line.line();
  if (tokens.delims[tokens.count] != ';') return;
  const std::size_t semicolon = tokens.text.size() - 1;
  const std::size_t raw_semicolon = line.raw_of[semicolon];
  const std::string_view rest = line.raw.substr(raw_semicolon + 1);
  switch (line.regions[semicolon]) {
    case Region::kLineComment:
      return;  // the rest was comment all the same
    case Region::kBlockComment:
      // The end of the comment is lost with the rest, and the comment goes
      // on into the next lines.
      if (rest.find("*/") != std::string_view::npos) {
        out.add(raw_semicolon, Problem::kCommentCutBySemicolon, "");
      }
      return;
    default:
      if (const std::size_t lost = first_lost_text(rest);
          lost != std::string_view::npos) {
        out.add(raw_semicolon + 1 + lost, Problem::kTextAfterSemicolon, "");
      }
  }
}

// Quoted sections as the tokenizer reads them: from a double quote to the
// next one, or to the end of the line. Spaces in them are squeezed out
// like any others.
void check_quotes(const CheckedLine& line, LineFindings& out) {
  const std::string_view text = line.line().text;
  for (std::size_t open = text.find('"'); open != std::string_view::npos;) {
    std::size_t close = text.find_first_of("\"\n", open + 1);
    if (close == std::string_view::npos) close = text.size() - 1;
    if (!is_comment(line.regions[open])) {
      for (std::size_t i = open + 1; i <= close; ++i) {
        if (line.raw_of[i] - line.raw_of[i - 1] > 1) {
          const std::size_t end = text[close] == '"' ? close + 1 : close;
          out.add(line.raw_of[i - 1] + 1, Problem::kSpacesInQuotes,
                  text.substr(open, end - open));
          break;
        }
      }
    }
    open = text[close] == '"' ? text.find('"', close + 1) : std::string_view::npos;
  }
}

// A double-byte character whose second byte is '{' or '}' is cut there by
// the tokenizer; where that byte ended a token, the name is in two.
void check_cut_names(const CheckedLine& line, LineFindings& out) {
  const TokenLine& tokens = line.line();
  const std::string_view text = tokens.text;
  std::vector<bool> ends_token(text.size(), false);
  for (std::size_t k = 1; k < tokens.count; ++k) {
    ends_token[line.offset(k) + tokens.tokens[k].size()] = true;
  }
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = character_at(text, i);
    if (n == 2 && ends_token[i + 1] && line.regions[i] == Region::kCode) {
      out.add(line.raw_of[i], Problem::kNameCut, text.substr(i, 2));
    }
    i += n;
  }
}

constexpr std::string_view kLooksLikeOperator = "!\"#$%&'.?@[\\]^`|~";

bool is_sign(std::string_view token, std::size_t i) {
  return character_at(token, i) == 1 &&
         kLooksLikeOperator.find(token[i]) != std::string_view::npos;
}

// The first sign in `token`, judged by whole characters, or npos.
std::size_t first_sign(std::string_view token) {
  for (std::size_t i = 0; i < token.size(); i += character_at(token, i)) {
    if (is_sign(token, i)) return i;
  }
  return std::string_view::npos;
}

// Where in `token` a sign is followed by a variable's mark, or npos.
std::size_t mark_after_sign(std::string_view token) {
  bool after_sign = false;
  for (std::size_t i = 0; i < token.size(); i += character_at(token, i)) {
    if (token[i] == '"') break;  // quoted text is no name
    if (after_sign && is_variable_name(token.substr(i))) return i;
    after_sign = is_sign(token, i);
  }
  return std::string_view::npos;
}

// ASCII punctuation that is no delimiter stays inside a token: 数a!=0
// names 数a!, and in !数a the name is never read as one, since a name is a
// token that begins with its mark. Characters are judged whole, so 点 or
// 表, whose second byte is punctuation, are ordinary; lead bytes are never
// ASCII. Each token is named once in a program.
void check_name_characters(const CheckedLine& line,
                           std::unordered_set<std::string>& reported,
                           LineFindings& out) {
  const TokenLine& tokens = line.line();
  for (std::size_t k = 1; k <= tokens.count; ++k) {
    const std::string_view token = tokens.tokens[k];
    if (token.empty() || line.region(k) != Region::kCode) continue;
    std::size_t at = std::string_view::npos;
    Problem problem = Problem::kOperatorInName;
    if (is_variable_name(token)) {
      at = first_sign(token);
    } else {
      at = mark_after_sign(token);
      problem = Problem::kNameAfterSign;
    }
    if (at != std::string_view::npos && reported.insert(std::string(token)).second) {
      out.add(line.raw_of[line.offset(k) + at], problem, token);
    }
  }
}

// After a string variable the pass-through copies only when '=' is the
// very next byte, and takes the token right after it as the source.
void check_string_variable(const CheckedLine& line, std::size_t i,
                           LineFindings& out) {
  const TokenLine& tokens = line.line();
  const std::string_view name = tokens.tokens[i];
  if (tokens.delims[i] == '=') {
    if (!tokens.token(i + 1).empty()) return;
    if (tokens.delim(i + 1) == '=') {
      out.add(line.raw_offset(i), Problem::kStringCompare, name);
    } else if (tokens.delim(i + 1) == '\t') {
      out.add(line.raw_offset(i), Problem::kStringCopyTab, name);
    }
  } else if (tokens.delims[i] == '\t') {
    std::size_t j = i + 1;
    while (j <= tokens.count && tokens.tokens[j].empty() && tokens.delims[j] == '\t') ++j;
    if (tokens.token(j).empty() && tokens.delim(j) == '=') {
      out.add(line.raw_offset(i), Problem::kStringCopyTab, name);
    }
  }
}

// Walks the tokens as the pass-through does, a copy's source skipped.
void check_string_variables(const CheckedLine& line, LineFindings& out) {
  if (line.has_statement()) return;
  const TokenLine& tokens = line.line();
  for (std::size_t i = 1; i <= tokens.count; ++i) {
    if (!is_variable_name(tokens.tokens[i])) continue;  // never in the table
    const std::size_t e = find_variable(*line.tables, tokens.tokens[i]);
    if (e == 0 || line.tables->variables[e].prop != kString) continue;
    if (line.region(i) == Region::kCode) check_string_variable(line, i, out);
    if (tokens.delims[i] == '=') ++i;
  }
}

void check_wide_space(const CheckedLine& line, LineFindings& out) {
  const std::string_view text = line.line().text;
  for (std::size_t i = 0; i < text.size(); i += character_at(text, i)) {
    if (text.substr(i).starts_with(kWideSpace) && line.regions[i] == Region::kCode) {
      out.add(line.raw_of[i], Problem::kWideSpace, kWideSpace);
      return;
    }
  }
}

}  // namespace

void check_line_text(const CheckedLine& line,
                     std::unordered_set<std::string>& reported_names,
                     LineFindings& out) {
  check_semicolon(line, out);
  check_quotes(line, out);
  check_cut_names(line, out);
  check_name_characters(line, reported_names, out);
  check_string_variables(line, out);
  check_wide_space(line, out);
}

}  // namespace zemuc::check

// Names as the tokenizer cuts them, and string variables that do not copy.
#include "check/rules.h"
#include "symbols/declare.h"
#include "text/columns.h"

namespace zemuc::check {
namespace {

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
    if (at != std::string_view::npos &&
        reported.insert(std::string(token)).second) {
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
    while (j <= tokens.count && tokens.tokens[j].empty() &&
           tokens.delims[j] == '\t')
      ++j;
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

}  // namespace

std::string names_in_parentheses(std::string_view token) {
  std::string out;
  bool after_sign = false;
  bool in_name = false;
  for (std::size_t i = 0; i < token.size();) {
    const std::size_t n = character_at(token, i);
    const bool sign = is_sign(token, i);
    if (in_name && sign) out += ')';
    in_name = in_name && !sign;
    if (token[i] == '"') return out.append(token.substr(i));  // a text
    if (after_sign && !sign && is_variable_name(token.substr(i))) {
      out += '(';
      in_name = true;
    }
    out.append(token.substr(i, n));
    after_sign = sign;
    i += n;
  }
  if (in_name) out += ')';
  return out;
}

void check_names(const CheckedLine& line,
                 std::unordered_set<std::string>& reported_names,
                 LineFindings& out) {
  check_cut_names(line, out);
  check_name_characters(line, reported_names, out);
  check_string_variables(line, out);
}

}  // namespace zemuc::check

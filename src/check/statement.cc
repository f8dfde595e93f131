// The operands of a statement, read the way its generator reads them.
#include "check/rules.h"
#include "lexer/sjis_texts.h"
#include "symbols/declare.h"

namespace zemuc::check {
namespace {

// Where a finding about operand k goes: the operand, or the keyword when
// the line stops before it.
std::size_t operand_place(const CheckedLine& line, std::size_t k) {
  const std::size_t at = k <= line.line().count ? k : line.hit.position;
  return line.raw_offset(at);
}

// The Leading echo: tokens before the keyword go into the C as they are,
// so a variable there keeps its source name.
void check_echo_variables(const CheckedLine& line, LineFindings& out) {
  for (std::size_t t = 1; t < line.hit.position; ++t) {
    const std::string_view token = line.line().tokens[t];
    if (line.region(t) == Region::kCode && line.is_variable(token)) {
      out.add(line.raw_offset(t), Problem::kVariableBeforeKeyword, token);
    }
  }
}

// The open-for-reading and read statements write the echo before each
// line of their block: anything but indentation then stands there four
// or five times.
void check_echo_repeated(const CheckedLine& line, LineFindings& out) {
  const std::size_t end = line.offset(line.hit.position);
  for (std::size_t i = 0; i < end; ++i) {
    const char c = line.line().text[i];
    if (c != '\t' && line.regions[i] == Region::kCode) {
      out.add(line.raw_of[i], Problem::kTextBeforeRepeated,
              line.line().tokens[line.hit.position]);
      return;
    }
  }
}

// Without a variable the display shows token k+1, and fails when that is
// empty or missing: the translation stops at the line.
void check_display_shows_something(const CheckedLine& line, LineFindings& out) {
  const TokenLine& tokens = line.line();
  const std::size_t k = line.hit.position;
  for (std::size_t t = k + 1; t <= tokens.count; ++t) {
    if (line.is_variable(tokens.tokens[t])) return;
  }
  if (tokens.length(k + 1) < 1) {
    out.add(operand_place(line, k + 1), Problem::kDisplayNothing,
            sjis::kDisplay);
  }
}

void check_display_labels(const CheckedLine& line, LineFindings& out) {
  const TokenLine& tokens = line.line();
  const std::size_t k = line.hit.position;
  for (std::size_t t = k + 1; t <= tokens.count; ++t) {
    if (!line.is_variable(tokens.tokens[t])) continue;
    // The label is the token before, written as it stands: the keyword,
    // a variable's source name or nothing make C that does not build.
    const std::string_view label = tokens.tokens[t - 1];
    if (t - 1 == k || label.empty() || line.is_variable(label)) {
      out.add(line.raw_offset(t), Problem::kDisplayNoLabel, tokens.tokens[t]);
    }
  }
}

// Every variable after 打つ is read and anything else skipped. Only the
// operands up to the closing parenthesis are named: what follows it was
// not meant for the statement.
void check_input(const CheckedLine& line, LineFindings& out) {
  const TokenLine& tokens = line.line();
  const std::size_t k = line.hit.position;
  bool named = false;
  for (std::size_t t = k + 1; t <= tokens.count; ++t) {
    const std::string_view token = tokens.tokens[t];
    if (line.is_variable(token)) {
      named = true;
    } else if (!token.empty() && !line.in_comment(t)) {
      out.add(line.raw_offset(t), Problem::kNotAVariable, token);
      named = true;
    }
    if (tokens.delims[t] == ')') break;
  }
  if (!named) out.add(line.raw_offset(k), Problem::kNoVariable, sjis::kInput);
}

void check_repeat(const CheckedLine& line, LineFindings& out) {
  const TokenLine& tokens = line.line();
  const std::size_t k = line.hit.position;
  if (tokens.token(k + 1).empty()) {
    out.add(operand_place(line, k + 1), Problem::kRepeatBoundMissing,
            sjis::kRepeat);
    return;
  }
  // The bound is token k+1 alone: what its delimiter starts is dropped.
  static constexpr std::string_view kContinues = "+-*/<>=,(:\f";
  if (kContinues.find(tokens.delim(k + 1)) != std::string_view::npos) {
    out.add(line.raw_offset(k + 1), Problem::kRepeatBoundExpression,
            tokens.token(k + 1));
  }
}

// The mode is 'r' only for the one-byte token r; whatever else a writer
// meant for writing does write, so only other modes are named.
void check_open_mode(const CheckedLine& line, LineFindings& out) {
  const std::string_view mode = line.line().token(line.hit.position + 3);
  if (mode == "r" || mode == "w" || mode == "W" || mode == "\"w\"" ||
      mode == "\"W\"") {
    return;
  }
  const std::size_t at = operand_place(line, line.hit.position + 3);
  if (mode.empty()) {
    out.add(at, Problem::kOpenModeMissing, sjis::kOpen);
  } else {
    out.add(at, Problem::kOpenModeOther, mode);
  }
}

void check_open(const CheckedLine& line, std::size_t entry, LineFindings& out) {
  const FileTable& files = line.tables->files;
  const std::size_t k = line.hit.position;
  check_open_mode(line, out);
  if (entry == 0 || entry > files.count()) return;
  const std::string_view name = line.line().token(k + 1);
  // Every statement that names the file, a second opening included, uses
  // the first entry of that name.
  const std::size_t first = find_file(*line.tables, name);
  if (first != entry && (files[first].fname != files[entry].fname ||
                         files[first].prop != files[entry].prop)) {
    out.add(operand_place(line, k + 1), Problem::kFileOpenedTwice, name);
  }
  if (first == entry && is_variable_name(files[entry].fname)) {
    out.add(operand_place(line, k + 2), Problem::kOpenPathNotYetSet,
            files[entry].fname);
  }
  if (files[first].prop == kReadMode) check_echo_repeated(line, out);
}

// The file operand of 閉じる, 書く, 読む and 読みきり.
bool check_file(const CheckedLine& line, Problem unknown, LineFindings& out) {
  const std::string_view name = line.line().token(line.hit.position + 1);
  if (find_file(*line.tables, name) != 0) return true;
  out.add(operand_place(line, line.hit.position + 1), unknown, name);
  return false;
}

// The variable operand of 書く, 読む and 読みきり.
void check_variable(const CheckedLine& line, LineFindings& out) {
  const std::size_t k = line.hit.position;
  const std::string_view name = line.line().token(k + 2);
  if (line.is_variable(name)) return;
  if (name.empty()) {
    out.add(operand_place(line, k + 2), Problem::kNoVariable,
            line.line().tokens[k]);
  } else {
    out.add(line.raw_offset(k + 2), Problem::kNotAVariable, name);
  }
}

}  // namespace

void check_statement(const CheckedLine& line, std::size_t open_entry,
                     LineFindings& out) {
  // A display with nothing to show stops the translation wherever it
  // stands, in a comment too.
  if (line.hit.keyword == Keyword::kDisplay)
    check_display_shows_something(line, out);
  if (!line.statement_in_code()) return;
  const Keyword keyword = line.hit.keyword;
  if (keyword == Keyword::kBegin || keyword == Keyword::kEnd) return;
  check_echo_variables(line, out);
  switch (keyword) {
    case Keyword::kDisplay:
      check_display_labels(line, out);
      break;
    case Keyword::kInput:
      check_input(line, out);
      break;
    case Keyword::kRepeat:
      check_repeat(line, out);
      break;
    case Keyword::kOpen:
      check_open(line, open_entry, out);
      break;
    case Keyword::kClose:
      check_file(line, Problem::kFileNotOpened, out);
      break;
    case Keyword::kWrite:
      check_file(line, Problem::kFileNotOpened, out);
      check_variable(line, out);
      break;
    case Keyword::kRead:
      if (check_file(line, Problem::kReadFileNotOpened, out)) {
        check_echo_repeated(line, out);
      }
      check_variable(line, out);
      break;
    case Keyword::kReadAll:
      check_file(line, Problem::kReadFileNotOpened, out);
      check_variable(line, out);
      break;
    default:
      break;
  }
}

}  // namespace zemuc::check

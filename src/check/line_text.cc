// What the end of a line and squeezing do to its text: the line ends at
// its first ';', spaces go inside quotes too, and a full-width space is no
// blank.
#include "check/rules.h"
#include "lexer/sjis_texts.h"
#include "text/columns.h"

namespace zemuc::check {
namespace {

using sjis::kWideSpace;

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
    open =
        text[close] == '"' ? text.find('"', close + 1) : std::string_view::npos;
  }
}

// A full-width space outside quotes and comments.
void check_wide_space(const CheckedLine& line, LineFindings& out) {
  const std::string_view text = line.line().text;
  for (std::size_t i = 0; i < text.size(); i += character_at(text, i)) {
    if (text.substr(i).starts_with(kWideSpace) &&
        line.regions[i] == Region::kCode) {
      out.add(line.raw_of[i], Problem::kWideSpace, kWideSpace);
      return;
    }
  }
}

}  // namespace

void check_line_text(const CheckedLine& line, LineFindings& out) {
  check_semicolon(line, out);
  check_quotes(line, out);
  check_wide_space(line, out);
}

}  // namespace zemuc::check

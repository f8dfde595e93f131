#include "lsp/source_form.h"

#include <optional>

#include "lexer/sjis_texts.h"
#include "text/encoding.h"

namespace zemuc::lsp {

SourceForm source_form(std::string_view utf8) {
  SourceForm form;
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (utf8.starts_with(kByteOrderMark)) form.skipped = kByteOrderMark.size();
  std::size_t at = form.skipped;
  while (at < utf8.size()) {
    const std::string_view rest = utf8.substr(at);
    std::size_t bad = 0;
    if (std::optional<std::string> whole =
            convert_all(rest, Encoding::kUtf8, Encoding::kShiftJis, &bad)) {
      form.sjis += *whole;
      break;
    }
    if (bad == std::string_view::npos) {
      form.sjis.clear();
      form.converted = false;
      return form;
    }
    // The part before the character converts, as the first try showed.
    if (bad > 0) {
      form.sjis +=
          convert_all(rest.substr(0, bad), Encoding::kUtf8, Encoding::kShiftJis)
              .value_or(std::string());
    }
    const std::size_t length =
        character_length(rest.substr(bad), Encoding::kUtf8);
    form.unconvertible.push_back(
        {at + bad, length, code_point(rest.substr(bad))});
    form.sjis += sjis::kStandIn;
    at += bad + length;
  }
  return form;
}

}  // namespace zemuc::lsp

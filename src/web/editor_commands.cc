// analyze, hover and complete: the language server's features for the
// page's editor, and where each source line's C text stands.
#include <utility>
#include <vector>

#include "driver/output_name.h"
#include "lsp/features.h"
#include "text/encoding.h"
#include "text/source_text.h"
#include "web/commands.h"
#include "web/editor_answers.h"

namespace zemuc::web {
namespace {

// The UTF-16 offset of each byte offset of a Shift-JIS text, as a page
// decodes it: every character, and every byte that starts none, one unit.
std::vector<std::size_t> utf16_offsets(std::string_view sjis) {
  std::vector<std::size_t> offsets(sjis.size() + 1);
  std::size_t units = 0;
  for (std::size_t i = 0; i < sjis.size();) {
    const std::size_t n = character_length(sjis.substr(i), Encoding::kShiftJis);
    for (std::size_t k = 0; k < n; ++k) offsets[i + k] = units;
    units += 1;
    i += n;
  }
  offsets[sjis.size()] = units;
  return offsets;
}

// cLines: for each line of the document, the span of its C text in the
// translation's C text, or null where it has none.
nlohmann::json c_lines(lsp::Document& document) {
  const lsp::Analysis& analysis = document.analysis();
  const Translation& translation = analysis.translation();
  const std::vector<std::size_t> offsets = utf16_offsets(translation.c_text);
  // Entry n of line_starts is where line n's C text begins, and one entry
  // more holds the end (driver/memory_translation.h).
  const std::vector<std::size_t>& starts = translation.line_starts;
  const std::size_t generated = starts.size() >= 2 ? starts.size() - 2 : 0;
  nlohmann::json lines = nlohmann::json::array();
  for (std::size_t n = 1; n <= analysis.line_count(); ++n) {
    if (n > generated) {
      lines.push_back(nullptr);
    } else {
      lines.push_back({offsets[starts[n]], offsets[starts[n + 1]]});
    }
  }
  return lines;
}

// What the compiler said of the source in the file --build-output names,
// where the source translates: messages of a build of its copy.
void add_compiler_findings(const Arguments& arguments,
                           lsp::Document& document) {
  std::string shown;  // prepare has told it already
  Reporter reporter = keeping_reporter(arguments.language, shown);
  std::optional<Translated> translated =
      read_and_translate(arguments, reporter, false);
  if (!translated || !translated->translated) return;
  const BrowserProgram built =
      browser_program(arguments, std::move(*translated));
  document.set_compiler_findings(
      document.revision(),
      lsp::compiler_findings(
          built, read_area_file(*arguments.build_output).value_or(""),
          arguments.failed, arguments.language));
}

}  // namespace

int analyze(const Arguments& arguments) {
  std::optional<lsp::Document> document = source_document(arguments);
  if (!document) {
    return print_answer({{"diagnostics", nlohmann::json::array()},
                         {"cLines", nlohmann::json::array()}});
  }
  if (arguments.build_output) add_compiler_findings(arguments, *document);
  const lsp::PublishedDiagnostics published =
      lsp::diagnostics(*document, editor_session(arguments));
  nlohmann::json diagnostics = nlohmann::json::array();
  for (const lsp::Diagnostic& diagnostic : published.diagnostics) {
    diagnostics.push_back(diagnostic_json(diagnostic, true));
  }
  // The C text that cLines measure, for the page's C view: STEM.c, as the
  // translator writes it when the source converts.
  const std::string c_name = output_name_for(arguments.name).value_or("");
  const bool written =
      !c_name.empty() &&
      write_area_file(c_name, document->analysis().translation().c_text);
  return print_answer({{"diagnostics", diagnostics},
                       {"cLines", c_lines(*document)},
                       {"cFile", written ? nlohmann::json(c_name) : nullptr}});
}

int hover(const Arguments& arguments) {
  std::optional<lsp::Document> document = source_document(arguments);
  const std::optional<lsp::HoverText> text =
      document ? lsp::hover(*document, {arguments.line, arguments.character},
                            editor_session(arguments))
               : std::nullopt;
  if (!text) return print_answer(nullptr);
  return print_answer({{"value", text->value}, {"markdown", text->markdown}});
}

int complete(const Arguments& arguments) {
  std::optional<lsp::Document> document = source_document(arguments);
  nlohmann::json items = nlohmann::json::array();
  if (document) {
    const lsp::CompletionList list =
        lsp::completion(*document, {arguments.line, arguments.character},
                        editor_session(arguments));
    for (const lsp::CompletionItem& item : list.items) {
      nlohmann::json out = {{"label", item.label},
                            {"detail", item.detail},
                            {"insert", item.insert},
                            {"snippet", item.insert_format == 2}};
      put_range(out, item.range);
      items.push_back(std::move(out));
    }
  }
  return print_answer(items);
}

lsp::Session editor_session(const Arguments& arguments) {
  lsp::Session session;
  session.encoding = lsp::PositionEncoding::kUtf16;
  session.language = arguments.language;
  session.snippets = true;
  session.markdown = true;
  return session;
}

std::optional<lsp::Document> source_document(const Arguments& arguments) {
  std::optional<std::string> bytes = read_area_file(arguments.name);
  if (!bytes) return std::nullopt;
  if (source_reading(*bytes).encoding == Encoding::kShiftJis) {
    *bytes = convert_text(*bytes, Encoding::kShiftJis, Encoding::kUtf8);
  }
  return lsp::Document("file:///" + arguments.name, 1, std::move(*bytes));
}

nlohmann::json compiler_diagnostics(const Arguments& arguments,
                                    const BrowserProgram& built,
                                    std::string_view output, bool failed,
                                    bool with_code) {
  nlohmann::json out = nlohmann::json::array();
  std::optional<lsp::Document> document = source_document(arguments);
  if (!document) return out;
  document->set_compiler_findings(
      document->revision(),
      lsp::compiler_findings(built, output, failed, arguments.language));
  for (const lsp::Diagnostic& diagnostic :
       lsp::diagnostics(*document, editor_session(arguments)).diagnostics) {
    if (diagnostic.code == lsp::kCompilerCode) {
      out.push_back(diagnostic_json(diagnostic, with_code));
    }
  }
  return out;
}

nlohmann::json diagnostic_json(const lsp::Diagnostic& diagnostic,
                               bool with_code) {
  nlohmann::json out = {{"severity", diagnostic.severity},
                        {"message", diagnostic.message}};
  if (with_code) out["code"] = diagnostic.code;
  put_range(out, diagnostic.range);
  return out;
}

void put_range(nlohmann::json& out, const lsp::Range& range) {
  out["line"] = range.start.line;
  out["character"] = range.start.character;
  out["endLine"] = range.end.line;
  out["endCharacter"] = range.end.character;
}

}  // namespace zemuc::web

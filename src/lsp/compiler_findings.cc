#include "lsp/compiler_findings.h"

#include <algorithm>

#include "driver/memory_translation.h"
#include "explain/explain.h"

namespace zemuc::lsp {

std::optional<BuildInput> build_input(std::string source_name,
                                      std::string_view sjis_source,
                                      zemuc::Frame frame) {
  Translation translation =
      translate_in_memory(source_name, std::string(sjis_source));
  if (translation.status != kStatusOk) return std::nullopt;
  Program program(std::move(source_name), sjis_source, std::move(translation));
  CompilerCopy copy = make_compiler_copy(program, frame);
  return BuildInput{std::move(program), std::move(copy), frame};
}

std::vector<CompilerFinding> compiler_findings(const BuildInput& input,
                                               std::string_view output,
                                               bool failed, Language language) {
  std::vector<CompilerFinding> findings;
  for (const explain::Told& told : explain::build_messages(
           input.program, input.copy.map, output, failed, language)) {
    // A place in another file (a header) is no line of the document: the
    // message stands at its start, naming the file as the terminal does.
    // One about the whole program stands where the check found it.
    const bool in_source = told.file.empty();
    const std::size_t line = told.whole_program ? told.found_line : told.line;
    CompilerFinding finding{in_source ? line : 0, in_source ? told.column : 0,
                            told.severity != explain::Severity::kWarning,
                            explain::told_words(told, language)};
    if (!in_source) finding.text = told.file + ": " + finding.text;
    if (std::find(findings.begin(), findings.end(), finding) ==
        findings.end()) {
      findings.push_back(std::move(finding));
    }
  }
  return findings;
}

}  // namespace zemuc::lsp

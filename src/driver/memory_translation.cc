#include "driver/memory_translation.h"

#include <utility>

#include "driver/output_name.h"
#include "driver/translate.h"
#include "io/files.h"
#include "io/output.h"

namespace zemuc {
namespace {

class LineStarts : public LineObserver {
 public:
  explicit LineStarts(std::vector<std::size_t>& starts) : starts_(starts) {
    starts_.assign(1, 0);
  }
  void line_begins(const Context& ctx, std::size_t offset) override {
    starts_.resize(ctx.line_number + 1, offset);
    starts_[ctx.line_number] = offset;
  }

 private:
  std::vector<std::size_t>& starts_;
};

}  // namespace

std::string_view Translation::c_text_of(std::size_t n) const {
  if (n == 0 || n + 1 >= line_starts.size()) return {};
  return std::string_view(c_text).substr(line_starts[n],
                                         line_starts[n + 1] - line_starts[n]);
}

Translation translate_in_memory(std::string_view source_name,
                                std::string sjis_source) {
  const std::string source(source_name);
  const std::string output =
      output_name_for(source_name).value_or(source + ".c");
  MemoryFiles files;
  files.files[source] = std::move(sjis_source);
  Translation result;
  Context ctx;
  LineStarts starts(result.line_starts);
  ctx.observer = &starts;
  {
    StringSink console_sink(result.console);
    Output console(console_sink);
    result.status = translate(ctx, source, output, files, console);
  }
  result.c_text = std::move(files.files[output]);
  result.line_starts.push_back(result.c_text.size());
  result.tables = std::move(ctx.tables);
  result.rejected = std::move(ctx.rejected);
  return result;
}

}  // namespace zemuc

// Feeds one in-memory source through the whole translation: the declaration
// pass, the table dump and the generation pass with every generator.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "codegen/context.h"
#include "driver/translate.h"
#include "io/files.h"
#include "io/output.h"
#include "lexer/sjis_texts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  zemuc::MemoryFiles files;
  files.files["in.zem"].assign(reinterpret_cast<const char*>(data), size);
  std::string console_text;
  zemuc::StringSink console_sink(console_text);
  zemuc::Output console(console_sink);
  zemuc::Context ctx;
  const int status = zemuc::translate(ctx, "in.zem", "in.c", files, console);
  console.flush();

  // A source that is there can only fail on a rejected display line, and
  // then the console says so; either way the output was created.
  if (status != zemuc::kStatusOk && status != zemuc::kStatusFailed) abort();
  if (files.files.count("in.c") != 1) abort();
  if (status == zemuc::kStatusFailed &&
      console_text.find(zemuc::sjis::kBadLine) == std::string::npos) {
    abort();
  }
  return 0;
}

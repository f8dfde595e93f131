#include "cli/cli.h"

#include "driver/output_name.h"
#include "driver/translate.h"
#include "lexer/sjis_texts.h"

namespace zemuc {
namespace {

int finish(int status, Output& console, const std::function<void()>& read_key) {
  console << (status == kStatusOk ? sjis::kSuccess : sjis::kFailure);
  console.flush();
  read_key();
  return status;
}

}  // namespace

int run_cli(std::span<const char* const> args, Files& files, Output& console,
            const std::function<void()>& read_key) {
  // A name too short to lose its extension is refused like a wrong
  // argument count.
  std::optional<std::string> output_name;
  if (args.size() == 2) output_name = output_name_for(args[1]);
  if (!output_name) {
    console << sjis::kUsageWrong << sjis::kUsageForm;
    return finish(kStatusFailed, console, read_key);
  }
  const std::string source_name = args[1];
  console << sjis::kRewritingNow << source_name << sjis::kRewritingInto
          << *output_name << sjis::kRewritingEnd;
  Context ctx;
  const int status = translate(ctx, source_name, *output_name, files, console);
  return finish(status, console, read_key);
}

}  // namespace zemuc

#include "driver/translate.h"

#include "codegen/generators.h"
#include "lexer/keywords.h"
#include "lexer/sjis_texts.h"
#include "lexer/tokenizer.h"
#include "symbols/declare.h"
#include "symbols/declare_raw.h"
#include "symbols/dump.h"

namespace zemuc {
namespace {

int report_missing(const std::string& name, Output& console) {
  console << name << sjis::kNotFound;
  return kStatusFailed;
}

// Reads the next line into ctx.raw and its tokens into ctx.line.
LineReader::Result next_line(Context& ctx, LineReader& reader) {
  const LineReader::Result result = reader.next(ctx.raw);
  if (result == LineReader::Result::kLine) {
    ++ctx.line_number;
    tokenize_raw(ctx.line, ctx.raw);
  }
  return result;
}

int declaration_pass(Context& ctx, const std::string& source_name, Files& files,
                     Output& console) {
  const std::unique_ptr<ByteSource> source =
      files.open_for_reading(source_name);
  if (source == nullptr) return report_missing(source_name, console);
  LineReader reader(*source);
  // The first line is read before anything is printed, so that a source
  // that opens but cannot be read (a folder) reads as a missing one.
  LineReader::Result result = reader.next(ctx.raw);
  if (result == LineReader::Result::kError) {
    return report_missing(source_name, console);
  }
  console << source_name << sjis::kReading;
  ctx.tables = SymbolTables();
  for (; result == LineReader::Result::kLine; result = reader.next(ctx.raw)) {
    declare_raw_line(ctx.tables, ctx.line, ctx.raw);
  }
  if (result == LineReader::Result::kError) {
    return report_missing(source_name, console);
  }
  return kStatusOk;
}

int generation_pass(Context& ctx, const std::string& source_name,
                    const std::string& output_name, Files& files,
                    Output& console) {
  console << output_name << sjis::kWriting;
  const std::unique_ptr<ByteSource> source =
      files.open_for_reading(source_name);
  if (source == nullptr) return report_missing(source_name, console);
  // An output that is the source by another name is refused like one
  // that cannot be opened: emptying it would lose the source.
  const std::unique_ptr<Sink> sink =
      files.open_for_writing(output_name, source_name);
  if (sink == nullptr) return report_missing(output_name, console);
  Output out(*sink);
  LineReader reader(*source);
  ctx.line_number = 0;
  LineReader::Result result;
  while ((result = next_line(ctx, reader)) == LineReader::Result::kLine) {
    if (ctx.observer != nullptr) ctx.observer->line_begins(ctx, out.position());
    if (generate_line(ctx, out) == kStatusFailed) {
      // Only a display line fails. What was written before it, its own
      // Leading echo included, stays in the output.
      ctx.rejected = {ctx.line_number, std::string(ctx.raw)};
      console << sjis::kBadLine << ctx.raw;
      out.flush();
      sink->close();
      return kStatusFailed;
    }
  }
  // A full disk shows as a failed write or a failed close, and is a failure
  // like any other.
  const bool flushed = out.flush();
  const bool closed = sink->close();
  if (result == LineReader::Result::kError) {
    return report_missing(source_name, console);
  }
  if (!flushed || !closed) return report_missing(output_name, console);
  return kStatusOk;
}

}  // namespace

int generate_line(Context& ctx, Output& out) {
  const auto [keyword, k] = find_keyword(ctx.line);
  switch (keyword) {
    case Keyword::kDisplay:
      return gen_display(ctx, k, out);
    case Keyword::kInput:
      return gen_input(ctx, k, out);
    case Keyword::kBegin:
      return gen_program_head(ctx, out);
    case Keyword::kRepeat:
      return gen_repeat(ctx, k, out);
    case Keyword::kOpen:
      return gen_open(ctx, k, out);
    case Keyword::kClose:
      return gen_close(ctx, k, out);
    case Keyword::kRead:
      return gen_read(ctx, k, out);
    case Keyword::kWrite:
      return gen_write(ctx, k, out);
    case Keyword::kEnd:
      return gen_program_tail(out);
    case Keyword::kReadAll:
      return gen_read_all(ctx, k, out);
    case Keyword::kNone:
      break;
  }
  return gen_pass_through(ctx, out);
}

int translate(Context& ctx, const std::string& source_name,
              const std::string& output_name, Files& files, Output& console) {
  ctx.rejected = {};
  if (declaration_pass(ctx, source_name, files, console) == kStatusFailed) {
    return kStatusFailed;
  }
  dump_tables(ctx.tables, console);
  return generation_pass(ctx, source_name, output_name, files, console);
}

}  // namespace zemuc

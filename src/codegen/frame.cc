#include "codegen/generators.h"
#include "lexer/sjis_texts.h"

namespace zemuc {

int gen_program_head(Context& ctx, Output& out) {
  out << "#include <stdio.h>\n"
         "#include <math.h>\n"
         "#include <stdlib.h>\n"
         "#include <string.h>\n"
         "#include <time.h>\n"
         "main() {\n"
         "\tchar dummy[100];\n";
  const VariableTable& variables = ctx.tables.variables;
  for (std::size_t i = 1; i <= variables.count(); ++i) {
    if (variables[i].prop == kNumeric) {
      out << "\tint " << variables.var(i) << ";\n";
    } else {
      out << "\tchar " << variables.var(i) << "[256];\n";
    }
  }
  const FileTable& files = ctx.tables.files;
  for (std::size_t i = 1; i <= files.count(); ++i) {
    out << "\tFILE *" << files.var(i) << ";\n";
  }
  // Repeat statements before this line may have raised the count past the
  // declared counters; those entries have empty names.
  CounterTable& counters = ctx.tables.counters;
  for (std::size_t i = 1; i <= counters.count; ++i) {
    out << "\tint " << counters.var(i) << ";\n";
  }
  counters.count = 0;
  return kStatusOk;
}

int gen_program_tail(Output& out) {
  out << "/* end procedure */\n"
         "\tERROR_END:;\n"
         "\tprintf(\""
      << sjis::kEndPrompt
      << "\");\n"
         "\tscanf(\"%s\", &dummy);\n"
         "\treturn 0;\n"
         "}\n";
  return kStatusOk;
}

}  // namespace zemuc

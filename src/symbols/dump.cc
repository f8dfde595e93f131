#include "symbols/dump.h"

#include "lexer/sjis_texts.h"

namespace zemuc {

void dump_tables(const SymbolTables& tables, Output& console) {
  console << " dump variables ******************************\n";
  const VariableTable& variables = tables.variables;
  for (std::size_t i = 1; i <= variables.count(); ++i) {
    console << "name=" << variables[i].name << "  var=" << variables.var(i)
            << "  prop=" << variables[i].prop << '\n';
  }
  const FileTable& files = tables.files;
  for (std::size_t i = 1; i <= files.count(); ++i) {
    console << "name=" << files[i].name << "  fname=" << files[i].fname
            << "  var=" << files.var(i) << "  prop=" << files[i].prop << '\n';
  }
  const CounterTable& counters = tables.counters;
  for (std::size_t i = 1; i <= counters.count; ++i) {
    console << "name=" << sjis::kCounterMark;
    console.number(i);
    console << "  var=" << counters.var(i) << "  prop=" << kNumeric << '\n';
  }
  console << "**********************************************\n";
}

}  // namespace zemuc

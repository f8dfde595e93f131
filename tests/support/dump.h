// The console dump of symbol tables as text, for tests of the declaration
// scan.
#ifndef ZEMUC_TESTS_SUPPORT_DUMP_H_
#define ZEMUC_TESTS_SUPPORT_DUMP_H_

#include <string>

#include "io/output.h"
#include "symbols/dump.h"
#include "symbols/tables.h"

namespace zemuc::testing {

// Shift-JIS, header and footer included.
inline std::string dump_of(const SymbolTables& tables) {
  std::string console;
  StringSink sink(console);
  Output out(sink);
  dump_tables(tables, out);
  out.flush();
  return console;
}

}  // namespace zemuc::testing

#endif  // ZEMUC_TESTS_SUPPORT_DUMP_H_

// The console dump of the symbol tables after the first pass.
#ifndef ZEMUC_SYMBOLS_DUMP_H_
#define ZEMUC_SYMBOLS_DUMP_H_

#include "io/output.h"
#include "symbols/tables.h"

namespace zemuc {

// Variables, then files, then counters, between a header and a footer line.
void dump_tables(const SymbolTables& tables, Output& console);

}  // namespace zemuc

#endif  // ZEMUC_SYMBOLS_DUMP_H_

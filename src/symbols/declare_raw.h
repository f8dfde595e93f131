// The declaration scan of a line as it lies in the line reader's buffer.
#ifndef ZEMUC_SYMBOLS_DECLARE_RAW_H_
#define ZEMUC_SYMBOLS_DECLARE_RAW_H_

#include <string_view>

#include "lexer/token_line.h"
#include "symbols/tables.h"

namespace zemuc {

// Declares what `raw` declares, as tokenize_raw and then declare_line would,
// but looks at the tokens as the scan finds them instead of keeping them:
// the declaration pass needs only the names and two keywords. `raw` is a
// line as the line reader gives it (see tokenize_raw); `scratch` holds the
// whole line when it is needed, for a file-opening line or one to squeeze.
void declare_raw_line(SymbolTables& tables, TokenLine& scratch,
                      std::string_view raw);

}  // namespace zemuc

#endif  // ZEMUC_SYMBOLS_DECLARE_RAW_H_

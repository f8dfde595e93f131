// zemucweb: the translator for WebAssembly (wasm32-wasi). Reads a source in
// Shift-JIS on standard input, writes its C text on standard output and the
// translator's console text on standard error; exits with the translator's
// status. The optional argument names the source, as zemucfilter's does.
#include <cstdio>

#include "web/filter.h"

int main(int argc, char** argv) {
  if (argc > 2) {
    (void)std::fputs("usage: zemucweb [SOURCE-NAME] <source >c-text\n", stderr);
    return 2;
  }
  return zemuc::web::run_filter(argc == 2 ? argv[1] : "prog.zem", stdin, stdout,
                                stderr);
}

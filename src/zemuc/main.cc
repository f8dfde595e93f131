// zemuc: translates a program of the teaching language, builds it and runs
// it on the user's terminal, in the terminal's encoding.
#include <clocale>
#include <cstddef>

#include "zemuc/app.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  return zemuc::run_zemuc({argv + 1, static_cast<std::size_t>(argc - 1)});
}

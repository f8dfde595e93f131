// zemucfilter: translates a program of the teaching language into C.
#include <cstdio>

#include "cli/cli.h"

int main(int argc, char** argv) {
  // The console Output buffers on its own; unbuffered stdout makes its flush
  // reach the terminal before the key is read.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const auto stdout_sink = zemuc::StreamSink::borrowing(stdout);
  zemuc::Output console(*stdout_sink);
  zemuc::DiskFiles files;
  return zemuc::run_cli({argv, static_cast<std::size_t>(argc)}, files, console,
                        [] { (void)std::getchar(); });
}

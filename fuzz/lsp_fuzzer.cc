// Feeds the language server a session of messages: the fuzzer's bytes cut
// at NUL bytes into message bodies, each framed as an editor frames it,
// after an initialize that lets every feature answer; input that starts
// with 'R' goes in raw, headers included. Whatever comes, the server must
// answer and end; sanitizers catch the rest.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "server/framing.h"
#include "server/server.h"

namespace {

constexpr std::string_view kInitialize =
    R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{"capabilities":{}}})";
constexpr std::string_view kInitialized =
    R"({"jsonrpc":"2.0","method":"initialized","params":{}})";

std::string session_of(std::string_view data) {
  if (data.starts_with('R')) return std::string(data.substr(1));
  std::string session = zemuc::lsp::frame(kInitialize);
  session += zemuc::lsp::frame(kInitialized);
  while (!data.empty()) {
    const std::size_t end = data.find('\0');
    session += zemuc::lsp::frame(data.substr(0, end));
    data.remove_prefix(end == std::string_view::npos ? data.size() : end + 1);
  }
  return session;
}

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string session =
      session_of({reinterpret_cast<const char*>(data), size});
  const int in = ::memfd_create("session", MFD_CLOEXEC);
  check(in >= 0);
  check(::write(in, session.data(), session.size()) ==
        static_cast<ssize_t>(session.size()));
  check(::lseek(in, 0, SEEK_SET) == 0);
  const int out = ::memfd_create("answers", MFD_CLOEXEC);
  check(out >= 0);
  const int status = zemuc::lsp::serve(in, out, {});
  check(status == 0 || status == 1);
  ::close(in);
  ::close(out);
  return 0;
}

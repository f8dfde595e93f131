#include "program/plain_frame.h"

namespace zemuc {
namespace {

// C89 with GNU extensions, as the program is built. Only the handler runs
// after a fault, and it calls only what is safe in a signal handler:
// open, write, close and raise. The few functions of <unistd.h> and
// <fcntl.h> it needs are declared by hand, so that their other names stay
// free for the program; the flags are Linux's (O_WRONLY | O_CREAT |
// O_APPEND | O_CLOEXEC, O_RDONLY | O_CLOEXEC). The signal comes again
// with its default action once the handler returns (SA_RESETHAND), so the
// program ends as it would have and flushes nothing. The handler runs on
// a stack of its own, for a fault of a stack that has overflowed.
constexpr std::string_view kFrame = R"(int delkai(char *);
#if defined(__linux__) && defined(__x86_64__)
#include <signal.h>
long read(int, void *, unsigned long);
long write(int, const void *, unsigned long);
int open(const char *, int, ...);
int close(int);
char *getenv(const char *);
static const char *zemuc_fault_path;
static unsigned long zemuc_base;
static char zemuc_fault_stack[65536];
static int zemuc_hex(char *out, unsigned long value) {
  char digits[16];
  int n = 0, i;
  do {
    digits[n++] = "0123456789abcdef"[value % 16];
    value /= 16;
  } while (value != 0);
  out[0] = '0';
  out[1] = 'x';
  for (i = 0; i < n; ++i) out[2 + i] = digits[n - 1 - i];
  return n + 2;
}
static void zemuc_fault(int sig, siginfo_t *info, void *context) {
  char line[48];
  int n, fd;
  if (info->si_code > 0) {
    n = zemuc_hex(line, (unsigned long)((ucontext_t *)context)->uc_mcontext.gregs[16]);
    line[n++] = ' ';
    n += zemuc_hex(line + n, zemuc_base);
    line[n++] = '\n';
    fd = open(zemuc_fault_path, 02002101, 0600);
    if (fd >= 0) {
      if (write(fd, line, n) != n) n = 0;
      close(fd);
    }
  }
  raise(sig);
}
static int zemuc_read_base(void) {
  char text[32];
  long got;
  int i, fd = open("/proc/self/maps", 02000000);
  if (fd < 0) return 0;
  got = read(fd, text, sizeof text);
  close(fd);
  for (i = 0; i < got && text[i] != '-'; ++i) {
    int c = text[i];
    zemuc_base = zemuc_base * 16 + (c <= '9' ? c - '0' : c - 'a' + 10);
  }
  return i > 0 && i < got;
}
#ifdef __TINYC__
#define main zemuc_main
#else
static void zemuc_watch(void) __attribute__((constructor));
#endif
static void zemuc_watch(void) {
  static const int signals[] = {SIGFPE, SIGSEGV, SIGBUS, SIGILL};
  static struct sigaction action;
  stack_t stack;
  unsigned i;
  zemuc_fault_path = getenv("ZEMUC_FAULT_REPORT");
  if (zemuc_fault_path == 0 || !zemuc_read_base()) return;
  stack.ss_sp = zemuc_fault_stack;
  stack.ss_size = sizeof zemuc_fault_stack;
  stack.ss_flags = 0;
  action.sa_sigaction = zemuc_fault;
  action.sa_flags = SA_SIGINFO | SA_RESETHAND;
  if (sigaltstack(&stack, 0) == 0) action.sa_flags |= SA_ONSTACK;
  if (sigemptyset(&action.sa_mask) != 0) return;
  for (i = 0; i < sizeof signals / sizeof signals[0]; ++i) {
    if (sigaction(signals[i], &action, 0) != 0) return;
  }
}
#endif
)";

constexpr std::string_view kTrailer =
    R"(#if defined(__linux__) && defined(__x86_64__) && defined(__TINYC__)
#undef main
int main(void) {
  zemuc_watch();
  return zemuc_main();
}
#endif
)";

}  // namespace

std::string_view plain_frame() { return kFrame; }

std::string_view plain_trailer() { return kTrailer; }

}  // namespace zemuc

// Runs a command with its standard output a pipe and its standard input a
// file, and prints the microseconds from its start to the first byte it
// writes, and to its end.
// Usage: first_output INPUT_FILE COMMAND [ARG...]
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: first_output INPUT_FILE COMMAND [ARG...]\n");
    return 2;
  }
  int fds[2];
  if (pipe(fds) != 0) return 1;
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid < 0) return 1;
  if (pid == 0) {
    const int in = open(argv[1], O_RDONLY);
    if (in < 0 || dup2(in, 0) < 0 || dup2(fds[1], 1) < 0) _exit(127);
    close(fds[0]);
    close(fds[1]);
    execvp(argv[2], argv + 2);
    _exit(127);
  }
  close(fds[1]);
  char buffer[4096];
  ssize_t n;
  long first = -1;
  while ((n = read(fds[0], buffer, sizeof buffer)) != 0) {
    if (n < 0) return 1;
    if (first < 0) {
      first = static_cast<long>(
          std::chrono::duration_cast<std::chrono::microseconds>(
              std::chrono::steady_clock::now() - start)
              .count());
    }
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return 1;
  const long end =
      static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count());
  std::printf("%ld %ld\n", first, end);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}

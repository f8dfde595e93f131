/*
 * checks.c - the run-time checks that zemuc puts ahead of a checked
 * program, where the sanitizers make none. zemuc holds this text, from
 * the line after this comment and the blank line below it, and writes it
 * at the start of the compiler's copy of prog.c.
 *
 * It declares the run-time file's function (delkai.c), sets the
 * sanitizers' options (a program that never closes its files leaks
 * nothing worth telling; a failed check ends with status 70, which zemuc
 * reads as a check that stopped the program; a stack that an overflow has
 * trampled is still walked; what the program printed of a line before a
 * check stopped it is shown), and answers the start probe: with
 * ZEMUC_PROBE set the program ends at once with status 0.
 *
 * Its checks are those of numbers that scanf and atoi would cut to fit an
 * int without a word, and of the file statements' files, which are null
 * when they did not open, with why each open that failed did (noted as it
 * fails, in the file ZEMUC_OPEN_NOTES names, and copied into the report
 * of a file not open), and of writes and reads that fail, with the C
 * library's error number (a close writes what stdio kept back, and fails
 * as a write; a read fails apart from the end of the data, as of a
 * folder). Each is reported in the file ZEMUC_CHECK_REPORT names, as
 * UndefinedBehaviorSanitizer words a runtime error, or on stderr.
 *
 * The macros come last, after the includes, so that the headers declare
 * the functions under their own names; later includes of the same headers
 * in the program do nothing. The names and the status are those of
 * src/program/copy.h, which tests/program/copy_test.cc holds them to.
 */

#include <stdio.h>
#include <stdlib.h>
#include <stdarg.h>
#include <string.h>
#include <errno.h>
#include <limits.h>
int delkai(char *);
const char *__asan_default_options(void) {
  return "detect_leaks=0:exitcode=70:fast_unwind_on_fatal=1";
}
const char *__ubsan_default_options(void) {
  return "print_stacktrace=1:halt_on_error=1:exitcode=70";
}
void __sanitizer_set_death_callback(void (*)(void));
static void zemuc_flush(void) { fflush(stdout); }
static void zemuc_start(void) __attribute__((constructor));
static void zemuc_start(void) {
  if (getenv("ZEMUC_PROBE") != NULL) exit(0);
  __sanitizer_set_death_callback(zemuc_flush);
}
static FILE *zemuc_report(void) {
  const char *path = getenv("ZEMUC_CHECK_REPORT");
  FILE *report = path != NULL ? fopen(path, "a") : NULL;
  return report != NULL ? report : stderr;
}
static void zemuc_stop(FILE *report) {
  if (report != stderr) fclose(report);
  exit(70);
}
static void zemuc_too_large(const char *file, int line, const char *how,
                            long long value, int in_range) {
  FILE *report = zemuc_report();
  if (in_range) {
    fprintf(report, "%s:%d: runtime error: %s number %lld does not fit in type 'int'\n",
            file, line, how, value);
  } else {
    fprintf(report, "%s:%d: runtime error: %s number does not fit in type 'int'\n",
            file, line, how);
  }
  zemuc_stop(report);
}
static void zemuc_not_open(const char *file, int line) {
  FILE *report = zemuc_report();
  const char *notes = getenv("ZEMUC_OPEN_NOTES");
  FILE *opens = notes != NULL ? fopen(notes, "r") : NULL;
  int c;
  fprintf(report, "%s:%d: runtime error: file not open\n", file, line);
  if (opens != NULL) {
    while ((c = getc(opens)) != EOF) putc(c, report);
    fclose(opens);
  }
  zemuc_stop(report);
}
static void zemuc_file_failed(const char *file, int line, const char *how,
                              int error) {
  FILE *report = zemuc_report();
  fprintf(report, "%s:%d: runtime error: file not %s: %d %s\n", file, line,
          how, error, strerror(error));
  zemuc_stop(report);
}
static FILE *zemuc_fopen(const char *file, int line, const char *path,
                         const char *mode) {
  FILE *stream = fopen(path, mode);
  if (stream == NULL) {
    int error = errno;
    const char *notes = getenv("ZEMUC_OPEN_NOTES");
    FILE *out = notes != NULL ? fopen(notes, "a") : NULL;
    if (out != NULL) {
      fprintf(out, "%s:%d: note: open failed: %d %s\n", file, line, error,
              strerror(error));
      fclose(out);
    }
    errno = error;
  }
  return stream;
}
static int zemuc_scanf(const char *file, int line, const char *format, ...)
    __attribute__((format(scanf, 3, 4)));
static int zemuc_scanf(const char *file, int line, const char *format, ...) {
  va_list ap;
  int n;
  va_start(ap, format);
  if (strcmp(format, "%d") == 0) {
    int *target = va_arg(ap, int *);
    long long value = 0;
    errno = 0;
    n = scanf("%lld", &value);
    if (n == 1 && (errno == ERANGE || value > INT_MAX || value < INT_MIN)) {
      zemuc_too_large(file, line, "typed", value, errno != ERANGE);
    }
    if (n == 1) *target = (int)value;
  } else {
    n = vscanf(format, ap);
  }
  va_end(ap);
  return n;
}
static int zemuc_atoi(const char *file, int line, const char *text) {
  long long value;
  errno = 0;
  value = strtoll(text, NULL, 10);
  if (errno == ERANGE || value > INT_MAX || value < INT_MIN) {
    zemuc_too_large(file, line, "read", value, errno != ERANGE);
  }
  return (int)value;
}
static int zemuc_fprintf(const char *file, int line, FILE *stream,
                         const char *format, ...)
    __attribute__((format(printf, 4, 5)));
static int zemuc_fprintf(const char *file, int line, FILE *stream,
                         const char *format, ...) {
  va_list ap;
  int n;
  if (stream == NULL) zemuc_not_open(file, line);
  va_start(ap, format);
  n = vfprintf(stream, format, ap);
  va_end(ap);
  if (n < 0) zemuc_file_failed(file, line, "written", errno);
  return n;
}
static int zemuc_fclose(const char *file, int line, FILE *stream) {
  if (stream == NULL) zemuc_not_open(file, line);
  if (fclose(stream) != 0) zemuc_file_failed(file, line, "written", errno);
  return 0;
}
static char *zemuc_fgets(const char *file, int line, char *s, int size,
                         FILE *stream) {
  char *got;
  if (stream == NULL) zemuc_not_open(file, line);
  errno = 0;
  got = fgets(s, size, stream);
  if (got == NULL && ferror(stream)) {
    zemuc_file_failed(file, line, "read", errno != 0 ? errno : EIO);
  }
  return got;
}
#define scanf(...) zemuc_scanf(__FILE__, __LINE__, __VA_ARGS__)
#define atoi(text) zemuc_atoi(__FILE__, __LINE__, text)
#define fprintf(...) zemuc_fprintf(__FILE__, __LINE__, __VA_ARGS__)
#define fclose(stream) zemuc_fclose(__FILE__, __LINE__, stream)
#define fgets(s, size, stream) zemuc_fgets(__FILE__, __LINE__, s, size, stream)
#define fopen(path, mode) zemuc_fopen(__FILE__, __LINE__, path, mode)

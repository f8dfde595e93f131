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
 * folder), and of a file used again after its close, which the C library
 * may have freed (a close, write or read of it is stopped at its line and
 * names the line of the close). Each is reported in the file ZEMUC_CHECK_REPORT names, as
 * UndefinedBehaviorSanitizer words a runtime error, or on stderr.
 *
 * A word or a number read at the end of the input gets the empty text or
 * 0, where scanf leaves the variable as it was: a variable nothing was
 * written into before would show whatever the stack held. Text typed for
 * a number that does not start as one (full-width digits, typed with the
 * Japanese input on, or a word) stops the program, where scanf would leave
 * it for the next read to take. Before every read from the keyboard what
 * was printed is written out: a prompt without a line end shows before
 * the program waits, wherever stdout is not line-buffered (a pipe, the
 * WebAssembly run-time's console).
 *
 * Built for WebAssembly (__wasm__), where no sanitizer run-time exists,
 * it answers the undefined-behaviour checks itself: the handlers that
 * clang's -fsanitize=signed-integer-overflow,integer-divide-by-zero,...
 * calls (src/program/compile_flags.h) write what UndefinedBehaviorSanitizer
 * writes. Wherever AddressSanitizer is not built in (WebAssembly, and a
 * compiler without sanitizers, such as tcc, which builds this file after
 * the plain frame's fault watch), a text put into a string variable too
 * small for it (scanf, strcpy, strcat, measured against the variable) is
 * stopped before it is written and reported in AddressSanitizer's words,
 * so that zemuc reads and tells it as it does a native checked program's;
 * scanf's word is measured with AddressSanitizer too, as some run-times
 * lose its line.
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
/* Built with the sanitizers (gcc says so by a macro, clang by a feature),
   or without them: in WebAssembly, or by a compiler that has none. */
#if defined(__SANITIZE_ADDRESS__)
#define ZEMUC_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZEMUC_SANITIZED 1
#endif
#endif
#if defined(ZEMUC_SANITIZED)
const char *__asan_default_options(void) {
  return "detect_leaks=0:exitcode=70:fast_unwind_on_fatal=1";
}
const char *__ubsan_default_options(void) {
  return "print_stacktrace=1:halt_on_error=1:exitcode=70";
}
void __sanitizer_set_death_callback(void (*)(void));
static void zemuc_flush(void) { fflush(stdout); }
#endif
static void zemuc_start(void) __attribute__((constructor));
static void zemuc_start(void) {
  if (getenv("ZEMUC_PROBE") != NULL) exit(0);
#if defined(ZEMUC_SANITIZED)
  __sanitizer_set_death_callback(zemuc_flush);
#endif
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
static void zemuc_not_a_number(const char *file, int line) {
  FILE *report = zemuc_report();
  fprintf(report, "%s:%d: runtime error: typed text is not a number\n", file,
          line);
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
/* The streams that a close ended, each with the line of its close: the C
   library may have freed them, so a close, write or read of one again is
   stopped at its line, before the library touches it. An open that is
   given the same address again takes it off; past the table's end, a
   close is not remembered. */
#define ZEMUC_CLOSES 64
static struct zemuc_close {
  FILE *stream;
  int line;
} zemuc_closes[ZEMUC_CLOSES];
static struct zemuc_close *zemuc_closed(FILE *stream) {
  int i;
  for (i = 0; stream != NULL && i < ZEMUC_CLOSES; ++i) {
    if (zemuc_closes[i].stream == stream) return &zemuc_closes[i];
  }
  return NULL;
}
static void zemuc_check_closed(const char *file, int line, FILE *stream) {
  const struct zemuc_close *closed = zemuc_closed(stream);
  FILE *report;
  if (closed == NULL) return;
  report = zemuc_report();
  fprintf(report, "%s:%d: runtime error: file already closed on line %d\n",
          file, line, closed->line);
  zemuc_stop(report);
}
static void zemuc_note_close(int line, FILE *stream) {
  int i;
  for (i = 0; i < ZEMUC_CLOSES; ++i) {
    if (zemuc_closes[i].stream == NULL) {
      zemuc_closes[i].stream = stream;
      zemuc_closes[i].line = line;
      return;
    }
  }
}
static FILE *zemuc_fopen(const char *file, int line, const char *path,
                         const char *mode) {
  FILE *stream = fopen(path, mode);
  struct zemuc_close *closed = zemuc_closed(stream);
  if (closed != NULL) closed->stream = NULL;
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
static int zemuc_vscanf(const char *file, int line, const char *format,
                        va_list ap) {
  int n;
  if (strcmp(format, "%d") == 0) {
    int *target = va_arg(ap, int *);
    long long value = 0;
    errno = 0;
    n = scanf("%lld", &value);
    if (n == 1 && (errno == ERANGE || value > INT_MAX || value < INT_MIN)) {
      zemuc_too_large(file, line, "typed", value, errno != ERANGE);
    }
    if (n == 0) zemuc_not_a_number(file, line);
    if (n == 1) *target = (int)value;
    if (n == EOF) *target = 0;
  } else {
    n = vscanf(format, ap);
  }
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
  zemuc_check_closed(file, line, stream);
  va_start(ap, format);
  n = vfprintf(stream, format, ap);
  va_end(ap);
  if (n < 0) zemuc_file_failed(file, line, "written", errno);
  return n;
}
static int zemuc_fclose(const char *file, int line, FILE *stream) {
  int failed;
  if (stream == NULL) zemuc_not_open(file, line);
  zemuc_check_closed(file, line, stream);
  zemuc_note_close(line, stream);
  failed = fclose(stream) != 0;
  if (failed) zemuc_file_failed(file, line, "written", errno);
  return 0;
}
static char *zemuc_fgets(const char *file, int line, char *s, int size,
                         FILE *stream) {
  char *got;
  if (stream == NULL) zemuc_not_open(file, line);
  zemuc_check_closed(file, line, stream);
  errno = 0;
  got = fgets(s, size, stream);
  if (got == NULL && ferror(stream)) {
    zemuc_file_failed(file, line, "read", errno != 0 ? errno : EIO);
  }
  return got;
}
#if defined(__wasm__)
/* What clang hands the undefined-behaviour handlers: the place (after the
   copy's #line directives), and the types, each with its name in quotes. */
struct zemuc_place {
  const char *file;
  unsigned line;
  unsigned column;
};
struct zemuc_type {
  unsigned short kind; /* 0 an integer, 1 a fraction */
  unsigned short info; /* an integer's width and sign; a fraction's width */
  char name[1];
};
struct zemuc_check_data {
  struct zemuc_place place;
  const struct zemuc_type *type;
  const struct zemuc_type *second;
};
typedef unsigned long zemuc_value;
static int zemuc_signed(const struct zemuc_type *type) {
  return type->kind == 0 && (type->info & 1) != 0;
}
/* A value as the handlers get it: in the handle itself when it is no
   wider than a pointer, else where the handle points. */
static long long zemuc_integer(const struct zemuc_type *type,
                               zemuc_value value) {
  unsigned width = 1u << (type->info >> 1);
  if (width > 8 * sizeof(zemuc_value)) return *(const long long *)value;
  if (zemuc_signed(type) && width < 64) {
    unsigned long long sign = 1ull << (width - 1);
    return (long long)(((unsigned long long)value ^ sign) - sign);
  }
  return (long long)value;
}
static void zemuc_print_value(FILE *out, const struct zemuc_type *type,
                              zemuc_value value) {
  if (type->kind == 1) {
    double fraction;
    if (type->info == 32) {
      float single;
      unsigned bits = (unsigned)value;
      memcpy(&single, &bits, sizeof single);
      fraction = single;
    } else if (type->info == 64) {
      fraction = *(const double *)value;
    } else {
      fraction = (double)*(const long double *)value;
    }
    fprintf(out, "%g", fraction);
  } else if (zemuc_signed(type)) {
    fprintf(out, "%lld", zemuc_integer(type, value));
  } else {
    fprintf(out, "%llu", (unsigned long long)zemuc_integer(type, value));
  }
}
static FILE *zemuc_runtime_error(const struct zemuc_place *place) {
  FILE *report = zemuc_report();
  fprintf(report, "%s:%u:%u: runtime error: ", place->file, place->line,
          place->column);
  return report;
}
static void zemuc_ub_stop(FILE *report, const struct zemuc_place *place) {
  fprintf(report,
          "\nSUMMARY: UndefinedBehaviorSanitizer: undefined-behavior "
          "%s:%u:%u in \n",
          place->file, place->line, place->column);
  zemuc_stop(report);
}
static void zemuc_overflow(struct zemuc_check_data *data, zemuc_value left,
                           const char *operation, zemuc_value right) {
  FILE *report = zemuc_runtime_error(&data->place);
  fprintf(report, "%s integer overflow: ",
          zemuc_signed(data->type) ? "signed" : "unsigned");
  zemuc_print_value(report, data->type, left);
  fprintf(report, " %s ", operation);
  zemuc_print_value(report, data->type, right);
  fprintf(report, " cannot be represented in type %s", data->type->name);
  zemuc_ub_stop(report, &data->place);
}
void __ubsan_handle_add_overflow_abort(struct zemuc_check_data *data,
                                       zemuc_value left, zemuc_value right) {
  zemuc_overflow(data, left, "+", right);
}
void __ubsan_handle_sub_overflow_abort(struct zemuc_check_data *data,
                                       zemuc_value left, zemuc_value right) {
  zemuc_overflow(data, left, "-", right);
}
void __ubsan_handle_mul_overflow_abort(struct zemuc_check_data *data,
                                       zemuc_value left, zemuc_value right) {
  zemuc_overflow(data, left, "*", right);
}
void __ubsan_handle_negate_overflow_abort(struct zemuc_check_data *data,
                                          zemuc_value old) {
  FILE *report = zemuc_runtime_error(&data->place);
  fputs("negation of ", report);
  zemuc_print_value(report, data->type, old);
  fprintf(report,
          " cannot be represented in type %s; cast to an unsigned type to "
          "negate this value to itself",
          data->type->name);
  zemuc_ub_stop(report, &data->place);
}
void __ubsan_handle_divrem_overflow_abort(struct zemuc_check_data *data,
                                          zemuc_value left,
                                          zemuc_value right) {
  FILE *report = zemuc_runtime_error(&data->place);
  if (data->type->kind == 0 && zemuc_integer(data->type, right) == 0) {
    fputs("division by zero", report);
  } else {
    fputs("division of ", report);
    zemuc_print_value(report, data->type, left);
    fprintf(report, " by -1 cannot be represented in type %s",
            data->type->name);
  }
  zemuc_ub_stop(report, &data->place);
}
void __ubsan_handle_shift_out_of_bounds_abort(struct zemuc_check_data *data,
                                              zemuc_value left,
                                              zemuc_value right) {
  FILE *report = zemuc_runtime_error(&data->place);
  long long exponent = zemuc_integer(data->second, right);
  unsigned width = 1u << (data->type->info >> 1);
  if (zemuc_signed(data->second) && exponent < 0) {
    fprintf(report, "shift exponent %lld is negative", exponent);
  } else if ((unsigned long long)exponent >= width) {
    fputs("shift exponent ", report);
    zemuc_print_value(report, data->second, right);
    fprintf(report, " is too large for %u-bit type %s", width,
            data->type->name);
  } else if (zemuc_signed(data->type) &&
             zemuc_integer(data->type, left) < 0) {
    fprintf(report, "left shift of negative value %lld",
            zemuc_integer(data->type, left));
  } else {
    fputs("left shift of ", report);
    zemuc_print_value(report, data->type, left);
    fprintf(report, " by %lld places cannot be represented in type %s",
            exponent, data->type->name);
  }
  zemuc_ub_stop(report, &data->place);
}
void __ubsan_handle_out_of_bounds_abort(struct zemuc_check_data *data,
                                        zemuc_value index) {
  FILE *report = zemuc_runtime_error(&data->place);
  fputs("index ", report);
  zemuc_print_value(report, data->second, index);
  fprintf(report, " out of bounds for type %s", data->type->name);
  zemuc_ub_stop(report, &data->place);
}
void __ubsan_handle_float_cast_overflow_abort(struct zemuc_check_data *data,
                                              zemuc_value from) {
  FILE *report = zemuc_runtime_error(&data->place);
  zemuc_print_value(report, data->type, from);
  fprintf(report, " is outside the range of representable values of type %s",
          data->second->name);
  zemuc_ub_stop(report, &data->place);
}
#endif
/* A text put into a variable too small for it is measured before it is
   written: a word typed, wherever this file is built, since some
   sanitizer run-times (gcc 11's) lose the trace in the C library's scanf,
   and with it the learner's line; a text copied or added, where no
   AddressSanitizer stops it (with it, gcc would no longer warn of a copy
   that cannot fit). */
/* The size of the variable `target` names or points at, (size_t)-1 where
   it cannot be known. Without __builtin_object_size (tcc) it is the size
   of the array named, or of the one a pointer to an array points at; the
   size of a pointer itself tells nothing. */
#if defined(__GNUC__)
#define zemuc_size(target) __builtin_object_size(target, 1)
#else
static size_t zemuc_known(size_t size) {
  return size == sizeof(char *) ? (size_t)-1 : size;
}
#define zemuc_size(target) \
  zemuc_known(sizeof((target)[0]) == 1 ? sizeof(target) : sizeof((target)[0]))
#endif
/* A text of `length` bytes and its end put into the variable `name` of
   `size` bytes by `function` on file:line, told as AddressSanitizer tells
   a write past a variable of main. The place names no column: zemuc
   takes the line's statement. */
static void zemuc_too_long(const char *file, int line, const char *function,
                           const char *name, const char *target, size_t size,
                           size_t length) {
  FILE *report = zemuc_report();
  while (*name == '&' || *name == ' ') ++name;
  fprintf(report,
          "==1==ERROR: AddressSanitizer: stack-buffer-overflow on address "
          "%p at pc 0x0 bp 0x0 sp 0x0\n"
          "WRITE of size %zu at %p thread T0\n"
          "    #0 0x0 in %s\n"
          "    #1 0x0 in main %s:%d\n\n"
          "  This frame has 1 object(s):\n"
          "    [32, %zu) '%s' <== Memory access at offset %zu overflows "
          "this variable\n"
          "SUMMARY: AddressSanitizer: stack-buffer-overflow %s:%d in main\n",
          (const void *)(target + size), length + 1, (const void *)target,
          function, file, line, 32 + size, name, 32 + size, file, line);
  zemuc_stop(report);
}
/* A word typed into a text: read whole, then measured against the
   variable. Other reads go through the check of numbers. */
static int zemuc_scanf_sized(const char *file, int line, size_t size,
                             const char *name, const char *format, ...)
    __attribute__((format(scanf, 5, 6)));
static int zemuc_scanf_sized(const char *file, int line, size_t size,
                             const char *name, const char *format, ...) {
  va_list ap;
  int n;
  fflush(stdout);
  va_start(ap, format);
  if (strcmp(format, "%s") == 0 && size != (size_t)-1) {
    char *target = va_arg(ap, char *);
    char *word = NULL;
    n = scanf("%ms", &word);
    if (n == 1) {
      size_t length = strlen(word);
      if (length >= size) {
        zemuc_too_long(file, line, "scanf", name, target, size, length);
      }
      memcpy(target, word, length + 1);
    } else if (n == EOF && size > 0) {
      target[0] = '\0';
    }
    free(word);
  } else {
    n = zemuc_vscanf(file, line, format, ap);
  }
  va_end(ap);
  return n;
}
/* A scanf given its format alone measures a null pointer: nothing. */
#define zemuc_second(first, second, ...) second
#define zemuc_second_name(first, second, ...) #second
#define scanf(...)                                                     \
  zemuc_scanf_sized(__FILE__, __LINE__,                                \
                    zemuc_size(zemuc_second(__VA_ARGS__, (char *)0, 0)), \
                    zemuc_second_name(__VA_ARGS__, 0, 0), __VA_ARGS__)
#if !defined(ZEMUC_SANITIZED)
/* A text about to be copied (strcpy) or added (strcat, after `start`
   bytes) into a variable of `size` bytes: stopped before it writes past
   the variable. The library's own function then copies, in the program's
   text, so that the compiler still warns of a copy that cannot fit. */
static void zemuc_fits(const char *file, int line, const char *function,
                       size_t size, const char *name, const char *target,
                       size_t start, const char *text) {
  size_t length = start + strlen(text);
  if (size != (size_t)-1 && length >= size) {
    zemuc_too_long(file, line, function, name, target, size, length);
  }
}
#define strcpy(target, text)                                           \
  (zemuc_fits(__FILE__, __LINE__, "strcpy", zemuc_size(target), #target, \
              target, 0, text),                                        \
   strcpy(target, text))
#define strcat(target, text)                                           \
  (zemuc_fits(__FILE__, __LINE__, "strcat", zemuc_size(target), #target, \
              target, strlen(target), text),                           \
   strcat(target, text))
#endif
#define atoi(text) zemuc_atoi(__FILE__, __LINE__, text)
#define fprintf(...) zemuc_fprintf(__FILE__, __LINE__, __VA_ARGS__)
#define fclose(stream) zemuc_fclose(__FILE__, __LINE__, stream)
#define fgets(s, size, stream) zemuc_fgets(__FILE__, __LINE__, s, size, stream)
#define fopen(path, mode) zemuc_fopen(__FILE__, __LINE__, path, mode)

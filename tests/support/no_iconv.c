/* Preloaded into zemuc by a test: a C library whose iconv has no
   conversions at all, as in a system without its gconv modules. */
#include <errno.h>
#include <iconv.h>

iconv_t iconv_open(const char *to, const char *from) {
  (void)to;
  (void)from;
  errno = EINVAL;
  return (iconv_t)-1;
}

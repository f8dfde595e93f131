/* The checked frame with a program that uses each of its macros, as a
   copy of prog.c does, so that every function of the frame is compiled
   as it is called. */
#include "checks.c"

int main(void) {
  char line[256];
  int n = 0;
  FILE *out = fopen("out.txt", "w");
  FILE *in;
  scanf("%d", &n);
  scanf("%255s", line);
  n += atoi("12");
  fprintf(out, "%d %s\n", n, line);
  fclose(out);
  in = fopen("out.txt", "r");
  if (fgets(line, 256, in) != NULL) delkai(line);
  fclose(in);
  strcpy(line, "x");
  strcat(line, "y");
  /* Each check of the undefined-behaviour sanitizer that the browser's
     build makes, whose handlers the frame defines for WebAssembly. */
  n = n * 2 + n / (n + 1) - (n << (n & 7)) + (int)(n * 0.5);
  n = -n + line[n & 7];
  return n;
}

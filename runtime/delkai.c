/*
 * delkai.c - run-time support for programs written by zemucfilter.
 *
 * A generated program reads a file line by line with fgets() and calls
 * delkai() on the line before copying it into a string variable, so that
 * the variable holds the text without its line end. The generated code
 * calls it without a declaration, which C89 takes as `int delkai()`; the
 * definition therefore returns int for that call to be well-defined.
 *
 * Build it beside the generated program:
 *   gcc -std=gnu89 -finput-charset=CP932 -fexec-charset=CP932 prog.c delkai.c
 *
 * Written in C89 on purpose: it is compiled with the generated program and
 * its flags.
 */
#include <string.h>

/*
 * Removes, in place, the line feed that ends `line` and a carriage return
 * right before it, so that lines of a file with CR LF line ends read like
 * lines with LF line ends. A line without a final line feed (the last line
 * of a file that lacks one, or a piece of a line longer than the read
 * limit) is left as it is; a lone carriage return is kept, since it is not
 * a line end on its own. Neither byte can be the second byte of a
 * Shift-JIS character, so no character is ever cut. Returns the length of
 * the line left; a null pointer is left alone and gives 0.
 */
int delkai(char *line)
{
    size_t length;

    if (line == NULL) {
        return 0;
    }
    length = strlen(line);
    if (length > 0 && line[length - 1] == '\n') {
        line[--length] = '\0';
        if (length > 0 && line[length - 1] == '\r') {
            line[--length] = '\0';
        }
    }
    return (int)length;
}

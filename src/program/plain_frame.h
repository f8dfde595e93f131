// The C that a program built without checks holds around its own: the
// declaration of the run-time file's function and, on x86_64 Linux, a
// watch for the signals of a fault. Run by zemuc (kFaultVariable set in
// its environment), the program notes where a fault stopped it, for zemuc
// to name the line; run by anyone else it does nothing new.
#ifndef ZEMUC_PROGRAM_PLAIN_FRAME_H_
#define ZEMUC_PROGRAM_PLAIN_FRAME_H_

#include <string_view>

namespace zemuc {

// Set in its environment, the file where a program built without checks
// notes, on SIGFPE, SIGSEGV, SIGBUS or SIGILL that the system sent it,
// the address of the instruction that faulted and the address the program
// was loaded at, both in hexadecimal ("0x4005d3 0x400000\n"). The program
// then ends by the same signal, as it would have without the note.
inline constexpr std::string_view kFaultVariable = "ZEMUC_FAULT_REPORT";

// What comes ahead of the translation's C text, each line ended by a line
// end.
std::string_view plain_frame();

// What comes after it: with a compiler that runs no constructor (tcc),
// the main that starts the watch and then the program's own main, which
// the frame renamed; nothing for the others.
std::string_view plain_trailer();

}  // namespace zemuc

#endif  // ZEMUC_PROGRAM_PLAIN_FRAME_H_

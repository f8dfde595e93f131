// The C that a checked program holds ahead of the translation's C text:
// runtime/checks.c without its opening comment, made part of zemuc when it
// is built (cmake/embed_frame.cmake), so that the C is kept, compiled and
// tested as C in one place.
#ifndef ZEMUC_PROGRAM_CHECKED_FRAME_H_
#define ZEMUC_PROGRAM_CHECKED_FRAME_H_

#include <string_view>

namespace zemuc {

// The frame's text, each line ended by a line end.
std::string_view checked_frame();

}  // namespace zemuc

#endif  // ZEMUC_PROGRAM_CHECKED_FRAME_H_

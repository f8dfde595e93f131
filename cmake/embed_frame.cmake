# Writes OUTPUT, a C++ file whose checked_frame() gives the text of INPUT
# (runtime/checks.c) after its opening comment and the blank line below
# it, byte for byte. Run at build time as
#   cmake -DINPUT=runtime/checks.c -DOUTPUT=checked_frame.cc -P embed_frame.cmake
cmake_minimum_required(VERSION 3.25)

file(READ "${INPUT}" text)
string(FIND "${text}" "*/\n\n" comment_end)
if(comment_end EQUAL -1)
  message(FATAL_ERROR "${INPUT}: no opening comment followed by a blank line")
endif()
math(EXPR frame_start "${comment_end} + 4")
string(SUBSTRING "${text}" ${frame_start} -1 frame)

set(delimiter "zemuc_frame")
string(FIND "${frame}" ")${delimiter}\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${INPUT} holds the raw string's end, )${delimiter}\"")
endif()

set(content "// Made from runtime/checks.c by cmake/embed_frame.cmake: edit that file.
#include \"program/checked_frame.h\"

namespace zemuc {

std::string_view checked_frame() {
  return R\"${delimiter}(${frame})${delimiter}\";
}

}  // namespace zemuc
")
# An unchanged file keeps its time, so that nothing rebuilds for nothing.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL content)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${content}")

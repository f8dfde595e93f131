#!/usr/bin/env bash
# Every source file lives in a folder of src/ named for its job, and each
# folder includes only from itself and the folders this list allows it, so
# that any unit builds and tests with what it stands on and nothing more.
# A file directly in src/, or in a folder missing from the list, fails too.
# Usage: layering_test.sh SRC_DIR
set -uo pipefail
src=$1

declare -A allowed=(
  # Text for people and the operating system stand on nothing.
  [text]=""
  [sys]=""
  # The translator, lowest phase first.
  [io]=""
  [lexer]=""
  [symbols]="io lexer"
  [codegen]="io lexer symbols"
  [driver]="io lexer symbols codegen"
  [cli]="io lexer driver"
  # The playground's program: the translator, and the companion's, the exercises' and the
  # language server's steps that take text and give text, answered in JSON.
  [web]="io lexer symbols driver check program explain lsp front text exercise"
  # The check reads a source as the translator does, without translating.
  [check]="io lexer symbols text"
  # The language server's features read a source as the check and the
  # translator do, and what the compiler says of it as zemuc run does.
  [lsp]="io lexer symbols driver check program explain text"
  # The server around them speaks the protocol and runs the compiler.
  [server]="io lexer symbols driver check program explain toolchain sys text lsp"
  # The companion's steps without processes: a source read, translated,
  # a fault told, and the messages to the user.
  [front]="io lexer driver program explain text"
  # An exercise's settings, outputs compared, results told: text only.
  [exercise]="lexer text"
  # The translated program and the compiler's copy of its C text.
  [program]="io lexer driver check text"
  # What the compiler and the sanitizers say, told in the learner's terms.
  [explain]="io lexer symbols driver check program text"
  # Finding the compiler and building the program with it.
  [toolchain]="io lexer driver check program explain sys text"
  # The playground's site over HTTP, told to the teacher as zemuc tells.
  [serve]="sys text front"
  # The learner's command: the translation, the check, the build, the
  # explaining, the server, the site's server, exercises and the system.
  [zemuc]="io lexer driver symbols check program explain toolchain lsp server front sys text serve exercise"
)

may_include() {  # FOLDER OTHER
  [[ $1 == "$2" ]] && return 0
  local other
  for other in ${allowed[$1]}; do
    [[ $other == "$2" ]] && return 0
  done
  return 1
}

status=0

# The allow-list must equal what the libraries link: a folder may include
# a folder of its own library or of a library that its library links,
# directly or through others (src/CMakeLists.txt). An include the list
# allows but the link does not would build and then fail to link.
declare -A library_of links
# Each CMake command on one line: NAME(ARGS).
commands=$(sed 's/#.*//' "$src/CMakeLists.txt" | tr '\n' ' ' | tr ')' '\n')
while read -r command library args; do
  case $command in
    add_library\()
      for word in $args; do
        [[ $word == */*.cc ]] && library_of[${word%%/*}]=$library
      done
      ;;
    target_link_libraries\()
      links[$library]+=" $args"
      ;;
  esac
done < <(sed -n 's/^ *\(add_library\|target_link_libraries\)(/\1( /p' <<<"$commands")

links_to() {  # LIBRARY OTHER: whether LIBRARY links OTHER, perhaps through others
  [[ $1 == "$2" ]] && return 0
  local next
  for next in ${links[$1]:-}; do
    [[ $next == zemuc_* ]] && links_to "$next" "$2" && return 0
  done
  return 1
}

for folder in "${!allowed[@]}"; do
  for other in ${allowed[$folder]}; do
    if [[ -z ${library_of[$folder]:-} || -z ${library_of[$other]:-} ]]; then
      echo "FAIL: src/$folder/ or src/$other/ is in no library of src/CMakeLists.txt"
      status=1
    elif ! links_to "${library_of[$folder]}" "${library_of[$other]}"; then
      echo "FAIL: $folder/ may include $other/, but ${library_of[$folder]} does not link ${library_of[$other]}"
      status=1
    fi
  done
done

while IFS= read -r file; do
  relative=${file#"$src"/}
  if [[ $relative != */* ]]; then
    echo "FAIL: $file stands directly in src/; give it the folder of its job"
    status=1
    continue
  fi
  folder=${relative%%/*}
  if [[ ! -v allowed[$folder] ]]; then
    echo "FAIL: $file is in src/$folder/, which has no place in the list"
    status=1
    continue
  fi
  while IFS= read -r included; do
    if [[ $included != */* ]]; then
      echo "FAIL: $file includes \"$included\", which names no folder"
      status=1
    elif ! may_include "$folder" "${included%%/*}"; then
      echo "FAIL: $file includes $included; $folder/ may include only: ${allowed[$folder]:-nothing}"
      status=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$src" -name '*.h' -o -name '*.cc')
((status == 0)) && echo "ok: every folder includes only what it may"
exit "$status"

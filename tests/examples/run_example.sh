#!/usr/bin/env bash
# Takes one example from source to running program, as a user would:
# translates it, builds the C with a real compiler and the run-time file,
# runs it in a folder holding only its input files, with the stored keyboard
# input, and compares what it shows and every file it writes with the stored
# results, byte for byte.
#
# Usage: run_example.sh TRANSLATOR COMPILER EXAMPLE_DIR RUNTIME_FILE
#   COMPILER is gcc or clang (or a versioned name such as gcc-12).
#   EXAMPLE_DIR/NAME.zem   the program, NAME being the folder's name
#   EXAMPLE_DIR/stdin      what is typed at the keyboard
#   EXAMPLE_DIR/expected/  stdout, and each file the program writes
#   any other file in EXAMPLE_DIR is an input file of the program.
# Exits 77, which CTest reports as skipped, when the compiler is missing.
set -uo pipefail
shopt -s nullglob
readonly skip_status=77

compiler=$2
# Checked before anything else needs the PATH.
if ! command -v "$compiler" >/dev/null 2>&1; then
  echo "SKIP: $compiler is not installed"
  exit "$skip_status"
fi

translator=$(realpath "$1")
example=$(realpath "$3")
runtime=$(realpath "$4")
name=$(basename "$example")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/build" "$work/run"

fail() {
  echo "FAIL ($name, $compiler): $*"
  exit 1
}

# A Shift-JIS file in UTF-8, carriage returns made visible.
readable() {
  iconv -f CP932 -t UTF-8 "$1" | sed 's/\r/<CR>/g'
}

# Shows how two Shift-JIS files differ, line by line in UTF-8, or byte by
# byte when they do not convert.
show_difference() {
  local want=$1 got=$2
  if diff <(readable "$want") <(readable "$got"); then
    cmp -l "$want" "$got" | head -20
  fi
}

# True when the C text holds a Shift-JIS character whose second byte is a
# backslash (ソ 表 能 十 申 ...). Lines start fresh: a line feed is never
# part of a character.
holds_backslash_trail() {
  LC_ALL=C grep -qP \
    '^(?:[\x00-\x7f\xa0-\xdf]|[\x81-\x9f\xe0-\xfc][\x40-\xfc])*[\x81-\x9f\xe0-\xfc]\x5c' "$1"
}

check_example_folder() {
  [[ -f $example/$name.zem ]] || fail "no $name.zem in $example"
  [[ -f $example/stdin ]] || fail "no stored keyboard input (stdin)"
  [[ -f $example/expected/stdout ]] || fail "no expected/stdout"
  # The generated program ends by waiting for a word.
  tail -n 1 "$example/stdin" | grep -q '[^[:space:]]' ||
    fail "stdin must end with a word for the closing key wait"
}

translate() {
  cp "$example/$name.zem" "$work/build/"
  (cd "$work/build" && printf '\n' | "$translator" "$name.zem" >console.txt)
  local status=$?
  if ((status != 0)) || [[ ! -f $work/build/$name.c ]]; then
    iconv -f CP932 -t UTF-8 "$work/build/console.txt"
    fail "translation ended with status $status"
  fi
}

# The documented build: the C file is Shift-JIS, so gcc must read and write
# its literals as code page 932. clang reads only UTF-8 and cannot.
compile() {
  local c_file=$work/build/$name.c flags
  case $(basename "$compiler") in
    gcc*) flags=(-std=gnu89 -finput-charset=CP932 -fexec-charset=CP932) ;;
    clang*)
      holds_backslash_trail "$c_file" &&
        fail "a literal holds a character ending in 0x5C; clang cannot build it"
      flags=(-std=gnu89) ;;
    *) fail "unknown compiler" ;;
  esac
  # Generated programs draw warnings (implicit int, implicit delkai); they
  # are shown only when the build fails.
  if ! "$compiler" "${flags[@]}" "$c_file" "$runtime" -o "$work/build/prog" \
      >"$work/build/compiler.txt" 2>&1; then
    cat "$work/build/compiler.txt"
    fail "the generated C does not build"
  fi
}

copy_input_files() {
  local file
  for file in "$example"/*; do
    [[ -f $file ]] || continue
    case $(basename "$file") in "$name.zem" | stdin) continue ;; esac
    cp "$file" "$work/run/"
  done
}

run_program() {
  (cd "$work/run" && timeout 20 "$work/build/prog" <"$example/stdin" \
      >"$work/stdout" 2>"$work/stderr")
  local status=$?
  ((status == 0)) || fail "the program ended with status $status"
  [[ -s $work/stderr ]] && { cat "$work/stderr"; fail "the program wrote to stderr"; }
  return 0
}

compare() {
  local want=$1 got=$2 what=$3
  [[ -f $got ]] || fail "$what was not written"
  if ! cmp -s "$want" "$got"; then
    show_difference "$want" "$got"
    fail "$what differs from $want"
  fi
}

compare_results() {
  compare "$example/expected/stdout" "$work/stdout" "standard output"
  local file base
  for file in "$example/expected"/*; do
    base=$(basename "$file")
    [[ $base == stdout ]] && continue
    compare "$file" "$work/run/$base" "$base"
  done
  # Input files the program does not rewrite stay as they were, and it
  # writes no file that is not expected.
  for file in "$work/run"/*; do
    base=$(basename "$file")
    [[ -f $example/expected/$base ]] && continue
    [[ -f $example/$base ]] || fail "unexpected file $base written"
    cmp -s "$example/$base" "$file" || fail "input file $base was changed"
  done
}

check_example_folder
translate
compile
copy_input_files
run_program
compare_results
echo "ok: $name built with $compiler gives the stored results"

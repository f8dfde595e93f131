#!/usr/bin/env bash
# Writes OUTPUT, a C++ file with code page 932 as this machine's iconv
# converts it (glibc's CP932), for the builds whose C library has no such
# converter (wasi-libc): each single byte and double-byte code with its
# character, and each character with the code it is written as, which is
# not always the way back (U+00A5 is written 0x5C, which reads as U+005C).
# Run at build time as  cp932_table.sh OUTPUT  with iconv(1) on PATH.
set -euo pipefail
output=$1
command -v iconv >/dev/null || { echo "cp932_table.sh: iconv is missing" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C

# One code a line: every single byte but the line feed, then every lead
# byte with every byte that can follow it.
awk 'BEGIN {
  for (b = 0; b < 256; b++) if (b != 10) printf "%c\n", b
  for (l = 129; l <= 252; l++) {
    if (l > 159 && l < 224) continue
    for (t = 64; t <= 252; t++) printf "%c%c\n", l, t
  }
}' >"$work/codes"
# One character a line, U+0000 to U+FFFF without the line feed and the
# surrogates, in UTF-8.
awk 'BEGIN {
  for (c = 0; c < 65536; c++) {
    if (c == 10 || (c >= 55296 && c < 57344)) continue
    if (c < 128) printf "%c\n", c
    else if (c < 2048) printf "%c%c\n", 192 + int(c / 64), 128 + c % 64
    else printf "%c%c%c\n", 224 + int(c / 4096), 128 + int(c / 64) % 64, 128 + c % 64
  }
}' >"$work/characters"

# iconv -c drops what does not convert and keeps the line feeds, so that
# line n of its output is code n's; the bytes of each line as one number.
convert() {  # FROM TO INPUT OUTPUT
  iconv -c -f "$1" -t "$2" <"$3" | od -An -v -tu1 |
    awk '{ for (i = 1; i <= NF; i++) if ($i == 10) { print v; v = "" } else v = v " " $i }' >"$4"
  [[ $(wc -l <"$4") == $(wc -l <"$3") ]] ||
    { echo "cp932_table.sh: iconv $1 to $2 lost lines" >&2; exit 1; }
}
convert CP932 UTF-8 "$work/codes" "$work/from"
convert UTF-8 CP932 "$work/characters" "$work/to"

awk -v from="$work/from" -v to="$work/to" '
function cp(s,   n, b, c) {  # the code point of one UTF-8 character, or -1
  n = split(s, b, " ")
  if (n == 1 && b[1] < 128) return b[1]
  if (n == 2 && b[1] >= 192 && b[1] < 224) return (b[1] - 192) * 64 + b[2] - 128
  if (n == 3 && b[1] >= 224 && b[1] < 240)
    return ((b[1] - 224) * 64 + b[2] - 128) * 64 + b[3] - 128
  return -1
}
BEGIN {
  print "// Made by cmake/cp932_table.sh from this machine'"'"'s iconv: do not edit."
  print "#include \"text/cp932_table.h\""
  print ""
  print "namespace zemuc::cp932 {"
  print ""
  # The singles: bytes 0 to 255 but 10, which is the line feed.
  for (x = 0; x < 256; x++) {
    if (x == 10) { single[x] = 10; continue }
    getline line <from
    single[x] = line == "" ? 65535 : cp(line)
  }
  printf "const char16_t kSingles[256] = {"
  for (x = 0; x < 256; x++) printf "%s%d", (x % 12 ? ", " : x ? ",\n    " : "\n    "), single[x]
  print "};"
  print ""
  # The doubles of each lead byte, trails 0x40 to 0xFC. iconv -c drops a
  # lead byte that a trail cannot follow and reads the trail alone: a line
  # that reads as the trail byte alone is no double-byte code.
  printf "const char16_t kDoubles[kLeads][kTrails] = {"
  for (l = 129; l <= 252; l++) {
    if (l > 159 && l < 224) continue
    printf "\n    {"
    for (t = 64; t <= 252; t++) {
      getline line <from
      c = line == "" ? 65535 : cp(line)
      if (c == single[t] || c < 128) c = 65535
      printf "%s%d", (t == 64 ? "" : (t - 64) % 12 ? ", " : ",\n     "), c
    }
    printf "},"
  }
  print "};"
  print ""
  # Every character beyond ASCII that has a form, by code point.
  n = 0
  for (c = 0; c < 65536; c++) {
    if (c == 10 || (c >= 55296 && c < 57344)) continue
    getline line <to
    if (c < 128 || line == "") continue
    k = split(line, parts, " ")
    code[n] = c; form[n] = k == 1 ? parts[1] : parts[1] * 256 + parts[2]; n++
  }
  print "const Written kWritten[] = {"
  for (i = 0; i < n; i++) printf "%s{%d, %d},", (i % 6 ? " " : (i ? "\n    " : "    ")), code[i], form[i]
  print "};"
  printf "const std::size_t kWrittenCount = %d;\n", n
  print ""
  print "}  // namespace zemuc::cp932"
}' >"$output.new"
mv "$output.new" "$output"

// Reading what gcc, clang and the linkers say, as they say it.
#include "explain/compiler_output.h"

#include <gtest/gtest.h>

namespace zemuc::explain {
namespace {

TEST(CompilerMessages, EachToolsFormIsRead) {
  const struct {
    const char* what;
    const char* output;
    Severity severity;
    const char* file;
    std::size_t line, column;
    const char* text;
    const char* undefined;
  } cases[] = {
      {"gcc error", "p.zem:4:11: error: expected ';' before 'printf'\n",
       Severity::kError, "p.zem", 4, 11, "expected ';' before 'printf'", ""},
      {"gcc fatal", "p.zem:1:10: fatal error: x.h: No such file or directory",
       Severity::kError, "p.zem", 1, 10, "x.h: No such file or directory", ""},
      {"gcc names in the C locale",
       "p.zem:7:2: error: '\\U00005024x' undeclared (first use in this "
       "function)\n",
       Severity::kError, "p.zem", 7, 2,
       "'値x' undeclared (first use in this function)", ""},
      {"clang warning",
       "p.zem:9:31: warning: variable 'nn4' is uninitialized when used here "
       "[-Wuninitialized]\r\n",
       Severity::kWarning, "p.zem", 9, 31,
       "variable 'nn4' is uninitialized when used here [-Wuninitialized]", ""},
      {"no column", "<translator>:3: note: declared here", Severity::kNote,
       "<translator>", 3, 0, "declared here", ""},
      {"a file name with colons", "a:b.zem:2:5: error: x", Severity::kError,
       "a:b.zem", 2, 5, "x", ""},
      {"ld with a line from debug information",
       "/tmp/x/sub/p.zem:5: undefined reference to `見ル'", Severity::kError,
       "/tmp/x/sub/p.zem", 5, 0, "undefined reference to `見ル'", "見ル"},
      {"ld after its own name",
       "/usr/bin/ld: /tmp/x/p.zem:6: undefined reference to `hyouji'",
       Severity::kError, "/tmp/x/p.zem", 6, 0,
       "undefined reference to `hyouji'", "hyouji"},
      {"ld without debug information",
       "/usr/bin/ld: /tmp/cc.o:(.text+0x1b): undefined reference to `f'",
       Severity::kError, "/tmp/cc.o", 0, 0, "undefined reference to `f'", "f"},
      {"lld with its place on the next line",
       "ld.lld: error: undefined symbol: hyouji\n"
       ">>> referenced by p.zem:6\n"
       ">>>               /tmp/p-1.o:(main)\n",
       Severity::kError, "p.zem", 6, 0, "undefined symbol: hyouji", "hyouji"},
      {"wasm-ld naming the object and no place",
       "wasm-ld-19: error: /tmp/zemuc-copy-8f67de.o: undefined symbol: miru",
       Severity::kError, "", 0, 0,
       "/tmp/zemuc-copy-8f67de.o: undefined symbol: miru", "miru"},
      {"wasm-ld's other words keep no name",
       "wasm-ld: error: cannot open crt1.o: no such file", Severity::kError, "",
       0, 0, "cannot open crt1.o: no such file", ""},
      {"a missing library", "/usr/bin/ld: cannot find -lasan: No such file",
       Severity::kError, "", 0, 0, "cannot find -lasan: No such file", ""},
      {"a driver that names itself",
       "gcc: error: unrecognized command-line option '-fno-caret-diagnostics'",
       Severity::kError, "", 0, 0,
       "unrecognized command-line option '-fno-caret-diagnostics'", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<CompilerMessage> messages =
        parse_compiler_output(c.output);
    ASSERT_EQ(messages.size(), 1u);
    const CompilerMessage& m = messages[0];
    EXPECT_EQ(m.severity, c.severity);
    EXPECT_EQ(m.file, c.file);
    EXPECT_EQ(m.line, c.line);
    EXPECT_EQ(m.column, c.column);
    EXPECT_EQ(m.text, c.text);
    EXPECT_EQ(m.undefined, c.undefined);
  }
}

// What only shows or sums up the messages is no message of its own.
TEST(CompilerMessages, WhatOnlyShowsThemIsLeftOut) {
  const char* output =
      "p.zem: In function 'main':\n"
      "<translator>: At top level:\n"
      "At top level:\n"  // gcc 11's, with no file
      "In file included from <translator>:2:\n"
      "                 from <translator>:3:\n"
      "   14 |   nn2=nn1*2\n"
      "      |            ^\n"
      "        nn2=nn1*2\n"
      "/usr/bin/ld: /tmp/ccMwmuDZ.o: in function `main':\n"
      "collect2: error: ld returned 1 exit status\n"
      "clang: error: linker command failed with exit code 1 (use -v to see "
      "invocation)\n"
      "cc1: some warnings being treated as errors\n"
      "2 warnings and 1 error generated.\n"
      "\n"
      "p.zem:4:11: error: expected ';' before 'printf'\n"
      "something no tool says\n";
  const std::vector<CompilerMessage> messages = parse_compiler_output(output);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].line, 4u);
  // Nothing is lost: an unknown line is an error without a place.
  EXPECT_EQ(messages[1].text, "something no tool says");
  EXPECT_EQ(messages[1].file, "");
}

// A note says more of the message before it that is no note (clang's
// analyser names the variable of its finding only in one), and is still a
// message of its own.
TEST(CompilerMessages, NotesSayMoreOfTheMessageBefore) {
  const struct {
    const char* what;
    const char* output;
    std::vector<std::vector<std::string>> notes;  // of each message
  } cases[] = {
      {"the analyser's, in a file of their own and on its path; each "
       "message its own",
       "p.zem:4:10: warning: The left operand of '+' is a garbage value "
       "[core.UndefinedBinaryOperatorResult]\n"
       "<translator>:403:39: note: 'nn2' declared without an initial value\n"
       "p.zem:3:2: note: Loop condition is true.  Entering loop body\n"
       "p.zem:5:2: error: a\n"
       "p.zem:5:2: note: of a\n",
       {{"'nn2' declared without an initial value",
         "Loop condition is true.  Entering loop body"},
        {},
        {},
        {"of a"},
        {}}},
      {"a note before any message, and one after what is left out",
       "<translator>:3: note: alone\n"
       "p.zem:2:2: error: a\n"
       "p.zem: In function 'main':\n"
       "p.zem:2:2: note: still of a\n",
       {{}, {"still of a"}, {}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<CompilerMessage> messages =
        parse_compiler_output(c.output);
    ASSERT_EQ(messages.size(), c.notes.size());
    for (std::size_t i = 0; i < messages.size(); ++i) {
      EXPECT_EQ(messages[i].notes, c.notes[i]) << i;
    }
  }
}

TEST(CompilerMessages, CharacterNamesBecomeUtf8) {
  EXPECT_EQ(decode_character_names("'\\u5024' and '\\U0001F600'"),
            "'値' and '😀'");
  // Not a name: too short, not hex, a surrogate, past Unicode.
  for (const char* kept : {"\\u12", "\\u12G4", "\\uD800", "\\U00110000",
                           "stray '\\343' in program", "\\"}) {
    EXPECT_EQ(decode_character_names(kept), kept);
  }
}

}  // namespace
}  // namespace zemuc::explain
